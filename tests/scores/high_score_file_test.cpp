#include "scores/high_score_file.h"

#include <unistd.h>

#include <random>

#include "score_file_test_support.h"

namespace {

const std::string kDefaultRecord = std::string("None") + std::string(21, ' ') + std::string(4, '\0');

std::string TenDefaultRecords() {
    std::string bytes;
    for (int n = 0; n < 10; ++n) bytes += kDefaultRecord;
    return bytes;
}

TEST(HighScoreFile, DefaultFileIsTenNoneRecordsOfZero) {
    ScratchFolder folder;
    HighScoreTable table;
    table.Entry(3) = {PlayerNameFromText("Ann"), 70};
    ASSERT_TRUE(CreateDefaultHighScores(table, folder.File()).ok);
    EXPECT_EQ(table, HighScoreTable{});
    const std::string bytes = ReadBytes(folder.File());
    ASSERT_EQ(bytes.size(), 290u);
    EXPECT_EQ(bytes, TenDefaultRecords());
}

TEST(HighScoreFile, SaveWritesLittleEndianScoresAndWholeNames) {
    ScratchFolder folder;
    HighScoreTable table;
    table.Entry(1) = {PlayerNameFromText("ABCDEFGHIJKLMNOPQRSTUVWXY"), 0x01020304};  // exactly 25
    table.Entry(2) = {PlayerNameFromText("ABCDEFGHIJKLMNOPQRSTUVWXYZ"), -2};        // 26: Z is lost
    table.Entry(3) = {PlayerNameFromText(""), 999999};
    ASSERT_TRUE(SaveHighScores(table, folder.File()).ok);
    const std::string bytes = ReadBytes(folder.File());
    ASSERT_EQ(bytes.size(), 290u);
    EXPECT_EQ(bytes.substr(0, 29), std::string("ABCDEFGHIJKLMNOPQRSTUVWXY") + "\x04\x03\x02\x01");
    EXPECT_EQ(bytes.substr(29, 29), std::string("ABCDEFGHIJKLMNOPQRSTUVWXY") + "\xFE\xFF\xFF\xFF");
    EXPECT_EQ(bytes.substr(58, 29), RecordBytes("", 999999));
    EXPECT_EQ(bytes.substr(58, 25), std::string(25, ' '));
}

TEST(HighScoreFile, RoundTripKeepsTrailingSpacesNegativeScoresAndAnyBytes) {
    ScratchFolder folder;
    HighScoreTable saved;
    saved.Entry(1) = {PlayerNameFromText("  Lead and trail  "), 123456};
    saved.Entry(2) = {PlayerNameFromText("Zoë Ångström — “quoted” €"), -2147483647 - 1};
    std::string everyByte;
    for (int b = 0; b < 25; ++b) everyByte += static_cast<char>(b * 10 + 3);  // controls, 0x81, 0x8D...
    saved.Entry(3) = {everyByte, 2147483647};
    ASSERT_TRUE(SaveHighScores(saved, folder.File()).ok);

    HighScoreTable loaded;
    ASSERT_TRUE(LoadHighScores(loaded, folder.File()).ok);
    EXPECT_EQ(loaded, saved);
    EXPECT_EQ(loaded.Entry(1).PlayerName, "  Lead and trail         ");
    EXPECT_EQ(loaded.Entry(2).PlayerScore, -2147483647 - 1);
}

TEST(HighScoreFile, LoadKeepsTheFilesOrderWithoutSorting) {
    ScratchFolder folder;
    std::string bytes;
    for (int n = 1; n <= 10; ++n) bytes += RecordBytes("P" + std::to_string(n), n * 10 - 40);  // -30 .. 60
    WriteBytes(folder.File(), bytes);
    HighScoreTable table;
    ASSERT_TRUE(LoadHighScores(table, folder.File()).ok);
    for (int n = 1; n <= 10; ++n) {
        EXPECT_EQ(table.Entry(n).PlayerName, LeftJustifyName("P" + std::to_string(n)));
        EXPECT_EQ(table.Entry(n).PlayerScore, n * 10 - 40);
    }
}

// Files of unusual length: missing or cut records read as the default entry,
// and a save afterwards writes all ten records and keeps what lies beyond.
TEST(HighScoreFile, ShortAndLongFiles) {
    const HighScoreEntry ann{LeftJustifyName("Ann"), 500};
    struct Case {
        std::size_t length;
        int wholeRecords;
    };
    for (const Case c : {Case{0, 0}, Case{29, 1}, Case{40, 1}, Case{290, 10}, Case{300, 10}}) {
        SCOPED_TRACE("file of " + std::to_string(c.length) + " bytes");
        ScratchFolder folder;
        std::string bytes;
        for (int n = 0; n < 11; ++n) bytes += RecordBytes("Ann", 500);
        bytes.resize(c.length);
        WriteBytes(folder.File(), bytes);

        HighScoreTable table;
        table.Entry(10) = {LeftJustifyName("stale"), 1};
        ASSERT_TRUE(LoadHighScores(table, folder.File()).ok);
        for (int n = 1; n <= 10; ++n) EXPECT_EQ(table.Entry(n), n <= c.wholeRecords ? ann : HighScoreEntry{});

        table.Entry(1).PlayerScore = 7;
        ASSERT_TRUE(SaveHighScores(table, folder.File()).ok);
        const std::string after = ReadBytes(folder.File());
        ASSERT_EQ(after.size(), std::max<std::size_t>(290, c.length));
        EXPECT_EQ(after.substr(0, 29), RecordBytes(c.wholeRecords > 0 ? "Ann" : "None", 7));
        EXPECT_EQ(after.substr(261, 29), c.wholeRecords == 10 ? RecordBytes("Ann", 500) : kDefaultRecord);
        if (c.length > 290) {
            EXPECT_EQ(after.substr(290), bytes.substr(290));
        }
    }
}

TEST(HighScoreFile, RandomFilesAlwaysGiveTenEntries) {
    ScratchFolder folder;
    std::mt19937 random(20260601);
    std::uniform_int_distribution<int> length(0, 400), byte(0, 255);
    for (int round = 0; round < 3000; ++round) {
        std::string bytes(static_cast<std::size_t>(length(random)), '\0');
        for (char& b : bytes) b = static_cast<char>(byte(random));
        WriteBytes(folder.File(), bytes);
        HighScoreTable table;
        ASSERT_TRUE(LoadHighScores(table, folder.File()).ok);
        for (int n = 1; n <= 10; ++n) {
            const std::size_t start = 29u * (n - 1);
            ASSERT_EQ(table.Entry(n).PlayerName.size(), 25u);
            if (bytes.size() >= start + 29) {
                ASSERT_EQ(RecordBytes(table.Entry(n).PlayerName, table.Entry(n).PlayerScore),
                          bytes.substr(start, 29));
            }
            ASSERT_FALSE(FormatScoreLine(table, n).empty());
        }
        // Whatever was read is written back byte for byte.
        ASSERT_TRUE(SaveHighScores(table, folder.File()).ok);
        if (bytes.size() >= 290) {
            ASSERT_EQ(ReadBytes(folder.File()), bytes);
        }
    }
}

TEST(HighScoreFile, FailuresAreReportedWithAReason) {
    ScratchFolder folder;
    WriteBytes(folder.File("plain"), "x");
    const auto underAFile = folder.File("plain") / "rushhs.dat";  // no one can create this, root included

    HighScoreTable table;
    table.Entry(1).PlayerScore = 42;
    const FileStatus save = SaveHighScores(table, underAFile);
    EXPECT_FALSE(save.ok);
    EXPECT_NE(save.reason.find("Not a directory"), std::string::npos) << save.reason;

    const FileStatus load = LoadHighScores(table, underAFile);
    EXPECT_FALSE(load.ok);
    EXPECT_FALSE(load.reason.empty());
    EXPECT_EQ(table.Entry(1).PlayerScore, 42) << "a failed load leaves the table alone";

    std::filesystem::create_directory(folder.File());  // rushhs.dat is a folder
    EXPECT_FALSE(LoadHighScores(table, folder.File()).ok);
    EXPECT_FALSE(SaveHighScores(table, folder.File()).ok);
    EXPECT_FALSE(CreateDefaultHighScores(table, folder.File()).ok);
}

TEST(HighScoreFileChoice, ProgramFolderFirstThenPerUserFolder) {
    ScratchFolder folder;
    const auto program = folder.Path() / "program";
    const auto user = folder.Path() / "home" / "share" / "stonerush";
    std::filesystem::create_directories(program);

    const HighScoreFileChoice writable = ChooseHighScoreFile(program, user);
    EXPECT_TRUE(writable.writable);
    EXPECT_EQ(writable.file, program / "rushhs.dat");
    EXPECT_FALSE(std::filesystem::exists(program / "rushhs.dat")) << "probing leaves no file behind";

    WriteBytes(folder.File("plain"), "x");
    const auto unwritable = folder.File("plain") / "program";
    const HighScoreFileChoice fallback = ChooseHighScoreFile(unwritable, user);
    EXPECT_TRUE(fallback.writable);
    EXPECT_EQ(fallback.file, user / "rushhs.dat");
    EXPECT_TRUE(std::filesystem::is_directory(user)) << "the per-user folder is made when needed";

    const HighScoreFileChoice neither = ChooseHighScoreFile(unwritable, folder.File("plain") / "user");
    EXPECT_FALSE(neither.writable);
    EXPECT_EQ(neither.file, unwritable / "rushhs.dat");
}

TEST(HighScoreFileChoice, ReadOnlyProgramFolder) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "running as root, where a 0555 folder is still writable; "
                        "the choice itself is covered with a path under a regular file";
    }
    ScratchFolder folder;
    const auto program = folder.Path() / "program";
    std::filesystem::create_directories(program);
    std::filesystem::permissions(program, std::filesystem::perms(0555));
    const HighScoreFileChoice choice = ChooseHighScoreFile(program, folder.Path() / "user");
    std::filesystem::permissions(program, std::filesystem::perms(0755));
    EXPECT_EQ(choice.file, folder.Path() / "user" / "rushhs.dat");
}

}  // namespace
