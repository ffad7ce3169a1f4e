#include "scores/high_score_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <system_error>

#include "scores/file_descriptor.h"
#include "scores/temporary_file.h"

namespace stonerush {
namespace {

using Record = std::array<char, highScoreRecordLength>;

Record encodeRecord(const HighScoreEntry& entry) {
    Record record{};
    const std::string name = leftJustifyName(entry.playerName);
    std::copy(name.begin(), name.end(), record.begin());
    const auto score = static_cast<uint32_t>(entry.playerScore);
    for (int b = 0; b < 4; ++b) record[playerNameLength + b] = static_cast<char>((score >> (8 * b)) & 0xFF);
    return record;
}

HighScoreEntry decodeRecord(const char* record) {
    uint32_t score = 0;
    for (int b = 0; b < 4; ++b)
        score |= static_cast<uint32_t>(static_cast<unsigned char>(record[playerNameLength + b])) << (8 * b);
    return HighScoreEntry{std::string(record, playerNameLength), static_cast<int32_t>(score)};
}

// What a path that is no ordinary file names, for the player.
std::string kindOf(mode_t mode) {
    if (S_ISDIR(mode)) return "it is a folder, not a file";
    if (S_ISFIFO(mode)) return "it is a named pipe (FIFO), not an ordinary file";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "it is a device, not an ordinary file";
    if (S_ISSOCK(mode)) return "it is a socket, not an ordinary file";
    return "it is not an ordinary file";
}

// Appends up to `limit` bytes of the file from `offset` on; a read error,
// unlike the end of the file, is a failure.
FileStatus readBytes(int fd, off_t offset, off_t limit, std::string& bytes) {
    std::array<char, 4096> block{};
    for (off_t done = 0; done < limit;) {
        const auto wanted = static_cast<std::size_t>(std::min<off_t>(block.size(), limit - done));
        const ssize_t got = ::pread(fd, block.data(), wanted, offset + done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return systemFailure("cannot read the file");
        if (got == 0) break;
        bytes.append(block.data(), static_cast<std::size_t>(got));
        done += got;
    }
    return {};
}

// The records over the start of the old file, which must still be the one
// that was locked; the rest of it is left alone (a sparse file stays sparse).
FileStatus writeInPlace(const std::string& records, const std::filesystem::path& target,
                        const struct stat& locked) {
    int fd = -1;
    struct stat status {};
    if (FileStatus opened = openOrdinaryFile(target, O_WRONLY, fd, status); !opened.ok) return opened;
    const FileDescriptor file(fd);
    if (status.st_dev != locked.st_dev || status.st_ino != locked.st_ino)
        return {false, "the file was replaced while it was being saved", EAGAIN};
    for (std::size_t done = 0; done < records.size();) {
        const ssize_t written =
            ::pwrite(fd, records.data() + done, records.size() - done, static_cast<off_t>(done));
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return systemFailure("cannot write the file");
        done += static_cast<std::size_t>(written);
    }
    if (::fsync(fd) != 0) return systemFailure("cannot flush the file to the disk");
    return {};
}

}  // namespace

FileStatus systemFailure(const char* doing) {
    const int error = errno;
    std::string reason = doing;
    if (error != 0) reason += std::string(": ") + std::strerror(error);
    return FileStatus{false, reason, error};
}

std::string encodeHighScores(const HighScoreTable& table) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(highScoreFileLength));
    for (int n = 1; n <= highScoreCount; ++n) {
        const Record record = encodeRecord(table.entry(n));
        bytes.append(record.data(), record.size());
    }
    return bytes;
}

FileStatus openOrdinaryFile(const std::filesystem::path& file, int flags, int& fd, struct stat& status) {
    errno = 0;
    fd = ::open(file.c_str(), flags | O_NONBLOCK | O_CLOEXEC);
    const bool forReading = (flags & O_ACCMODE) == O_RDONLY;
    if (fd < 0) {
        FileStatus failed = systemFailure(forReading ? "cannot open the file for reading"
                                                     : "cannot open the file for writing");
        // A socket, or a FIFO with no reader, refuses the open itself: say what it is.
        if (::stat(file.c_str(), &status) == 0 && !S_ISREG(status.st_mode))
            failed.reason = kindOf(status.st_mode);
        return failed;
    }
    FileStatus failed;
    if (::fstat(fd, &status) != 0)
        failed = systemFailure("cannot look at the file");
    else if (S_ISREG(status.st_mode))
        return {};
    else
        failed = FileStatus{false, kindOf(status.st_mode), EINVAL};
    ::close(fd);
    fd = -1;
    return failed;
}

FileStatus readHighScores(int fd, HighScoreTable& table) {
    std::string bytes;
    if (FileStatus read = readBytes(fd, 0, highScoreFileLength, bytes); !read.ok) return read;
    for (int n = 1; n <= highScoreCount; ++n) {
        const std::size_t start = std::size_t{highScoreRecordLength} * (n - 1);
        const bool whole = bytes.size() >= start + highScoreRecordLength;
        table.entry(n) = whole ? decodeRecord(bytes.data() + start) : HighScoreEntry{};
    }
    return {};
}

FileStatus loadHighScores(HighScoreTable& table, const std::filesystem::path& file) {
    int fd = -1;
    struct stat status {};
    if (FileStatus opened = openOrdinaryFile(file, O_RDONLY, fd, status); !opened.ok) return opened;
    const FileDescriptor open(fd);
    return readHighScores(fd, table);
}

FileStatus replaceHighScores(const std::string& records, int fd, const struct stat& status,
                             const std::filesystem::path& target) {
    if (status.st_size > highScoreFileLength + longestRewrittenTail)
        return writeInPlace(records, target, status);
    std::string bytes = records;  // then the bytes after the records, which a new file must keep
    if (!readBytes(fd, highScoreFileLength, longestRewrittenTail, bytes).ok)
        return writeInPlace(records, target, status);
    TemporaryFile file;
    if (!file.create(target).ok) return writeInPlace(records, target, status);  // the folder takes none
    // Only root may give the file to someone else; others own their files anyway.
    (void)!::fchown(file.descriptor(), status.st_uid, status.st_gid);
    ::fchmod(file.descriptor(), status.st_mode & 07777);
    if (FileStatus written = file.write(bytes); !written.ok) return written;
    return file.replace(target);
}

std::filesystem::path followLinks(std::filesystem::path file) {
    std::error_code error;
    for (int hops = 0; hops < 40 && std::filesystem::is_symlink(file, error); ++hops) {
        const std::filesystem::path target = std::filesystem::read_symlink(file, error);
        if (error) break;
        file = target.is_absolute() ? target : file.parent_path() / target;
    }
    return file;
}

HighScorePlace examineHighScorePlace(const std::filesystem::path& file) {
    HighScorePlace place;
    place.file = file;
    const std::filesystem::path target = followLinks(file);
    struct stat status {};
    errno = 0;
    place.exists = ::stat(target.c_str(), &status) == 0 || (errno != ENOENT && errno != ENOTDIR);
    if (!place.exists) {
        place.problem = probeNewFile(target);
        return place;
    }
    place.problem = loadHighScores(place.table, target);
    place.readable = place.problem.ok;
    errno = 0;
    if (place.readable && ::access(target.c_str(), W_OK) != 0)
        place.problem = systemFailure("cannot open the file for writing");
    return place;
}

}  // namespace stonerush
