#include "scores/high_score_file.h"

#include <unistd.h>

#include <random>

#include "score_file_test_support.h"

namespace {

const std::string kDefaultRecord = RecordBytes("None", 0);

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
    EXPECT_NE(save.reason.find("Not a directory"), std::string::npos) << save.reason;
    EXPECT_FALSE(LoadHighScores(table, underAFile).ok);
    EXPECT_EQ(table.Entry(1).PlayerScore, 42) << "a failed load leaves the table alone";

    std::filesystem::create_directory(folder.File());  // rushhs.dat is a folder
    EXPECT_FALSE(LoadHighScores(table, folder.File()).ok);
    EXPECT_FALSE(SaveHighScores(table, folder.File()).ok);
}

TEST(HighScoreFile, ProgramFolderFirstThenPerUserFolder) {
    ScratchFolder folder;
    const auto program = folder.Path() / "program";
    const auto user = folder.Path() / "share" / "stonerush";
    std::filesystem::create_directories(program);
    EXPECT_EQ(ChooseHighScoreFile(program, user).file, program / "rushhs.dat");
    EXPECT_FALSE(std::filesystem::exists(program / "rushhs.dat")) << "probing leaves no file behind";

    // A folder under a regular file cannot be written, even by root (who ignores 0555).
    WriteBytes(folder.File("plain"), "x");
    const auto unwritable = folder.File("plain") / "program";
    EXPECT_EQ(ChooseHighScoreFile(unwritable, user).file, user / "rushhs.dat");
    EXPECT_TRUE(std::filesystem::is_directory(user));
    const HighScoreFileChoice neither = ChooseHighScoreFile(unwritable, folder.File("plain") / "user");
    EXPECT_FALSE(neither.writable);
    EXPECT_EQ(neither.file, unwritable / "rushhs.dat");
}

TEST(HighScoreFile, ReadOnlyProgramFolder) {
    if (::geteuid() == 0) GTEST_SKIP() << "as root a 0555 folder is still writable; see the test above";
    ScratchFolder folder;
    const auto program = folder.Path() / "program";
    std::filesystem::create_directories(program);
    std::filesystem::permissions(program, std::filesystem::perms(0555));
    EXPECT_EQ(ChooseHighScoreFile(program, folder.Path() / "user").file,
              folder.Path() / "user" / "rushhs.dat");
    std::filesystem::permissions(program, std::filesystem::perms(0755));
}

}  // namespace
