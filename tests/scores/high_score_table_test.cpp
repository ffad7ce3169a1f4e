#include "scores/high_score_table.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A table of players "a" to "j" with these scores, a new score, and where the
// player "*" ends up (0: not asked, nothing changes).
struct Insertion {
    std::vector<int32_t> scores;
    int32_t score;
    int position;
    const char* order;
};
const std::vector<int32_t> kTies{500, 400, 400, 300, 0, 0, 0, 0, 0, 0};
const std::vector<int32_t> kDistinct{100, 90, 80, 70, 60, 50, 40, 30, 20, 10};
const std::vector<int32_t> kZeros(10, 0);

class EnterHighScoreTest : public ::testing::TestWithParam<Insertion> {};
TEST_P(EnterHighScoreTest, NewestFirstAmongEqualsLowestDropsOut) {
    const Insertion& in = GetParam();
    HighScoreTable table;
    for (int i = 1; i <= 10; ++i)
        table.Entry(i) = {PlayerNameFromText(std::string(1, 'a' + i - 1)), in.scores[i - 1]};
    int asked = 0;
    const auto ask = [&] { return ++asked, std::string("*"); };
    EXPECT_EQ(EnterHighScore(table, in.score, ask), in.position);
    EXPECT_EQ(asked, in.position != 0);
    std::string order;
    for (int i = 1; i <= 10; ++i) order += table.Entry(i).PlayerName[0];
    EXPECT_EQ(order, in.order);
}
INSTANTIATE_TEST_SUITE_P(
    Ties, EnterHighScoreTest,
    ::testing::Values(Insertion{kTies, 400, 2, "a*bcdefghi"}, Insertion{kTies, 0, 5, "abcd*efghi"},
                      Insertion{kTies, 501, 1, "*abcdefghi"},
                      Insertion{kDistinct, 9, 0, "abcdefghij"},    // one less than entry 10
                      Insertion{kDistinct, 10, 10, "abcdefghi*"},  // equal to entry 10
                      Insertion{kDistinct, 25, 9, "abcdefgh*i"},
                      Insertion{kZeros, 0, 1, "*abcdefghi"},  // a fresh table takes even 0
                      Insertion{kZeros, -1, 0, "abcdefghij"}));

// What the player typed, as the high-score window shows it: one character per
// byte of the file, '?' for what Windows-1252 lacks; the score after the 25
// name characters and one space.
TEST(FormatScoreLine, NumberNameOneSpaceScore) {
    HighScoreTable table;
    table.Entry(2) = {PlayerNameFromText("WWWWWWWWWWWWWWWWWWWWWWWWW"), 999999};
    table.Entry(3) = {PlayerNameFromText(""), -45};
    table.Entry(10) = {PlayerNameFromText("Zoë “€” Иван 😀\xFF."), 12};
    EXPECT_EQ(FormatScoreLine(table, 1), "#1: None                      0");
    EXPECT_EQ(FormatScoreLine(table, 2), "#2: WWWWWWWWWWWWWWWWWWWWWWWWW 999999");
    EXPECT_EQ(FormatScoreLine(table, 3), "#3:                           -45");
    EXPECT_EQ(FormatScoreLine(table, 10), "#10: Zoë “€” ???? ??.          12");
}

}  // namespace
