// A scratch folder per test and byte-level access to the files in it.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

class ScratchFolder {
public:
    ScratchFolder() {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        // Memory-backed when there is such a folder: the random-file test writes thousands of files.
        const std::filesystem::path base =
            std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
        std::string name = test->name();  // "Case/0" for a parameterised test
        std::replace(name.begin(), name.end(), '/', '_');
        path_ = base / ("stonerush_" + name + "_" + std::to_string(::getpid()));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() { std::filesystem::remove_all(path_); }
    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path File(const std::string& name = "rushhs.dat") const { return path_ / name; }

private:
    std::filesystem::path path_;
};

inline std::string ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary | std::ios::trunc).write(bytes.data(), std::ssize(bytes));
}

// One 29-byte record as it lies in the file.
inline std::string RecordBytes(std::string name, int32_t score) {
    name.resize(25, ' ');
    for (int b = 0; b < 4; ++b) name += static_cast<char>((static_cast<uint32_t>(score) >> (8 * b)) & 0xFF);
    return name;
}
