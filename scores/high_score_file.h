// The file "rushhs.dat": ten records of 29 bytes, no header. A record is the
// 25 name bytes (Windows-1252, space-padded) then the score as a signed 32-bit
// little-endian integer. The file is opened, read or written and closed within
// each operation; any bytes after the tenth record survive a save.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "scores/high_score_table.h"

inline constexpr const char* HighScoreFileName = "rushhs.dat";
constexpr int HighScoreRecordLength = PlayerNameLength + 4;

// The outcome of a file operation; `reason` says what went wrong, in words,
// and `error` is the system's error number behind it (0 when there is none).
struct FileStatus {
    bool ok = true;
    std::string reason;
    int error = 0;
};

// Sets every entry to the default and writes all ten records.
FileStatus CreateDefaultHighScores(HighScoreTable& table, const std::filesystem::path& file);

// Reads record n into entry n. A record that is missing or cut short (a file
// under 290 bytes) gives the default entry. Any bytes are accepted as a name
// and any value as a score; the table is not sorted. When the file cannot be
// opened or read the table is left as it was.
FileStatus LoadHighScores(HighScoreTable& table, const std::filesystem::path& file);

// Writes the ten records whole or not at all: the records and any bytes the
// old file had after them go to a new file in the same folder, which is
// flushed to the disk and then renamed over the old one. A symbolic link is
// followed and its target replaced. Only when the folder takes no new file,
// or the old file's extra bytes cannot be read, are the records written into
// the old file in place. A file we may not write is not replaced. A failed
// save leaves the old file as it was.
FileStatus SaveHighScores(const HighScoreTable& table, const std::filesystem::path& file);

// Whether the file could be written: opened for writing when it exists, or
// created (then removed again) when it does not. The reason says why not.
FileStatus ProbeWritable(const std::filesystem::path& file);
inline bool CanWriteFile(const std::filesystem::path& file) {
    return ProbeWritable(file).ok;
}

// Where the high-score file lives for this run. The program's directory comes
// first; when it cannot be written there (an installed copy), the per-user data
// directory is used, created if need be. When neither can be written, `file`
// is the one in the program's directory and `writable` is false.
struct HighScoreFileChoice {
    std::filesystem::path file;
    bool writable = true;
};
HighScoreFileChoice ChooseHighScoreFile(
    const std::filesystem::path& programDirectory, const std::filesystem::path& userDataDirectory,
    const std::function<bool(const std::filesystem::path&)>& canWrite = CanWriteFile);
