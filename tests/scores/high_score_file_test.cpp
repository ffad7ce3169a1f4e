#include "scores/high_score_file.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>

#include <csignal>
#include <fstream>

#include "as_ordinary_user.h"

namespace fs = std::filesystem;
namespace {

const std::string kDefaultRecord = "None" + std::string(21, ' ') + std::string(4, '\0');
const std::string kAnn500 = "Ann" + std::string(22, ' ') + std::string("\xF4\x01\0\0", 4);
std::string Times(int n, const std::string& bytes) {
    return n > 0 ? bytes + Times(n - 1, bytes) : "";
}

std::string Bytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
void Write(const fs::path& file, const std::string& bytes, fs::perms perms = fs::perms(0666)) {
    std::ofstream(file, std::ios::binary).write(bytes.data(), std::ssize(bytes));
    fs::permissions(file, perms);
}

// A scratch folder open to every user, in memory where there is such a place.
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

// Names of one byte per Windows-1252 character, cut at 25, trailing spaces
// kept; scores little-endian.
TEST_F(ScoreFile, ExactBytesAndRoundTrip) {
    HighScoreTable table;
    table.Entry(1) = {PlayerNameFromText(" Zoë “€” "), 0x01020304};
    table.Entry(2) = {PlayerNameFromText("ABCDEFGHIJKLMNOPQRSTUVWXYZ"), -2};  // 26: Z is lost
    ASSERT_TRUE(SaveHighScores(table, file).ok);
    EXPECT_EQ(Bytes(file), " Zo\xEB \x93\x80\x94" + std::string(17, ' ') + "\x04\x03\x02\x01" +
                               "ABCDEFGHIJKLMNOPQRSTUVWXY\xFE\xFF\xFF\xFF" + Times(8, kDefaultRecord));
    HighScoreTable loaded;
    ASSERT_TRUE(LoadHighScores(loaded, file).ok);
    EXPECT_EQ(loaded, table);
}

// Missing or cut records load as the default entry; a save writes all ten and
// keeps whatever lies beyond them.
using ShortAndLongFile = ScoreFileWith<int>;
TEST_P(ShortAndLongFile, MissingRecordsAreDefaultExtraBytesKept) {
    const int length = GetParam(), whole = std::min(length / 29, 10);
    std::string bytes = Times(11, kAnn500);
    bytes.resize(static_cast<std::size_t>(length));
    Write(file, bytes);
    HighScoreTable table;
    table.Entry(10).PlayerScore = 1;  // replaced by the default when record 10 is missing
    ASSERT_TRUE(LoadHighScores(table, file).ok);
    ASSERT_TRUE(SaveHighScores(table, file).ok);
    std::string expected;
    for (int n = 1; n <= 10; ++n) expected += n <= whole ? kAnn500 : kDefaultRecord;
    EXPECT_EQ(Bytes(file), expected + (length > 290 ? bytes.substr(290) : ""));
}
INSTANTIATE_TEST_SUITE_P(Lengths, ShortAndLongFile, ::testing::Values(0, 29, 40, 290, 300));

// The save against a folder, file or disk that refuses it, run as an ordinary
// user: either the records and the old file's bytes after them reach the file
// (through a link, or in place when the folder takes no new file), or the old
// file keeps every byte; no other file is left behind either way.
struct Refusal {
    const char* name;
    int error;  // 0: saved
    fs::perms folder, file;
    bool link = false;
};
using SaveRefused = ScoreFileWith<Refusal>;
TEST_P(SaveRefused, WholeNewFileOrOldFileUntouched) {
    const Refusal& refusal = GetParam();
    if (refusal.error == ENOSPC && ::mount("tmpfs", dir.c_str(), "tmpfs", 0, "size=4k") != 0)
        GTEST_SKIP() << "no small tmpfs here; FileSizeLimit fills a disk";
    const std::string before = std::string(290, 'o') + "tail";
    Write(refusal.link ? dir / "real.dat" : file, before, refusal.file);
    if (refusal.link) fs::create_symlink("real.dat", file);
    if (refusal.error == ENOSPC) Write(dir / "filler", std::string(4096, 'f'));
    fs::permissions(dir, refusal.folder);
    HighScoreTable table;
    table.Entry(1) = {LeftJustifyName("Ann"), 500};
    EXPECT_TRUE(AsOrdinaryUser([&] {
        rlimit unlimited{}, small{};
        ::getrlimit(RLIMIT_FSIZE, &unlimited);
        small = {100, unlimited.rlim_max};  // every file is full at 100 bytes
        std::signal(SIGXFSZ, SIG_IGN);
        if (refusal.error == EFBIG) ::setrlimit(RLIMIT_FSIZE, &small);
        const FileStatus save = SaveHighScores(table, file);
        ::setrlimit(RLIMIT_FSIZE, &unlimited);
        EXPECT_EQ(save.error, refusal.error) << save.reason;
        EXPECT_EQ(Bytes(file), refusal.error ? before : kAnn500 + Times(9, kDefaultRecord) + "tail");
        EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}),
                  1 + (refusal.link || refusal.error == ENOSPC));
        EXPECT_EQ(fs::is_symlink(file), refusal.link);
        return !::testing::Test::HasFailure();
    }));
}
constexpr fs::perms kAll = fs::perms::all, kReadWrite = fs::perms(0666);
INSTANTIATE_TEST_SUITE_P(Writer, SaveRefused,
                         ::testing::Values(Refusal{"Link", 0, kAll, kReadWrite, true},
                                           Refusal{"FolderTakesNoNewFile", 0, fs::perms(0555), kReadWrite},
                                           Refusal{"ReadOnlyFile", EACCES, kAll, fs::perms(0444)},
                                           Refusal{"DiskFull", ENOSPC, kAll, kReadWrite},
                                           Refusal{"FileSizeLimit", EFBIG, kAll, kReadWrite}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
