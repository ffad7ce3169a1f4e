// New files beside the high-score file. Where the file system allows it a new
// file has no name until it is complete (O_TMPFILE), so a kill leaves nothing
// behind; elsewhere it is named "<file>.<pid>-<n>" from the start, and the
// next start of the game removes such files of processes that are gone.
#pragma once

#include <filesystem>
#include <string>

#include "scores/file_descriptor.h"
#include "scores/high_score_file.h"

namespace stonerush {

class TemporaryFile {
public:
    TemporaryFile() = default;
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile();  // a named file that was not put in place is removed

    // Makes a new, empty file in the folder of `target`, open for writing.
    FileStatus create(const std::filesystem::path& target);
    int descriptor() const { return m_fd.get(); }

    // Writes `bytes` and flushes them to the disk.
    FileStatus write(const std::string& bytes);

    // Renames the file over `target`. An unnamed file gets its name just
    // before, so only a kill between the two leaves a name behind.
    FileStatus replace(const std::filesystem::path& target);

    // Puts the file at `target` only when nothing is there: error EEXIST when
    // something is.
    FileStatus linkNew(const std::filesystem::path& target);

private:
    FileStatus giveName(const std::filesystem::path& target);

    FileDescriptor m_fd;
    std::string m_name;  // empty while the file has no name
};

// Makes `target` holding `bytes`, whole or not at all; error EEXIST when
// there is a file already.
FileStatus createFileHolding(const std::filesystem::path& target, const std::string& bytes);

// Whether a new file can be made beside `target`; none is left behind.
FileStatus probeNewFile(const std::filesystem::path& target);

// Removes the files "<target>.<pid>-<n>" beside `target` left by saves of
// processes that are gone; those of a running process are its own.
void removeLeftoverTemporaryFiles(const std::filesystem::path& target);

}  // namespace stonerush
