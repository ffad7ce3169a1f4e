#include "scores/high_score_file.h"

#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <random>

#include "score_file_test_support.h"

namespace {

const std::string kDefaultRecord = RecordBytes("None", 0);

std::string EncodedTable(const HighScoreTable& table) {
    std::string bytes;
    for (int n = 1; n <= 10; ++n) bytes += RecordBytes(table.Entry(n).PlayerName, table.Entry(n).PlayerScore);
    return bytes;
}

TEST(HighScoreFile, BytesOnDisk) {
    ScratchFolder folder;
    HighScoreTable table;
    table.Entry(3) = {PlayerNameFromText("Ann"), 70};
    ASSERT_TRUE(CreateDefaultHighScores(table, folder.File()).ok);
    EXPECT_EQ(table, HighScoreTable{});
    std::string tenDefaults;
    for (int n = 0; n < 10; ++n) tenDefaults += kDefaultRecord;
    EXPECT_EQ(ReadBytes(folder.File()), tenDefaults);
    EXPECT_EQ(kDefaultRecord, std::string("None") + std::string(21, ' ') + std::string(4, '\0'));

    table.Entry(1) = {PlayerNameFromText("ABCDEFGHIJKLMNOPQRSTUVWXY"), 0x01020304};  // exactly 25
    table.Entry(2) = {PlayerNameFromText("ABCDEFGHIJKLMNOPQRSTUVWXYZ"), -2};         // 26: Z is lost
    ASSERT_TRUE(SaveHighScores(table, folder.File()).ok);
    const std::string bytes = ReadBytes(folder.File());
    ASSERT_EQ(bytes.size(), 290u);
    EXPECT_EQ(bytes.substr(0, 29), std::string("ABCDEFGHIJKLMNOPQRSTUVWXY") + "\x04\x03\x02\x01");
    EXPECT_EQ(bytes.substr(29, 29), std::string("ABCDEFGHIJKLMNOPQRSTUVWXY") + "\xFE\xFF\xFF\xFF");
}

TEST(HighScoreFile, RoundTripKeepsSpacesNegativeScoresAndNonLatinAsQuestionMarks) {
    ScratchFolder folder;
    HighScoreTable saved;
    saved.Entry(1) = {PlayerNameFromText("  Lead and trail  "), 123456};
    saved.Entry(2) = {PlayerNameFromText("Zoë — “€” Иван"), -2147483647 - 1};
    ASSERT_TRUE(SaveHighScores(saved, folder.File()).ok);
    HighScoreTable loaded;
    ASSERT_TRUE(LoadHighScores(loaded, folder.File()).ok);
    EXPECT_EQ(loaded, saved);
    EXPECT_EQ(loaded.Entry(1).PlayerName, "  Lead and trail         ");
    EXPECT_EQ(FormatScoreLine(loaded, 2), "#2: Zoë — “€” ????            -2147483648");
}

// Missing or cut records read as the default entry; a save then writes all
// ten records and keeps whatever lies beyond them.
TEST(HighScoreFile, ShortAndLongFiles) {
    const HighScoreEntry ann{LeftJustifyName("Ann"), 500};
    for (const auto& [length, whole] : {std::pair{0, 0}, {29, 1}, {40, 1}, {290, 10}, {300, 10}}) {
        SCOPED_TRACE("file of " + std::to_string(length) + " bytes");
        ScratchFolder folder;
        std::string bytes;
        for (int n = 0; n < 11; ++n) bytes += RecordBytes("Ann", 500);
        bytes.resize(length);
        WriteBytes(folder.File(), bytes);
        HighScoreTable table;
        table.Entry(10) = {LeftJustifyName("stale"), 1};
        ASSERT_TRUE(LoadHighScores(table, folder.File()).ok);
        for (int n = 1; n <= 10; ++n) EXPECT_EQ(table.Entry(n), n <= whole ? ann : HighScoreEntry{});

        ASSERT_TRUE(SaveHighScores(table, folder.File()).ok);
        const std::string after = ReadBytes(folder.File());
        ASSERT_EQ(after.size(), std::max(290, length));
        EXPECT_EQ(after.substr(261, 29), whole == 10 ? RecordBytes("Ann", 500) : kDefaultRecord);
        EXPECT_EQ(after.substr(290), bytes.substr(std::min(290, length)));
    }
}

// Any bytes load as ten entries (in the file's order, unsorted) and save back unchanged.
TEST(HighScoreFile, RandomFiles) {
    ScratchFolder folder;
    std::mt19937 random(20260601);
    std::uniform_int_distribution<int> length(0, 400), byte(0, 255);
    for (int round = 0; round < 2000; ++round) {
        std::string bytes(static_cast<std::size_t>(length(random)), '\0');
        for (char& b : bytes) b = static_cast<char>(byte(random));
        WriteBytes(folder.File(), bytes);
        HighScoreTable table;
        ASSERT_TRUE(LoadHighScores(table, folder.File()).ok);
        for (int n = 1; n <= 10; ++n) {
            ASSERT_EQ(table.Entry(n).PlayerName.size(), 25u);
            ASSERT_FALSE(FormatScoreLine(table, n).empty());
        }
        ASSERT_TRUE(SaveHighScores(table, folder.File()).ok);
        if (bytes.size() >= 290) {
            ASSERT_EQ(ReadBytes(folder.File()), bytes);
        }
    }
}

TEST(HighScoreFile, FailuresComeWithAReason) {
    ScratchFolder folder;
    WriteBytes(folder.File("plain"), "x");
    const auto underAFile = folder.File("plain") / "rushhs.dat";  // no one can create this, root included
    HighScoreTable table;
    table.Entry(1).PlayerScore = 42;
    const FileStatus save = SaveHighScores(table, underAFile);
    EXPECT_FALSE(save.ok);
    EXPECT_EQ(save.error, ENOTDIR) << save.reason;
    EXPECT_NE(save.reason.find(std::strerror(ENOTDIR)), std::string::npos) << save.reason;
    EXPECT_FALSE(LoadHighScores(table, underAFile).ok);
    EXPECT_EQ(table.Entry(1).PlayerScore, 42) << "a failed load leaves the table alone";

    std::filesystem::create_directory(folder.File());  // rushhs.dat is a folder
    EXPECT_EQ(LoadHighScores(table, folder.File()).error, EISDIR);
    EXPECT_EQ(SaveHighScores(table, folder.File()).error, EISDIR);
    EXPECT_EQ(table.Entry(1).PlayerScore, 42);
}

// A save replaces the file a link points to, keeps the link and the bytes after
// the records, and leaves no other file behind.
TEST(HighScoreFile, SaveFollowsALinkAndKeepsExtraBytes) {
    ScratchFolder folder;
    std::filesystem::create_directory(folder.File("real"));
    WriteBytes(folder.File("real") / "scores", std::string(290, 'x') + "extra");
    std::filesystem::create_symlink("real/scores", folder.File());
    HighScoreTable table;
    table.Entry(1) = {LeftJustifyName("Ann"), 9};
    ASSERT_TRUE(SaveHighScores(table, folder.File()).ok);
    EXPECT_TRUE(std::filesystem::is_symlink(folder.File()));
    EXPECT_EQ(ReadBytes(folder.File("real") / "scores"), EncodedTable(table) + "extra");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.File("real")), {}), 1);
}

// A disk that fills up under the save: the old file keeps every byte, the
// reason is the system's, and the half-written new file is gone.
class FullDisk : public ::testing::TestWithParam<int> {};
TEST_P(FullDisk, LeavesTheOldFileAsItWas) {
    ScratchFolder folder;
    const std::string before = std::string(290, 'o') + "tail";
    HighScoreTable table;
    table.Entry(1) = {LeftJustifyName("New"), 1};
    rlimit unlimited{};
    ::getrlimit(RLIMIT_FSIZE, &unlimited);
    if (GetParam() == ENOSPC) {  // a tmpfs of one page: the old file, then filler to the last byte
        if (::mount("tmpfs", folder.Path().c_str(), "tmpfs", 0, "size=4k") != 0)
            GTEST_SKIP() << "cannot mount a small tmpfs here (" << std::strerror(errno)
                         << "); EFBIG covers it";
        WriteBytes(folder.File(), before);
        WriteBytes(folder.File("filler"), std::string(4096, 'f'));
    } else {  // a file-size limit of 100 bytes: every file is "full" at 100 bytes
        WriteBytes(folder.File(), before);
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = unlimited;
        small.rlim_cur = 100;
        ::setrlimit(RLIMIT_FSIZE, &small);
    }
    const FileStatus save = SaveHighScores(table, folder.File());
    ::setrlimit(RLIMIT_FSIZE, &unlimited);
    EXPECT_FALSE(save.ok);
    EXPECT_EQ(save.error, GetParam()) << save.reason;
    EXPECT_EQ(ReadBytes(folder.File()), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}),
              GetParam() == ENOSPC ? 2 : 1);
    if (GetParam() == ENOSPC) ::umount(folder.Path().c_str());
}
INSTANTIATE_TEST_SUITE_P(HighScoreFile, FullDisk, ::testing::Values(ENOSPC, EFBIG));

// A program folder that takes no new file (an installed or shared copy): a
// file already in it is used and written in place; without one, the per-user
// folder is used. A read-only file is not replaced, though its folder would
// allow it. Root ignores modes, so as root the checks run in a child process as
// the unprivileged user "nobody", who owns neither the folder nor the file.
TEST(HighScoreFile, FolderOrFileThatRefusesWrites) {
    ScratchFolder folder;
    const auto withFile = folder.Path() / "with", empty = folder.Path() / "empty",
               user = folder.Path() / "user";
    for (const auto& dir : {folder.Path(), withFile, empty, user}) {
        std::filesystem::create_directories(dir);
        std::filesystem::permissions(dir, std::filesystem::perms(0755));
    }
    const std::string before = std::string(290, 'o') + "tail";
    for (const auto& file : {withFile / "rushhs.dat", user / "locked.dat"}) WriteBytes(file, before);
    std::filesystem::permissions(user / "locked.dat", std::filesystem::perms(0444));
    HighScoreTable table;
    table.Entry(1) = {LeftJustifyName("Ann"), 3};
    const auto checks = [&] {
        EXPECT_EQ(ChooseHighScoreFile(empty, user).file, user / "rushhs.dat");
        EXPECT_EQ(ChooseHighScoreFile(withFile, user).file, withFile / "rushhs.dat");
        EXPECT_TRUE(SaveHighScores(table, withFile / "rushhs.dat").ok);
        EXPECT_EQ(ReadBytes(withFile / "rushhs.dat"), EncodedTable(table) + "tail");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(withFile), {}), 1);
        EXPECT_EQ(SaveHighScores(table, user / "locked.dat").error, EACCES);
        EXPECT_EQ(ReadBytes(user / "locked.dat"), before);
    };
    if (::geteuid() != 0) {
        for (const auto& dir : {withFile, empty})
            std::filesystem::permissions(dir, std::filesystem::perms(0555));
        checks();
        for (const auto& dir : {withFile, empty})
            std::filesystem::permissions(dir, std::filesystem::perms(0755));
        return;
    }
    constexpr uid_t kNobody = 65534;
    for (const auto& path : {withFile / "rushhs.dat", user})
        ASSERT_EQ(::chown(path.c_str(), kNobody, kNobody), 0);
    EXPECT_EXIT(
        {
            if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) {
                std::perror("cannot become the user nobody");
                std::exit(2);
            }
            checks();
            std::exit(::testing::Test::HasFailure() ? 1 : 0);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
