#include "scores/high_score_file.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>

#include <csignal>
#include <fstream>

#include "as_ordinary_user.h"
#include "score_file_fixture.h"
#include "scores/high_score_store.h"

namespace stonerush {
namespace {

// Names of one byte per Windows-1252 character, cut at 25, trailing spaces
// kept; scores little-endian.
TEST_F(ScoreFile, ExactBytesAndRoundTrip) {
    HighScoreTable table;
    table.entry(1) = {playerNameFromText(" Zoë “€” "), 0x01020304};
    table.entry(2) = {playerNameFromText("ABCDEFGHIJKLMNOPQRSTUVWXYZ"), -2};  // 26: Z is lost
    HighScoreStore store(file);
    ASSERT_TRUE(store.create(table).ok);
    EXPECT_EQ(bytesOf(file), " Zo\xEB \x93\x80\x94" + std::string(17, ' ') + "\x04\x03\x02\x01" +
                                 "ABCDEFGHIJKLMNOPQRSTUVWXY\xFE\xFF\xFF\xFF" + times(8, defaultRecord));
    EXPECT_EQ(store.table(), table);
}

// Missing or cut records read as the default entry; a save writes all ten and
// keeps whatever lies beyond them.
using ShortAndLongFile = ScoreFileWith<int>;
TEST_P(ShortAndLongFile, MissingRecordsAreDefaultExtraBytesKept) {
    const int length = GetParam(), whole = std::min(length / 29, 10);
    std::string bytes = times(11, ann500);
    bytes.resize(static_cast<std::size_t>(length));
    write(file, bytes);
    HighScoreStore store(file);
    ASSERT_TRUE(store.refresh().ok);
    store.enter({playerNameFromText("Bob"), 600});
    ASSERT_TRUE(store.save().ok);
    std::string expected = "Bob" + std::string(22, ' ') + std::string("\x58\x02\0\0", 4);
    for (int n = 1; n <= 9; ++n) expected += n <= whole ? ann500 : defaultRecord;
    EXPECT_EQ(bytesOf(file), expected + (length > 290 ? bytes.substr(290) : ""));
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
    const std::string before = times(10, defaultRecord) + "tail";
    write(refusal.link ? dir / "real.dat" : file, before, refusal.file);
    if (refusal.link) fs::create_symlink("real.dat", file);
    if (refusal.error == ENOSPC) write(dir / "filler", std::string(4096, 'f'));
    fs::permissions(dir, refusal.folder);
    HighScoreStore store(file);
    store.enter({playerNameFromText("Ann"), 500});
    EXPECT_TRUE(AsOrdinaryUser([&] {
        rlimit unlimited{}, small{};
        ::getrlimit(RLIMIT_FSIZE, &unlimited);
        small = {100, unlimited.rlim_max};  // every file is full at 100 bytes
        std::signal(SIGXFSZ, SIG_IGN);
        if (refusal.error == EFBIG) ::setrlimit(RLIMIT_FSIZE, &small);
        const FileStatus save = store.save();
        ::setrlimit(RLIMIT_FSIZE, &unlimited);
        EXPECT_EQ(save.error, refusal.error) << save.reason;
        EXPECT_EQ(bytesOf(file), refusal.error ? before : ann500 + times(9, defaultRecord) + "tail");
        EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}),
                  1 + (refusal.link || refusal.error == ENOSPC));
        EXPECT_EQ(fs::is_symlink(file), refusal.link);
        EXPECT_EQ(fs::status(file).permissions(), refusal.file);  // a new file keeps the old one's
        return !::testing::Test::HasFailure();
    }));
}
constexpr fs::perms all = fs::perms::all, readWrite = fs::perms(0666);
INSTANTIATE_TEST_SUITE_P(Writer, SaveRefused,
                         ::testing::Values(Refusal{"Link", 0, all, readWrite, true},
                                           Refusal{"FolderTakesNoNewFile", 0, fs::perms(0555), readWrite},
                                           Refusal{"ReadOnlyFile", EACCES, all, fs::perms(0444)},
                                           Refusal{"DiskFull", ENOSPC, all, readWrite},
                                           Refusal{"FileSizeLimit", EFBIG, all, readWrite}),
                         [](const auto& info) { return std::string(info.param.name); });

// What is found where the file should be, by the reason a save gives for it:
// only an ordinary file is read or written, at once (a hang ends the test),
// and a save reads no more than the records and a bounded tail. A long file
// ("": 100 MB, sparse) gets its records in place: its tail and its
// allocation are kept.
using OddFile = ScoreFileWith<std::string>;
TEST_P(OddFile, NeitherHangsNorFillsMemory) {
    ::alarm(5);
    const std::string& reason = GetParam();
    if (reason == "FIFO") ::mkfifo(file.c_str(), 0666);
    if (reason == "device") fs::create_symlink("/dev/zero", file);
    if (reason == "folder") fs::create_directory(file);
    if (reason.empty()) write(file, times(10, defaultRecord)), fs::resize_file(file, 100'000'000 - 4);
    if (reason.empty()) std::ofstream(file, std::ios::app) << "tail";
    const struct stat before = statusOf(file);
    rusage start{}, end{};
    ::getrusage(RUSAGE_SELF, &start);
    HighScoreStore store(file);
    const FileStatus read = store.refresh();
    store.enter({playerNameFromText("Ann"), 500});
    const FileStatus saved = store.save();
    ::getrusage(RUSAGE_SELF, &end);
    EXPECT_LT(end.ru_maxrss - start.ru_maxrss, 10 * 1024) << "kB more memory at its peak";
    EXPECT_EQ(read.ok, reason.empty());
    EXPECT_EQ(saved.ok, reason.empty()) << saved.reason;
    EXPECT_NE(saved.reason.find(reason), std::string::npos) << saved.reason;
    const struct stat after = statusOf(file);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(after.st_size, before.st_size);
    EXPECT_EQ(after.st_blocks, before.st_blocks);
    if (reason.empty()) {
        EXPECT_EQ(bytesOf(file, 0, 29) + bytesOf(file, 100'000'000 - 4, 4), ann500 + "tail");
    }
    ::alarm(0);
}
INSTANTIATE_TEST_SUITE_P(Kinds, OddFile, ::testing::Values("FIFO", "device", "folder", ""),
                         [](const auto& info) { return info.param.empty() ? "sparse100MB" : info.param; });

}  // namespace
}  // namespace stonerush
