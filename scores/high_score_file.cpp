#include "scores/high_score_file.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

namespace {

using Record = std::array<char, HighScoreRecordLength>;

std::streamoff RecordOffset(int n) {
    return static_cast<std::streamoff>(HighScoreRecordLength) * (n - 1);
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
    return FileStatus{false, reason};
}

// Opens the file for reading and writing without shortening it, creating it
// first when it is missing.
FileStatus OpenForWriting(std::fstream& stream, const std::filesystem::path& file) {
    errno = 0;
    std::error_code ignored;
    if (!std::filesystem::exists(file, ignored)) {
        std::ofstream create(file, std::ios::binary | std::ios::app);
        if (!create) return Failure("cannot create the file");
    }
    errno = 0;
    stream.open(file, std::ios::binary | std::ios::in | std::ios::out);
    if (!stream) return Failure("cannot open the file for writing");
    return {};
}

FileStatus WriteRecords(const HighScoreTable& table, const std::filesystem::path& file) {
    std::fstream stream;
    if (FileStatus opened = OpenForWriting(stream, file); !opened.ok) return opened;
    for (int n = 1; n <= HighScoreCount; ++n) {
        const Record record = EncodeRecord(table.Entry(n));
        errno = 0;
        stream.seekp(RecordOffset(n));
        stream.write(record.data(), record.size());
        if (!stream) return Failure("cannot write the file");
    }
    errno = 0;
    stream.flush();
    if (!stream) return Failure("cannot write the file");
    stream.close();
    if (stream.fail()) return Failure("cannot finish writing the file");
    return {};
}

}  // namespace

FileStatus CreateDefaultHighScores(HighScoreTable& table, const std::filesystem::path& file) {
    table.Reset();
    return WriteRecords(table, file);
}

FileStatus SaveHighScores(const HighScoreTable& table, const std::filesystem::path& file) {
    return WriteRecords(table, file);
}

FileStatus LoadHighScores(HighScoreTable& table, const std::filesystem::path& file) {
    errno = 0;
    std::error_code error;
    if (std::filesystem::is_directory(file, error)) return FileStatus{false, "it is a folder, not a file"};
    std::ifstream stream(file, std::ios::binary);
    if (!stream) return Failure("cannot open the file for reading");
    for (int n = 1; n <= HighScoreCount; ++n) {
        Record record{};
        stream.seekg(RecordOffset(n));
        stream.read(record.data(), record.size());
        const bool whole = stream.gcount() == static_cast<std::streamsize>(record.size());
        table.Entry(n) = whole ? DecodeRecord(record) : HighScoreEntry{};
        stream.clear();  // a short record leaves the stream failed; the next seek must still work
    }
    if (stream.bad()) return Failure("cannot read the file");
    return {};
}

FileStatus ProbeWritable(const std::filesystem::path& file) {
    std::error_code error;
    errno = 0;
    if (std::filesystem::exists(file, error)) {
        std::fstream stream(file, std::ios::binary | std::ios::in | std::ios::out);
        return stream ? FileStatus{} : Failure("cannot open the file for writing");
    }
    errno = 0;
    std::ofstream probe(file, std::ios::binary | std::ios::app);
    if (!probe) return Failure("cannot create the file");
    probe.close();
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
