// The file "rushhs.dat": ten records of 29 bytes, no header. A record is the
// 25 name bytes (Windows-1252, space-padded) then the score as a signed 32-bit
// little-endian integer. Only an ordinary file is ever read or written: it is
// opened without blocking and its kind checked before any read, and no read
// goes beyond the records and a bounded tail, so a FIFO, a device or a huge
// file can neither hang the game nor fill its memory. Any bytes after the
// tenth record survive a save.
#pragma once

#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "scores/high_score_table.h"

namespace stonerush {

inline constexpr const char* highScoreFileName = "rushhs.dat";
constexpr int highScoreRecordLength = playerNameLength + 4;
constexpr off_t highScoreFileLength = off_t{highScoreCount} * highScoreRecordLength;
// The most bytes after the records that a save reads and writes again; the
// records of a longer file are written in place, its tail never read.
constexpr off_t longestRewrittenTail = 64 * 1024;

// The outcome of a file operation; `reason` says what went wrong, in words,
// and `error` is the system's error number behind it (0 when there is none).
struct FileStatus {
    bool ok = true;
    std::string reason;
    int error = 0;
};

// A failure: what was being done, and the system's words for errno.
FileStatus systemFailure(const char* doing);

// The ten records as the file holds them.
std::string encodeHighScores(const HighScoreTable& table);

// Opens `file` with `flags` (O_RDONLY or O_WRONLY; O_NONBLOCK and O_CLOEXEC
// are added, so a FIFO or a device never blocks) and accepts only an ordinary
// file: anything else is closed again, and the reason names what it is.
FileStatus openOrdinaryFile(const std::filesystem::path& file, int flags, int& fd, struct stat& status);

// Reads record n of the open file into entry n. A record that is missing or
// cut short (a file under 290 bytes) gives the default entry. Any bytes are
// accepted as a name and any value as a score; the table is not sorted. On a
// failure the table is left as it was.
FileStatus readHighScores(int fd, HighScoreTable& table);
FileStatus loadHighScores(HighScoreTable& table, const std::filesystem::path& file);

// Puts `records` at the start of the file `target` (a path that names no
// link), open as `fd` with the status `status`. The records and the old
// file's bytes after them go to a new file with the old one's owner and
// permissions, flushed to the disk and renamed over the old one, so a kill
// never leaves half a table. The records alone are written into the old file
// in place when it is longer than the records and the longest rewritten
// tail, or when the folder takes no new file.
FileStatus replaceHighScores(const std::string& records, int fd, const struct stat& status,
                             const std::filesystem::path& target);

// The file a chain of symbolic links ends at; it need not exist yet.
std::filesystem::path followLinks(std::filesystem::path file);

// A place the high-score file could live this session, looked at without
// changing anything: an existing file must be an ordinary file that can be
// read and written, a missing one must be possible to create.
struct HighScorePlace {
    std::filesystem::path file;
    bool exists = false;
    bool readable = false;  // then `table` holds what the file holds
    HighScoreTable table;
    FileStatus problem;  // why the file cannot be used; ok when it can
};
HighScorePlace examineHighScorePlace(const std::filesystem::path& file);

}  // namespace stonerush
