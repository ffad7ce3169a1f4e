// The file and the store that shares it between copies of the game, in a scratch folder open to every
// user (in memory where there is such a place) with "rushhs.dat" in it.
#include "scores/high_score_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>
#include <tuple>

#include "as_ordinary_user.h"
#include "scores/high_score_store.h"

namespace fs = std::filesystem;

namespace stonerush {
namespace {

const std::string defaultRecord = "None" + std::string(21, ' ') + std::string(4, '\0');
const std::string ann500 = "Ann" + std::string(22, ' ') + std::string("\xF4\x01\0\0", 4);
std::string times(int n, const std::string& bytes) {
    return n > 0 ? bytes + times(n - 1, bytes) : "";
}

std::string bytesOf(const fs::path& file, std::streamoff offset = 0, std::streamsize count = 1000) {
    std::ifstream in(file, std::ios::binary);
    std::string bytes(static_cast<std::size_t>(count), '\0');
    bytes.resize(static_cast<std::size_t>(in.seekg(offset).read(bytes.data(), count).gcount()));
    return bytes;
}
void write(const fs::path& file, const std::string& bytes, fs::perms perms = fs::perms(0666)) {
    std::ofstream(file, std::ios::binary).write(bytes.data(), std::ssize(bytes));
    fs::permissions(file, perms);
}
// What a save must leave as it was, also when it writes the file in place.
auto shapeOf(const fs::path& file) {
    struct stat s {};
    return ::stat(file.c_str(), &s), std::tuple(s.st_ino, s.st_mode, s.st_size, s.st_blocks);
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
    const std::string bytes = times(11, ann500).substr(0, static_cast<std::size_t>(length));
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
    bool link = false;
    fs::perms folder = fs::perms::all, file = fs::perms(0666);
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
    EXPECT_TRUE(asOrdinaryUser([&] {
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
INSTANTIATE_TEST_SUITE_P(
    Writer, SaveRefused,
    ::testing::Values(Refusal{"Link", 0, true}, Refusal{"FolderTakesNoNewFile", 0, false, fs::perms(0555)},
                      Refusal{"ReadOnlyFile", EACCES, false, fs::perms::all, fs::perms(0444)},
                      Refusal{"DiskFull", ENOSPC}, Refusal{"FileSizeLimit", EFBIG}),
    [](const auto& info) { return std::string(info.param.name); });

// What is found where the file should be, by the reason a save gives for it: only an ordinary file is
// read or written, at once (a hang ends the test), and a save reads no more than the records and a bounded
// tail. A long file ("": 100 MB, sparse) gets its records in place: its tail and its allocation are kept.
// Run as an ordinary user, so that a save that took a device for a file could not replace the device.
using OddFile = ScoreFileWith<std::string>;
TEST_P(OddFile, NeitherHangsNorFillsMemory) {
    const std::string& reason = GetParam();
    if (reason == "FIFO") ::mkfifo(file.c_str(), 0666);
    if (reason == "device") fs::create_symlink("/dev/zero", file);
    if (reason == "folder") fs::create_directory(file);
    if (reason == "FIFO" || reason == "folder") fs::permissions(file, fs::perms::all);
    if (reason.empty()) write(file, times(10, defaultRecord)), fs::resize_file(file, 100'000'000 - 4);
    if (reason.empty()) std::ofstream(file, std::ios::app) << "tail";
    const auto before = shapeOf(file);
    EXPECT_TRUE(asOrdinaryUser([&] {
        rusage start{}, end{};
        ::getrusage(RUSAGE_SELF, &start);
        ::alarm(5);
        HighScoreStore store(file);
        const FileStatus read = store.refresh();
        store.enter({playerNameFromText("Ann"), 500});
        const FileStatus saved = store.save();
        ::alarm(0);
        ::getrusage(RUSAGE_SELF, &end);
        EXPECT_LT(end.ru_maxrss - start.ru_maxrss, 10 * 1024) << "kB more memory at its peak";
        EXPECT_EQ(read.ok, reason.empty());
        EXPECT_EQ(saved.ok, reason.empty()) << saved.reason;
        EXPECT_NE(saved.reason.find(reason), std::string::npos) << saved.reason;
        return !::testing::Test::HasFailure();
    }));
    EXPECT_EQ(shapeOf(file), before) << "inode, mode, size and blocks";
    EXPECT_TRUE(!reason.empty() || bytesOf(file, 0, 29) + bytesOf(file, 100'000'000 - 4) == ann500 + "tail");
}
INSTANTIATE_TEST_SUITE_P(Kinds, OddFile, ::testing::Values("FIFO", "device", "folder", ""),
                         [](const auto& info) { return info.param.empty() ? "sparse100MB" : info.param; });

// The names of the entries with points, each followed by a space.
std::string namesIn(const HighScoreTable& table) {
    std::string names;
    for (int i = 1; i <= highScoreCount && table.entry(i).playerScore > 0; ++i)
        names += table.entry(i).playerName.substr(0, 2) + " ";
    return names;
}

// Two copies of the game on one file, step by step: "A5" is copy A entering
// the player "A5" with 500 points, "As" its save, "Ar" its Reset (saved, as
// the window's button does). Each save shows its copy the table it wrote, and
// a copy with nothing new writes nothing.
struct Sharing {
    const char *steps, *onDisk;
};
using SharedFile = ScoreFileWith<Sharing>;
TEST_P(SharedFile, NoCopyDropsAnotherCopysEntries) {
    std::map<char, HighScoreStore> copies{{'A', HighScoreStore(file)}, {'B', HighScoreStore(file)}};
    for (auto& [name, copy] : copies) ASSERT_TRUE(copy.create({}).ok);
    std::istringstream steps(GetParam().steps);
    HighScoreTable onDisk;
    for (std::string step; steps >> step;) {
        HighScoreStore& copy = copies.at(step[0]);
        if (step[1] == 'r') copy.reset();
        if (std::isdigit(step[1])) copy.enter({playerNameFromText(step), (step[1] - '0') * 100});
        if (std::isdigit(step[1])) continue;
        const bool idle = !copy.hasUnsavedChanges();
        const auto before = shapeOf(file);
        ASSERT_TRUE(copy.save().ok);
        ASSERT_TRUE(loadHighScores(onDisk, file).ok);
        EXPECT_TRUE(idle ? shapeOf(file) == before : namesIn(copy.table()) == namesIn(onDisk))
            << (idle ? "a copy with nothing new wrote at " : "the copy shows another table at ") << step;
    }
    EXPECT_EQ(namesIn(onDisk), GetParam().onDisk);
}
INSTANTIATE_TEST_SUITE_P(Interleaved, SharedFile,
                         ::testing::Values(Sharing{"A5 B3 As Bs", "A5 B3 "}, Sharing{"A5 B3 Bs As", "A5 B3 "},
                                           Sharing{"A5 B5 As Bs", "B5 A5 "},  // the newest first among equals
                                           Sharing{"B3 Bs As", "B3 "},        // A idle at the title quits
                                           Sharing{"A1 A2 B3 As Bs A4 As", "A4 B3 A2 A1 "},
                                           Sharing{"A5 As B3 Bs Ar B4 Bs", "B4 "}));

// Another copy holding the lock: a save waits for it, at most two seconds, and
// gives up without writing; once the lock is let go, the save goes through.
TEST_F(ScoreFile, SaveWaitsForTheLock) {
    HighScoreStore store(file);
    ASSERT_TRUE(store.create({}).ok);
    store.enter({playerNameFromText("Ann"), 500});
    const int other = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(other, LOCK_EX), 0);
    EXPECT_EQ(store.save().error, EWOULDBLOCK);
    EXPECT_EQ(bytesOf(file), times(10, defaultRecord));
    std::thread release(
        [other] { std::this_thread::sleep_for(std::chrono::milliseconds(100)), ::close(other); });
    EXPECT_TRUE(store.save().ok);
    release.join();
    EXPECT_EQ(bytesOf(file), ann500 + times(9, defaultRecord));
}

}  // namespace
}  // namespace stonerush
