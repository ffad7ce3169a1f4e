// Points, rows and speed, and the texts of the three counter labels.
#include <gtest/gtest.h>

#include <ostream>

#include "tests/engine/engine_test_support.h"

namespace stonerush::testing {
namespace {

class Scoring : public ::testing::Test {
protected:
    Scoring() { rig.StartGame(0); }

    std::string Text(Counter counter) { return rig.host.CounterText[counter]; }

    std::string ScoreText(int32_t score) {
        rig.game.Score = score;
        rig.game.ShowScore();
        return Text(Counter::Score);
    }

    EngineRig rig;
};

struct AwardCase {
    int rows;
    int level;
    int32_t points;
};

void PrintTo(const AwardCase& award, std::ostream* out) {
    *out << award.rows << " rows at level " << award.level << " = +" << award.points;
}

class AwardTable : public ::testing::TestWithParam<AwardCase> {};

TEST_P(AwardTable, AddsItsPointsAndRows) {
    const AwardCase award = GetParam();
    EngineRig rig;
    rig.StartGame(award.level);
    rig.game.Score = 1000;
    rig.game.LinesCleared = 3;
    rig.game.Award(award.rows);
    EXPECT_EQ(rig.game.Score, 1000 + award.points);
    EXPECT_EQ(rig.game.LinesCleared, 3 + award.rows);
}

INSTANTIATE_TEST_SUITE_P(Engine, AwardTable,
                         ::testing::Values(AwardCase{0, 0, 5}, AwardCase{0, 9, 5},  // no level bonus
                                           AwardCase{1, 0, 100}, AwardCase{2, 0, 250}, AwardCase{3, 0, 500},
                                           AwardCase{4, 0, 1000}, AwardCase{2, 3, 325}, AwardCase{1, 12, 400},
                                           AwardCase{4, 12, 1300}),
                         [](const ::testing::TestParamInfo<AwardCase>& info) {
                             return std::to_string(info.param.rows) + "RowsAtLevel" +
                                    std::to_string(info.param.level);
                         });

TEST_F(Scoring, ScoreLabelAlwaysShowsSixDigits) {
    EXPECT_EQ(ScoreText(0), "000000");
    EXPECT_EQ(ScoreText(9), "000009");
    EXPECT_EQ(ScoreText(10), "000010");
    EXPECT_EQ(ScoreText(999), "000999");
    EXPECT_EQ(ScoreText(1000), "001000");
    EXPECT_EQ(ScoreText(99999), "099999");
    EXPECT_EQ(ScoreText(100000), "100000");
    EXPECT_EQ(ScoreText(999999), "999999");
}

TEST_F(Scoring, ScoreIsClampedAtTheLargestSixDigitNumber) {
    EXPECT_EQ(ScoreText(1000000), "999999");
    EXPECT_EQ(rig.game.Score, 999999);

    rig.game.Score = 999999 - 50;
    rig.game.Award(1);
    EXPECT_EQ(rig.game.Score, 999999);
    EXPECT_EQ(Text(Counter::Score), "999999");
}

TEST_F(Scoring, TenthRowAtLevelZeroRaisesTheSpeed) {
    rig.game.LinesCleared = 9;
    rig.game.Award(1);
    EXPECT_EQ(rig.game.SpeedLevel, 1);
    EXPECT_EQ(rig.game.FallDelay, 23);
    EXPECT_EQ(Text(Counter::Speed), "1");
    EXPECT_EQ(Text(Counter::Lines), "10");
}

TEST_F(Scoring, AHighStartingSpeedHoldsUntilTheRowsCatchUp) {
    rig.StartGame(2);
    rig.game.LinesCleared = 9;
    rig.game.Award(1);
    EXPECT_EQ(rig.game.SpeedLevel, 2);
    EXPECT_EQ(rig.game.FallDelay, 21);

    rig.game.LinesCleared = 28;
    rig.game.Award(2);  // 30 rows: level 3
    EXPECT_EQ(rig.game.SpeedLevel, 3);
    EXPECT_EQ(rig.game.FallDelay, 19);
    EXPECT_EQ(Text(Counter::Speed), "3");
}

TEST_F(Scoring, OneAwardRaisesAtMostOneLevel) {
    rig.game.LinesCleared = 36;
    rig.game.Award(4);  // 40 rows at level 0 still gives level 1 only
    EXPECT_EQ(rig.game.SpeedLevel, 1);
}

TEST_F(Scoring, FallDelayShrinksByTwoPerLevelAndStopsAtOne) {
    for (int level = 0; level <= 12; ++level) {
        rig.game.SpeedLevel = int16_t(level);
        rig.game.ShowSpeed();
        EXPECT_EQ(rig.game.FallDelay, 25 - 2 * level);
        EXPECT_EQ(Text(Counter::Speed), std::to_string(level));
    }
    rig.game.LinesCleared = 129;  // level 12 → 13 at 130 rows
    rig.game.Award(1);
    EXPECT_EQ(rig.game.SpeedLevel, 13);
    EXPECT_EQ(rig.game.FallDelay, 1);
    EXPECT_EQ(Text(Counter::Speed), "13");
    rig.game.LinesCleared = 139;
    rig.game.Award(1);
    EXPECT_EQ(rig.game.FallDelay, 1);
    EXPECT_EQ(Text(Counter::Speed), "14");
}

TEST_F(Scoring, NewGameResetsTheCountersAndShowsThemAll) {
    rig.game.Score = 4321;
    rig.game.LinesCleared = 77;
    rig.host.CounterText.clear();
    rig.StartGame(4);
    EXPECT_EQ(rig.game.Score, 0);
    EXPECT_EQ(rig.game.LinesCleared, 0);
    EXPECT_EQ(rig.game.FallDelay, 17);
    EXPECT_EQ(Text(Counter::Score), "000000");
    EXPECT_EQ(Text(Counter::Lines), "0");
    EXPECT_EQ(Text(Counter::Speed), "4");
}

}  // namespace
}  // namespace stonerush::testing
