// The end of a game: the tick on which the next piece does not fit.
#include <gtest/gtest.h>

#include "tests/engine/engine_test_support.h"

namespace stonerush::testing {
namespace {

class GameOver : public ::testing::Test {
protected:
    // A tower in column 4 up to the top, and a square about to land far from it.
    void PlayToTheEnd() {
        rig.StartGame(0);
        rig.game.Board = EmptyBoard();
        for (int y = 0; y < BoardHeight; ++y) rig.game.Board(4, y) = {1, CellSettled};
        rig.PlacePiece({6, 0, 0, 16, 0});
        rig.game.Score = 1230;
        rig.host.KeysAtTick[1] = {3, 0};
        rig.Tick(3);             // lands, searches, fails to bring the next piece in
        rig.host.Held = {3, 2};  // keys held from now on must not be read
    }

    EngineRig rig;
};

TEST_F(GameOver, RedrawsTheBoardWithoutThePieceThenRunsTheEndStepsInOrder) {
    PlayToTheEnd();
    ASSERT_TRUE(rig.game.GameOver);
    EXPECT_EQ(CountCells(rig.host.BoardAtLastRedraw, CellFalling), 0);
    EXPECT_EQ(PictureOf(rig.host.BoardAtLastRedraw), PictureOf(rig.game.Board));
    const std::vector<std::string> lastCalls(rig.host.Calls.end() - 4, rig.host.Calls.end());
    EXPECT_EQ(lastCalls, (std::vector<std::string>{"Redraw", "PlayWave gameover.wav", "ShowGameOver",
                                                   "EnterHighScore 1235"}));
    EXPECT_FALSE(rig.host.RunningAtHighScore) << "ticks during the name prompt must do nothing";
    EXPECT_TRUE(rig.game.PieceFalling);
}

TEST_F(GameOver, EndStepsRunOnceAndLaterTicksDoNothing) {
    PlayToTheEnd();
    const std::size_t calls = rig.host.Calls.size();
    rig.Tick(200);
    EXPECT_EQ(rig.host.HighScoreEntries, 1);
    EXPECT_EQ(rig.host.Calls.size(), calls) << "not even a redraw";
    EXPECT_TRUE(rig.game.GameOver);
    EXPECT_FALSE(rig.game.GameRunning);
}

TEST_F(GameOver, WithSoundOffTheGameEndsSilently) {
    rig.game.SoundOn = false;
    PlayToTheEnd();
    EXPECT_TRUE(rig.host.Waves.empty());
    EXPECT_EQ(rig.host.Calls.back(), "EnterHighScore 1235");
}

TEST_F(GameOver, ANewGameAfterwardsEmptiesTheBoardButKeepsItsTiles) {
    PlayToTheEnd();
    rig.StartGame(0);
    EXPECT_TRUE(rig.game.GameRunning);
    EXPECT_FALSE(rig.game.GameOver);
    EXPECT_EQ(CountCells(rig.game.Board, CellSettled), 0);
    EXPECT_EQ(CountCells(rig.game.Board, CellFalling), 4);
    EXPECT_EQ(rig.game.Board(4, 10).Tile, 1) << "a cell's tile outlives its block";
    rig.Tick();
    EXPECT_EQ(rig.host.HighScoreEntries, 1);
}

}  // namespace
}  // namespace stonerush::testing
