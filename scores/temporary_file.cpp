#include "scores/temporary_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <optional>
#include <string_view>

namespace stonerush {
namespace {

constexpr int mostAttempts = 100;

std::string temporaryName(const std::filesystem::path& target, int n) {
    return target.string() + "." + std::to_string(::getpid()) + "-" + std::to_string(n);
}

std::filesystem::path folderOf(const std::filesystem::path& target) {
    return target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
}

// An unnamed file is linked by its /proc name, which any user may do.
std::string procName(int fd) {
    return "/proc/self/fd/" + std::to_string(fd);
}

// A rename or a new name reaches the disk with its folder.
void syncFolder(const std::filesystem::path& target) {
    const FileDescriptor folder(::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder) ::fsync(folder.get());
}

// The process that left "<pid>-<n>", when `suffix` is exactly that.
std::optional<pid_t> leftoverOwner(std::string_view suffix) {
    pid_t pid = 0;
    unsigned attempt = 0;
    const char* end = suffix.data() + suffix.size();
    const auto [dash, pidError] = std::from_chars(suffix.data(), end, pid);
    if (pidError != std::errc() || pid <= 0 || dash == end || *dash != '-') return std::nullopt;
    const auto [last, attemptError] = std::from_chars(dash + 1, end, attempt);
    if (attemptError != std::errc() || last != end) return std::nullopt;
    return pid;
}

}  // namespace

TemporaryFile::~TemporaryFile() {
    if (!m_name.empty()) ::unlink(m_name.c_str());
}

FileStatus TemporaryFile::create(const std::filesystem::path& target) {
    // Without /proc an unnamed file could not be given its name.
    if (::access("/proc/self/fd", X_OK) == 0) {
        m_fd.reset(::open(folderOf(target).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
        if (m_fd) return {};
    }
    for (int n = 0; n < mostAttempts; ++n) {
        std::string name = temporaryName(target, n);
        errno = 0;
        m_fd.reset(::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (m_fd) {
            m_name = std::move(name);
            return {};
        }
        if (errno != EEXIST) break;
    }
    return systemFailure("cannot make a new file in the folder");
}

FileStatus TemporaryFile::write(const std::string& bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t written = ::write(m_fd.get(), bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return systemFailure("cannot write the file");
        done += static_cast<std::size_t>(written);
    }
    if (::fsync(m_fd.get()) != 0) return systemFailure("cannot flush the file to the disk");
    return {};
}

FileStatus TemporaryFile::giveName(const std::filesystem::path& target) {
    for (int n = 0; m_name.empty() && n < mostAttempts; ++n) {
        std::string name = temporaryName(target, n);
        errno = 0;
        if (::linkat(AT_FDCWD, procName(m_fd.get()).c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
            m_name = std::move(name);
        else if (errno != EEXIST)
            break;
    }
    return m_name.empty() ? systemFailure("cannot name the new file") : FileStatus{};
}

FileStatus TemporaryFile::replace(const std::filesystem::path& target) {
    if (FileStatus named = giveName(target); !named.ok) return named;
    errno = 0;
    if (::rename(m_name.c_str(), target.c_str()) != 0) return systemFailure("cannot replace the file");
    m_name.clear();
    syncFolder(target);
    return {};
}

FileStatus TemporaryFile::linkNew(const std::filesystem::path& target) {
    errno = 0;
    const int linked = m_name.empty() ? ::linkat(AT_FDCWD, procName(m_fd.get()).c_str(), AT_FDCWD,
                                                 target.c_str(), AT_SYMLINK_FOLLOW)
                                      : ::link(m_name.c_str(), target.c_str());
    if (linked != 0) return systemFailure("cannot create the file");
    syncFolder(target);
    return {};
}

FileStatus createFileHolding(const std::filesystem::path& target, const std::string& bytes) {
    TemporaryFile file;
    FileStatus status = file.create(target);
    if (status.ok) status = file.write(bytes);
    if (status.ok) status = file.linkNew(target);
    return status;
}

FileStatus probeNewFile(const std::filesystem::path& target) {
    return TemporaryFile().create(target);
}

void removeLeftoverTemporaryFiles(const std::filesystem::path& target) {
    DIR* folder = ::opendir(folderOf(target).c_str());
    if (!folder) return;
    const std::string prefix = target.filename().string() + ".";
    while (const dirent* item = ::readdir(folder)) {
        const std::string_view name = item->d_name;
        if (!name.starts_with(prefix)) continue;
        const std::optional<pid_t> owner = leftoverOwner(name.substr(prefix.size()));
        if (owner && ::kill(*owner, 0) != 0 && errno == ESRCH) ::unlinkat(::dirfd(folder), item->d_name, 0);
    }
    ::closedir(folder);
}

}  // namespace stonerush
