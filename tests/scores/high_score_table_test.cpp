#include "scores/high_score_table.h"

#include <gtest/gtest.h>

#include <vector>

#include "scores/cp1252.h"

namespace {

HighScoreTable TableOf(const std::vector<std::pair<const char*, int32_t>>& entries) {
    HighScoreTable table;
    for (std::size_t k = 0; k < entries.size(); ++k) {
        table.Entry(static_cast<int>(k) + 1) = {PlayerNameFromText(entries[k].first), entries[k].second};
    }
    return table;
}

std::vector<std::string> Names(const HighScoreTable& table) {
    std::vector<std::string> names;
    for (int i = 1; i <= 10; ++i)
        names.push_back(table.Entry(i).PlayerName.substr(0, table.Entry(i).PlayerName.find(' ')));
    return names;
}

// An answer to the name prompt that remembers how often it was asked.
struct Prompt {
    std::string answer;
    int asked = 0;
    std::function<std::string()> Ask() {
        return [this] {
            ++asked;
            return answer;
        };
    }
};

TEST(EnterHighScore, TiesPutTheNewestFirst) {
    const HighScoreTable before = TableOf({{"a", 500},
                                           {"b", 400},
                                           {"c", 400},
                                           {"d", 300},
                                           {"e", 0},
                                           {"f", 0},
                                           {"g", 0},
                                           {"h", 0},
                                           {"i", 0},
                                           {"j", 0}});
    HighScoreTable table = before;
    Prompt prompt{"new"};
    EXPECT_EQ(EnterHighScore(table, 400, prompt.Ask()), 2);
    EXPECT_EQ(Names(table), (std::vector<std::string>{"a", "new", "b", "c", "d", "e", "f", "g", "h", "i"}));
    EXPECT_EQ(table.Entry(2).PlayerScore, 400);

    table = before;
    EXPECT_EQ(EnterHighScore(table, 0, prompt.Ask()), 5);
    EXPECT_EQ(Names(table), (std::vector<std::string>{"a", "b", "c", "d", "new", "e", "f", "g", "h", "i"}));

    table = before;
    EXPECT_EQ(EnterHighScore(table, 501, prompt.Ask()), 1);
    EXPECT_EQ(Names(table), (std::vector<std::string>{"new", "a", "b", "c", "d", "e", "f", "g", "h", "i"}));
    EXPECT_EQ(prompt.asked, 3);
}

TEST(EnterHighScore, TheBottomOfTheTable) {
    const HighScoreTable distinct = TableOf({{"a", 100},
                                             {"b", 90},
                                             {"c", 80},
                                             {"d", 70},
                                             {"e", 60},
                                             {"f", 50},
                                             {"g", 40},
                                             {"h", 30},
                                             {"i", 20},
                                             {"j", 10}});
    HighScoreTable table = distinct;
    Prompt prompt{"new"};
    EXPECT_EQ(EnterHighScore(table, 9, prompt.Ask()), 0);
    EXPECT_EQ(prompt.asked, 0) << "one less than entry 10 asks nothing";
    EXPECT_EQ(table, distinct);

    EXPECT_EQ(EnterHighScore(table, 10, prompt.Ask()), 10);
    EXPECT_EQ(Names(table).back(), "new") << "equal to entry 10 replaces it";
    EXPECT_EQ(Names(table)[8], "i");

    table = distinct;
    EXPECT_EQ(EnterHighScore(table, 15, prompt.Ask()), 10);
    EXPECT_EQ(EnterHighScore(table, 25, prompt.Ask()), 9);
    EXPECT_EQ(table.Entry(9).PlayerScore, 25);
    EXPECT_EQ(table.Entry(10).PlayerScore, 20) << "the earlier 15 dropped out";
}

TEST(EnterHighScore, DefaultTableTakesEvenZeroAtTheTop) {
    HighScoreTable table;
    Prompt cancelled{""};
    EXPECT_EQ(EnterHighScore(table, 0, cancelled.Ask()), 1);
    EXPECT_EQ(cancelled.asked, 1);
    EXPECT_EQ(table.Entry(1).PlayerName, std::string(25, ' ')) << "a cancelled prompt stores 25 spaces";
    EXPECT_EQ(table.Entry(2), HighScoreEntry{});
    EXPECT_EQ(EnterHighScore(table, -1, cancelled.Ask()), 0) << "negative scores stay below the zeros";
}

TEST(PlayerNames, OneBytePerCharacterAlways25) {
    EXPECT_EQ(PlayerNameFromText("Ann"), "Ann                      ");
    EXPECT_EQ(PlayerNameFromText(" x "), " x                       ") << "never trimmed";
    EXPECT_EQ(PlayerNameFromText("0123456789012345678901234567"), "0123456789012345678901234");
    EXPECT_EQ(PlayerNameFromText("Zoë €5 “q”"), LeftJustifyName("Zo\xEB \x80"
                                                                "5 \x93q\x94"));
    // Outside Windows-1252: one '?' per character, however many bytes or UTF-16 units it takes.
    EXPECT_EQ(PlayerNameFromText("Иван 山田 😀!"), LeftJustifyName("???? ?? ?!"));
    EXPECT_EQ(PlayerNameFromText("\xFF\xC3(ok"), LeftJustifyName("?"
                                                                 "?(ok"))
        << "malformed UTF-8";
    EXPECT_EQ(PlayerNameFromText("😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀"), std::string(25, '?'));
}

TEST(PlayerNames, EveryByteReadsBackAsTheSameByte) {
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        ASSERT_EQ(Cp1252FromUtf8(Utf8FromCp1252(byte)), byte) << "byte " << b;
    }
    EXPECT_EQ(Utf8FromCp1252("\x80\x9F\xE9"), "€Ÿé");
}

TEST(FormatScoreLine, NumberNameAllSpacesThenScore) {
    HighScoreTable table;
    table.Entry(2) = {PlayerNameFromText("ABCDEFGHIJKLMNOPQRSTUVWXY"), 999999};
    table.Entry(3) = {PlayerNameFromText("<b>x</b> &amp;"), -45};
    table.Entry(10) = {PlayerNameFromText("Zoë"), 12};
    EXPECT_EQ(FormatScoreLine(table, 1), "#1: None" + std::string(22, ' ') + "0");
    EXPECT_EQ(FormatScoreLine(table, 2), "#2: ABCDEFGHIJKLMNOPQRSTUVWXY 999999");
    EXPECT_EQ(FormatScoreLine(table, 3), "#3: <b>x</b> &amp;            -45");
    EXPECT_EQ(FormatScoreLine(table, 10), "#10: Zoë" + std::string(22, ' ') + " 12");
}

}  // namespace
