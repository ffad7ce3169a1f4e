// The lock each copy of the game takes on the high-score file before it reads
// the table to merge its new entries into, and keeps until its new file has
// been renamed into place: an advisory flock on the file itself, so copies
// that share a file take turns and none writes over another's entries.
#pragma once

#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "scores/file_descriptor.h"
#include "scores/high_score_file.h"

namespace stonerush {

// How long a save waits for another copy to finish its own.
constexpr std::chrono::milliseconds longestLockWait{2000};

class TableLock {
public:
    // Opens `target` (a path that names no link) without blocking and takes
    // the lock, trying again every 20 ms for at most longestLockWait. Once it
    // is held, the path must still name the locked file, or another copy has
    // renamed a new one into place meanwhile and that one is locked instead.
    // A missing file is first created holding `initial`.
    FileStatus acquire(const std::filesystem::path& target, const std::string& initial);

    // The locked file and its status.
    int descriptor() const { return m_fd.get(); }
    const struct stat& status() const { return m_status; }

private:
    enum class Attempt { Held, TryAgain, Failed };
    Attempt tryOnce(const std::filesystem::path& target, const std::string& initial, FileStatus& failure);

    FileDescriptor m_fd;
    struct stat m_status {};
};

}  // namespace stonerush
