#include "scores/high_score_table.h"

#include <gtest/gtest.h>

#include <vector>

namespace stonerush {
namespace {

// A table of players "a" to "j" with these scores, a new score, and where the
// player "*" ends up (0: nowhere, nothing changes).
struct Insertion {
    std::vector<int32_t> scores;
    int32_t score;
    int position;
    const char* order;
};
const std::vector<int32_t> ties{500, 400, 400, 300, 0, 0, 0, 0, 0, 0},
    zeros(10, 0), distinct{100, 90, 80, 70, 60, 50, 40, 30, 20, 10};

class PlaceHighScore : public ::testing::TestWithParam<Insertion> {};
TEST_P(PlaceHighScore, NewestFirstAmongEqualsLowestDropsOut) {
    const Insertion& in = GetParam();
    HighScoreTable table;
    for (int i = 1; i <= 10; ++i)
        table.entry(i) = {playerNameFromText(std::string(1, 'a' + i - 1)), in.scores[i - 1]};
    EXPECT_EQ(placeHighScore(table, {playerNameFromText("*"), in.score}), in.position);
    std::string order;
    for (int i = 1; i <= 10; ++i) order += table.entry(i).playerName[0];
    EXPECT_EQ(order, in.order);
}
INSTANTIATE_TEST_SUITE_P(
    Ties, PlaceHighScore,
    ::testing::Values(Insertion{ties, 400, 2, "a*bcdefghi"}, Insertion{ties, 0, 5, "abcd*efghi"},
                      Insertion{ties, 501, 1, "*abcdefghi"},
                      Insertion{distinct, 9, 0, "abcdefghij"},    // one less than entry 10
                      Insertion{distinct, 10, 10, "abcdefghi*"},  // equal to entry 10
                      Insertion{distinct, 25, 9, "abcdefgh*i"},
                      Insertion{zeros, 0, 1, "*abcdefghi"},  // a fresh table takes even 0
                      Insertion{zeros, -1, 0, "abcdefghij"}));

// What the player typed, as the high-score window shows it: one character per
// byte of the file, '?' for what Windows-1252 lacks; the score after the 25
// name characters and one space.
TEST(FormatScoreLine, NumberNameOneSpaceScore) {
    HighScoreTable table;
    table.entry(2) = {playerNameFromText("WWWWWWWWWWWWWWWWWWWWWWWWW"), 999999};
    table.entry(3) = {playerNameFromText(""), -45};
    table.entry(10) = {playerNameFromText("Zoë “€” Иван 😀\xFF."), 12};
    EXPECT_EQ(formatScoreLine(table, 1), "#1: None                      0");
    EXPECT_EQ(formatScoreLine(table, 2), "#2: WWWWWWWWWWWWWWWWWWWWWWWWW 999999");
    EXPECT_EQ(formatScoreLine(table, 3), "#3:                           -45");
    EXPECT_EQ(formatScoreLine(table, 10), "#10: Zoë “€” ???? ??.          12");
}

}  // namespace
}  // namespace stonerush
