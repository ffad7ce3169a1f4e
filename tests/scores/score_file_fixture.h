// A scratch folder open to every user, in memory where there is such a place,
// with "rushhs.dat" in it, and the bytes the tests write and expect.
#pragma once

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace stonerush {

inline const std::string defaultRecord = "None" + std::string(21, ' ') + std::string(4, '\0');
inline const std::string ann500 = "Ann" + std::string(22, ' ') + std::string("\xF4\x01\0\0", 4);
inline std::string times(int n, const std::string& bytes) {
    return n > 0 ? bytes + times(n - 1, bytes) : "";
}

inline std::string bytesOf(const fs::path& file, std::streamoff offset = 0, std::size_t count = 1000) {
    std::ifstream in(file, std::ios::binary);
    in.seekg(offset);
    std::string bytes(count, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(count));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}
inline void write(const fs::path& file, const std::string& bytes, fs::perms perms = fs::perms(0666)) {
    std::ofstream(file, std::ios::binary).write(bytes.data(), std::ssize(bytes));
    fs::permissions(file, perms);
}
inline struct stat statusOf(const fs::path& file) {
    struct stat status {};
    ::stat(file.c_str(), &status);
    return status;
}

class ScoreFile : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(dir), fs::permissions(dir, fs::perms::all); }
    void TearDown() override {
        ::umount(dir.c_str());
        fs::permissions(dir, fs::perms::all);
        fs::remove_all(dir);
    }
    const fs::path dir = fs::path(fs::is_directory("/dev/shm") ? "/dev/shm" : fs::temp_directory_path()) /
                         ("stonerush_scores_" + std::to_string(::getpid()));
    const fs::path file = dir / "rushhs.dat";
};
template <class Param>
class ScoreFileWith : public ScoreFile, public ::testing::WithParamInterface<Param> {};

}  // namespace stonerush
