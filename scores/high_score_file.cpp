#include "scores/high_score_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <system_error>

namespace {

using Record = std::array<char, HighScoreRecordLength>;
constexpr std::size_t kFileLength = HighScoreCount * HighScoreRecordLength;

std::size_t RecordOffset(int n) {
    return static_cast<std::size_t>(HighScoreRecordLength) * (n - 1);
}

Record EncodeRecord(const HighScoreEntry& entry) {
    Record record{};
    const std::string name = LeftJustifyName(entry.PlayerName);
    std::copy(name.begin(), name.end(), record.begin());
    const auto score = static_cast<uint32_t>(entry.PlayerScore);
    for (int b = 0; b < 4; ++b) record[PlayerNameLength + b] = static_cast<char>((score >> (8 * b)) & 0xFF);
    return record;
}

HighScoreEntry DecodeRecord(const Record& record) {
    uint32_t score = 0;
    for (int b = 0; b < 4; ++b) {
        score |= static_cast<uint32_t>(static_cast<unsigned char>(record[PlayerNameLength + b])) << (8 * b);
    }
    return HighScoreEntry{std::string(record.begin(), record.begin() + PlayerNameLength),
                          static_cast<int32_t>(score)};
}

// The system's words for the last failure, with what we were doing.
FileStatus Failure(const char* doing) {
    const int error = errno;
    std::string reason = doing;
    if (error != 0) reason += std::string(": ") + std::strerror(error);
    return FileStatus{false, reason, error};
}

std::string EncodeTable(const HighScoreTable& table) {
    std::string bytes;
    for (int n = 1; n <= HighScoreCount; ++n) {
        const Record record = EncodeRecord(table.Entry(n));
        bytes.append(record.data(), record.size());
    }
    return bytes;
}

FileStatus WriteWhole(int fd, const std::string& bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return Failure("cannot write the file");
        done += static_cast<std::size_t>(written);
    }
    if (::fsync(fd) != 0) return Failure("cannot flush the file to the disk");
    return {};
}

// The file a chain of symbolic links ends at; it need not exist yet.
std::filesystem::path FollowLinks(std::filesystem::path file) {
    std::error_code error;
    for (int hops = 0; hops < 40 && std::filesystem::is_symlink(file, error); ++hops) {
        const std::filesystem::path target = std::filesystem::read_symlink(file, error);
        if (error) break;
        file = target.is_absolute() ? target : file.parent_path() / target;
    }
    return file;
}

// Up to `limit` bytes of the file from `offset` on; a read error, unlike the
// end of the file, is a failure.
FileStatus ReadBytes(const std::filesystem::path& file, off_t offset, std::size_t limit, std::string& bytes) {
    errno = 0;
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return Failure("cannot open the file for reading");
    FileStatus status;
    char block[4096];
    while (bytes.size() < limit) {
        const ssize_t got = ::pread(fd, block, std::min(sizeof block, limit - bytes.size()),
                                    offset + static_cast<off_t>(bytes.size()));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) status = Failure("cannot read the file");
        if (got <= 0) break;
        bytes.append(block, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return status;
}

// The records written over the start of the file, which is created when
// missing and never shortened.
FileStatus WriteInPlace(const std::string& records, const std::filesystem::path& file) {
    errno = 0;
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return Failure("cannot open the file for writing");
    FileStatus status = WriteWhole(fd, records);
    if (::close(fd) != 0 && status.ok) status = Failure("cannot finish writing the file");
    return status;
}

}  // namespace

FileStatus SaveHighScores(const HighScoreTable& table, const std::filesystem::path& file) {
    const std::filesystem::path target = FollowLinks(file);
    const std::string records = EncodeTable(table);
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    errno = 0;  // a read-only file stays as it is, though its folder would let a new one replace it
    if (exists && ::access(target.c_str(), W_OK) != 0) return Failure("cannot open the file for writing");
    std::string rest;  // the bytes after the records, which a replacement must keep
    if (exists && !ReadBytes(target, static_cast<off_t>(kFileLength), SIZE_MAX, rest).ok)
        return WriteInPlace(records, target);

    // A new file gets the permissions a created file gets; a replacement keeps
    // the old one's owner and permissions.
    std::string name;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        name = target.string() + "." + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) return WriteInPlace(records, target);  // the folder takes no new file
    if (exists) {
        (void)!::fchown(fd, old.st_uid, old.st_gid);  // succeeds for root; others own their files anyway
        ::fchmod(fd, old.st_mode & 07777);
    }
    FileStatus status = WriteWhole(fd, records + rest);
    if (::close(fd) != 0 && status.ok) status = Failure("cannot finish writing the file");
    errno = 0;
    if (status.ok && ::rename(name.c_str(), target.c_str()) != 0) status = Failure("cannot replace the file");
    if (!status.ok) {
        ::unlink(name.c_str());
        return status;
    }
    // The rename itself reaches the disk with the folder.
    if (const int folder = ::open(target.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return {};
}

FileStatus CreateDefaultHighScores(HighScoreTable& table, const std::filesystem::path& file) {
    table.Reset();
    return SaveHighScores(table, file);
}

FileStatus LoadHighScores(HighScoreTable& table, const std::filesystem::path& file) {
    std::string bytes;
    if (FileStatus read = ReadBytes(file, 0, kFileLength, bytes); !read.ok) return read;
    for (int n = 1; n <= HighScoreCount; ++n) {
        const std::size_t start = RecordOffset(n);
        Record record{};
        const bool whole = bytes.size() >= start + record.size();
        if (whole)
            std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(start), record.size(), record.begin());
        table.Entry(n) = whole ? DecodeRecord(record) : HighScoreEntry{};
    }
    return {};
}

FileStatus ProbeWritable(const std::filesystem::path& file) {
    std::error_code error;
    errno = 0;
    if (std::filesystem::exists(file, error)) {
        const int fd = ::open(file.c_str(), O_WRONLY | O_CLOEXEC);
        if (fd < 0) return Failure("cannot open the file for writing");
        ::close(fd);
        return {};
    }
    errno = 0;
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return Failure("cannot create the file");
    ::close(fd);
    std::filesystem::remove(file, error);
    return {};
}

HighScoreFileChoice ChooseHighScoreFile(const std::filesystem::path& programDirectory,
                                        const std::filesystem::path& userDataDirectory,
                                        const std::function<bool(const std::filesystem::path&)>& canWrite) {
    const std::filesystem::path besideProgram = programDirectory / HighScoreFileName;
    if (canWrite(besideProgram)) return {besideProgram, true};
    if (!userDataDirectory.empty()) {
        std::error_code error;
        std::filesystem::create_directories(userDataDirectory, error);
        const std::filesystem::path perUser = userDataDirectory / HighScoreFileName;
        if (canWrite(perUser)) return {perUser, true};
    }
    return {besideProgram, false};
}
