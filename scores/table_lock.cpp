#include "scores/table_lock.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <thread>

#include "scores/temporary_file.h"

namespace stonerush {
namespace {

constexpr std::chrono::milliseconds retryInterval{20};

// Whether the path names the open file still.
bool stillNames(const std::filesystem::path& target, const struct stat& open) {
    struct stat named {};
    return ::stat(target.c_str(), &named) == 0 && named.st_dev == open.st_dev && named.st_ino == open.st_ino;
}

}  // namespace

TableLock::Attempt TableLock::tryOnce(const std::filesystem::path& target, const std::string& initial,
                                      FileStatus& failure) {
    int fd = -1;
    failure = openOrdinaryFile(target, O_RDONLY, fd, m_status);
    m_fd.reset(fd);
    if (!failure.ok && failure.error == ENOENT) {
        failure = createFileHolding(target, initial);
        return failure.ok || failure.error == EEXIST ? Attempt::TryAgain : Attempt::Failed;
    }
    if (!failure.ok) return Attempt::Failed;
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR) continue;
        // A file system without flock saves as it always did: the lock is only advisory.
        if (errno != EWOULDBLOCK) break;
        return Attempt::TryAgain;
    }
    return stillNames(target, m_status) ? Attempt::Held : Attempt::TryAgain;
}

FileStatus TableLock::acquire(const std::filesystem::path& target, const std::string& initial) {
    const auto deadline = std::chrono::steady_clock::now() + longestLockWait;
    for (;;) {
        FileStatus failure;
        const Attempt attempt = tryOnce(target, initial, failure);
        if (attempt == Attempt::Held) return {};
        if (attempt == Attempt::Failed) return failure;
        m_fd.reset();
        if (std::chrono::steady_clock::now() >= deadline)
            return {false, "another copy of the game kept the file locked for 2 seconds", EWOULDBLOCK};
        std::this_thread::sleep_for(retryInterval);
    }
}

}  // namespace stonerush
