// The falling part of the tick: gravity's timing and the keys' repeat rates.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "tests/engine/engine_test_support.h"

namespace stonerush::testing {
namespace {

constexpr KeyRequests NoKeys{0, 0};
constexpr KeyRequests Left{1, 0};
constexpr KeyRequests Right{2, 0};
constexpr KeyRequests Down{3, 0};
constexpr KeyRequests TurnBack{0, 1};     // Rotation - 1
constexpr KeyRequests TurnForward{0, 2};  // Rotation + 1

class Timeline : public ::testing::Test {
protected:
    // Runs ticks 1..count and returns the ticks on which the watched value changed.
    std::vector<int> ChangesOver(int count, const std::function<int()>& watched) {
        std::vector<int> ticks;
        for (int i = 0; i < count; ++i) {
            const int before = watched();
            rig.Tick();
            if (watched() != before) ticks.push_back(rig.host.TickNumber);
        }
        return ticks;
    }
    std::function<int()> Row() {
        return [this] { return rig.game.ActivePiece.Y; };
    }
    std::function<int()> Column() {
        return [this] { return rig.game.ActivePiece.X; };
    }
    std::function<int()> Turned() {
        return [this] { return rig.game.ActivePiece.Rotation; };
    }

    EngineRig rig;
};

using Ticks = std::vector<int>;

TEST_F(Timeline, GravityMovesOneRowEveryFallDelayPlusOneTicks) {
    rig.StartGame(0);
    EXPECT_EQ(ChangesOver(80, Row()), (Ticks{26, 52, 78}));

    rig.StartGame(5);  // FallDelay 15
    EXPECT_EQ(ChangesOver(48, Row()), (Ticks{16, 32, 48}));

    rig.StartGame(12);  // FallDelay 1
    EXPECT_EQ(ChangesOver(8, Row()), (Ticks{2, 4, 6, 8}));
}

TEST_F(Timeline, FallCounterRunsOnOverALandingAndASpawn) {
    rig.StartGame(0);
    rig.PlacePiece({6, 0, 0, 16, 0});
    rig.game.FallCounter = 7;
    rig.host.KeysAtTick[1] = Down;
    rig.Tick();  // the down key lands it; gravity still counts, to 8
    ASSERT_FALSE(rig.game.PieceFalling);
    rig.Tick(2);  // search, then spawn: the counter does not count meanwhile
    ASSERT_TRUE(rig.game.PieceFalling);
    EXPECT_EQ(rig.game.FallCounter, 8);
    EXPECT_EQ(ChangesOver(26, Row()), Ticks{21}) << "17 more counts up to 25, then the fall";
}

TEST_F(Timeline, ALoweredFallDelayCatchesACounterLeftAboveIt) {
    rig.StartGame(0);
    rig.PlacePiece({1, 0, 4, 5, 0});
    rig.game.FallCounter = 24;
    rig.game.FallDelay = 23;
    EXPECT_EQ(ChangesOver(1, Row()), Ticks{1});
    EXPECT_EQ(rig.game.FallCounter, 0);
}

TEST_F(Timeline, HeldSidewaysKeyOrTurnActsEverySixthTick) {
    rig.StartGame(0);
    rig.PlacePiece({1, 0, 4, 5, 0});
    rig.host.Held = Left;
    EXPECT_EQ(ChangesOver(14, Column()), (Ticks{1, 7, 13}));
    EXPECT_EQ(rig.host.PollTicks, (Ticks{1, 7, 13}));

    rig.StartGame(0);
    rig.PlacePiece({1, 0, 4, 5, 0});
    rig.host.Held = TurnForward;
    EXPECT_EQ(ChangesOver(14, Turned()), (Ticks{1, 7, 13}));
}

TEST_F(Timeline, HeldDownKeyActsEveryFourthTick) {
    rig.StartGame(0);
    rig.PlacePiece({1, 0, 4, 5, 0});
    rig.host.Held = Down;
    EXPECT_EQ(ChangesOver(12, Row()), (Ticks{1, 5, 9}));
}

TEST_F(Timeline, WithNoKeyHeldTheKeysAreReadOnEveryTick) {
    rig.StartGame(0);
    rig.Tick(5);
    EXPECT_EQ(rig.host.PollTicks, (Ticks{1, 2, 3, 4, 5}));
    EXPECT_EQ(rig.game.MoveDelay, 0);
}

TEST_F(Timeline, ABlockedMoveStillWaitsOutItsDelay) {
    rig.StartGame(0);
    rig.PlacePiece({6, 0, 0, 5, 0});
    rig.host.Held = Left;
    rig.Tick();
    EXPECT_EQ(rig.game.ActivePiece.X, 0);
    EXPECT_EQ(rig.game.MoveDelay, 5);
    rig.Tick(12);
    EXPECT_EQ(rig.host.PollTicks, (Ticks{1, 7, 13}));

    rig.StartGame(0);
    rig.SetSettled({"##########", "#########."});  // row 16 right under the square
    rig.PlacePiece({6, 0, 0, 14, 0});
    rig.host.Held = Down;
    rig.Tick();
    EXPECT_FALSE(rig.game.PieceFalling) << "a blocked down key lands the piece";
    EXPECT_EQ(rig.game.MoveDelay, 3);
}

TEST_F(Timeline, TurnAndMoveActInTheSameTickAndTheMovesDelayStands) {
    rig.StartGame(0);
    rig.PlacePiece({1, 0, 4, 5, 0});
    rig.host.Held = {Left.Move, TurnForward.Turn};
    rig.Tick();
    EXPECT_EQ(rig.game.ActivePiece, (PieceRecord{1, 1, 3, 5, 0}));
    EXPECT_EQ(rig.game.MoveDelay, 5);
    rig.Tick(6);
    EXPECT_EQ(rig.host.PollTicks, (Ticks{1, 7}));

    rig.StartGame(0);
    rig.PlacePiece({1, 0, 4, 5, 0});
    rig.host.Held = {Down.Move, TurnBack.Turn};
    rig.Tick();
    EXPECT_EQ(rig.game.ActivePiece, (PieceRecord{1, 3, 4, 6, 0}));
    EXPECT_EQ(rig.game.MoveDelay, 3) << "turn plus down leaves the down key's delay";
}

TEST_F(Timeline, TurnsWrapAroundBothWays) {
    rig.StartGame(0);
    rig.PlacePiece({2, 0, 4, 5, 0});
    rig.host.KeysAtTick[1] = TurnBack;
    rig.Tick();
    EXPECT_EQ(rig.game.ActivePiece.Rotation, 3);
    rig.host.KeysAtTick[7] = TurnForward;
    rig.Tick(6);
    EXPECT_EQ(rig.game.ActivePiece.Rotation, 0);
}

TEST_F(Timeline, AKeyTappedBetweenTwoReadsHasNoEffect) {
    rig.StartGame(0);
    rig.PlacePiece({1, 0, 4, 5, 0});
    rig.host.KeysAtTick[1] = Left;
    for (int tick = 2; tick <= 6; ++tick) rig.host.KeysAtTick[tick] = Right;
    EXPECT_EQ(ChangesOver(10, Column()), Ticks{1});
    EXPECT_EQ(rig.game.ActivePiece.X, 3);
}

TEST_F(Timeline, DownKeyAndGravityInOneTickMoveTwoRows) {
    rig.StartGame(0);
    rig.PlacePiece({1, 0, 4, 5, 0});
    rig.game.FallCounter = rig.game.FallDelay;
    rig.host.KeysAtTick[1] = Down;
    rig.Tick();
    EXPECT_EQ(rig.game.ActivePiece.Y, 7);
    EXPECT_EQ(rig.game.FallCounter, 0);
}

TEST_F(Timeline, DownKeyLandingWithGravityDueLandsTheSameCellsOnce) {
    rig.StartGame(0);
    rig.PlacePiece({3, 0, 4, 16, 2});
    rig.game.FallCounter = rig.game.FallDelay;
    rig.host.KeysAtTick[1] = Down;
    rig.Tick();
    EXPECT_FALSE(rig.game.PieceFalling);
    EXPECT_EQ(rig.game.PlayPhase, 1);
    EXPECT_EQ(rig.game.FallCounter, 0);
    EXPECT_EQ(PictureOf(rig.game.Board, true), Picture({"...222....", ".....2...."}, true));
}

TEST_F(Timeline, KeysAreNotReadWhileTheLandingSequenceRuns) {
    rig.StartGame(0);
    rig.SetSettled({"#########."});
    rig.PlacePiece({0, 1, 9, 15, 0});  // completes row 17
    rig.host.Held = Down;
    rig.Tick();  // lands: polled once
    ASSERT_FALSE(rig.game.PieceFalling);
    rig.Tick(38);  // search and 37 flashing steps
    EXPECT_EQ(rig.host.PollTicks, Ticks{1});
    rig.Tick();  // the new piece comes in, its keys are read from the next tick
    rig.Tick();
    EXPECT_EQ(rig.host.PollTicks, (Ticks{1, 41}));
}

TEST(IdleTicks, DoNothingBeforeTheFirstGameOrWhileTheGameIsNotRunning) {
    EngineRig rig;
    rig.host.Held = Down;
    rig.Tick(10);
    EXPECT_EQ(rig.host.RedrawCount, 0);
    EXPECT_TRUE(rig.host.PollTicks.empty());
    EXPECT_EQ(rig.host.RandomCalls, 0);
    EXPECT_EQ(CountCells(rig.game.Board, CellEmpty), BoardWidth * BoardHeight);

    rig.StartGame(0);
    rig.Tick(3);
    rig.game.GameRunning = false;  // paused
    const std::string board = PictureOf(rig.game.Board);
    const PieceRecord piece = rig.game.ActivePiece;
    const int redraws = rig.host.RedrawCount;
    const int16_t counter = rig.game.FallCounter, delay = rig.game.MoveDelay;
    rig.Tick(100);
    EXPECT_EQ(rig.host.RedrawCount, redraws);
    EXPECT_EQ(PictureOf(rig.game.Board), board);
    EXPECT_EQ(rig.game.ActivePiece, piece);
    EXPECT_EQ(rig.game.FallCounter, counter);
    EXPECT_EQ(rig.game.MoveDelay, delay);
}

}  // namespace
}  // namespace stonerush::testing
