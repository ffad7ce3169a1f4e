// The placement test: walls, floor, settled blocks, landing and refused moves.
#include <gtest/gtest.h>

#include "tests/engine/engine_test_support.h"

namespace stonerush::testing {
namespace {

class Placement : public ::testing::Test {
protected:
    Placement() { rig.StartGame(); }

    // Tries the falling piece shifted or turned, the way the tick does.
    void Try(int dx, int dy, int turn, bool isFall) {
        Game& game = rig.game;
        game.TrialPlacement = game.ActivePiece;
        game.TrialPlacement.X = int16_t(game.TrialPlacement.X + dx);
        game.TrialPlacement.Y = int16_t(game.TrialPlacement.Y + dy);
        game.TrialPlacement.Rotation = int16_t((game.TrialPlacement.Rotation + turn + 4) % 4);
        game.TryPlacement(isFall, false);
    }

    EngineRig rig;
};

TEST_F(Placement, WallsRefuseSidewaysMovesAndChangeNothing) {
    rig.PlacePiece({6, 0, 0, 8, 1});
    const std::string before = PictureOf(rig.game.Board);
    Try(-1, 0, 0, false);
    EXPECT_EQ(rig.game.ActivePiece, (PieceRecord{6, 0, 0, 8, 1}));
    EXPECT_EQ(PictureOf(rig.game.Board), before);

    rig.PlacePiece({0, 0, 7, 8, 1});  // columns 6 to 9
    Try(+1, 0, 0, false);
    EXPECT_EQ(rig.game.ActivePiece.X, 7);
    Try(-1, 0, 0, false);
    EXPECT_EQ(rig.game.ActivePiece.X, 6);
}

TEST_F(Placement, AcceptedMoveRedrawsTheFourCellsAndLeavesNoTrail) {
    rig.PlacePiece({1, 0, 4, 8, 3});
    Try(+1, 0, 0, false);
    Try(0, +1, 0, true);
    EXPECT_EQ(rig.game.ActivePiece, (PieceRecord{1, 0, 5, 9, 3}));
    EXPECT_EQ(PictureOf(rig.game.Board, true),
              Picture({"....333...", ".....3....", "..........", "..........", "..........", "..........",
                       "..........", "..........", ".........."},
                      true));
}

TEST_F(Placement, SettledBlocksRefuseMovesButTheFallingPieceNeverBlocksItself) {
    rig.SetSettled({"..#.......", ".........."});
    rig.PlacePiece({1, 0, 4, 16, 0});  // ...@@@ over ....@
    Try(-1, 0, 0, false);
    EXPECT_EQ(rig.game.ActivePiece.X, 4) << "column 2 of row 16 is settled";

    rig.PlacePiece({1, 0, 4, 10, 0});
    Try(0, 0, +1, false);  // the new cells overlap the old ones
    EXPECT_EQ(rig.game.ActivePiece.Rotation, 1);
    Try(0, 0, +1, false);
    EXPECT_EQ(rig.game.ActivePiece.Rotation, 2);
    EXPECT_EQ(CountCells(rig.game.Board, CellFalling), 4);
}

TEST_F(Placement, ANewPieceCannotTurnBeforeItsFirstFallExceptTheSquare) {
    for (int kind = 0; kind <= 5; ++kind) {
        rig.PlacePiece({int16_t(kind), 0, 4, 0, 0});
        Try(0, 0, +1, false);
        Try(0, 0, -1, false);
        EXPECT_EQ(rig.game.ActivePiece.Rotation, 0) << "kind " << kind << " would reach above row 0";
    }
    rig.PlacePiece({6, 0, 4, 0, 0});
    const std::string before = PictureOf(rig.game.Board);
    Try(0, 0, +1, false);
    EXPECT_EQ(rig.game.ActivePiece.Rotation, 1);
    EXPECT_EQ(PictureOf(rig.game.Board), before);
}

TEST_F(Placement, RefusedFallAtTheFloorLandsThePiece) {
    rig.PlacePiece({6, 0, 0, 16, 4});
    Try(0, +1, 0, true);
    EXPECT_FALSE(rig.game.PieceFalling);
    EXPECT_EQ(rig.game.PlayPhase, 1);
    EXPECT_EQ(PictureOf(rig.game.Board, true), Picture({"44........", "44........"}, true));
}

TEST_F(Placement, LandingWritesTheLastAcceptedCellsWhateverTheTrialWas) {
    rig.SetSettled({".........."});
    rig.PlacePiece({2, 0, 4, 15, 5});
    rig.game.TrialPlacement = {2, 3, 9, 17, 5};  // turned, beyond the wall and the floor
    rig.game.TryPlacement(true, false);
    EXPECT_EQ(rig.game.ActivePiece, (PieceRecord{2, 0, 4, 15, 5}));
    EXPECT_EQ(PictureOf(rig.game.Board, true), Picture({"...555....", "...5......", ".........."}, true));
    EXPECT_EQ(CountCells(rig.game.Board, CellFalling), 0);
}

TEST_F(Placement, RefusedTurnOrMoveWithBothFlagsFalseChangesNothingAtAll) {
    rig.SetSettled({"#.########", "#.########", "#.########", "#.########"});
    rig.PlacePiece({0, 1, 1, 15, 2});  // an upright straight piece down in the gap
    const Game before = rig.game;
    Try(0, 0, +1, false);
    Try(+1, 0, 0, false);
    EXPECT_EQ(PictureOf(rig.game.Board, true), PictureOf(before.Board, true));
    EXPECT_EQ(rig.game.ActivePiece, before.ActivePiece);
    EXPECT_EQ(rig.game.PieceFalling, before.PieceFalling);
    EXPECT_EQ(rig.game.PlayPhase, before.PlayPhase);
    EXPECT_EQ(rig.game.GameOver, before.GameOver);
}

TEST_F(Placement, SpawnOverASettledBlockEndsTheGameWithoutTouchingTheBoard) {
    // The last piece has landed and the landing sequence has reached the spawn.
    rig.game.Board = BoardFromPicture({"##########", "#########."});
    rig.game.Board(4, 0).State = CellSettled;
    rig.game.PieceFalling = false;
    const std::string before = PictureOf(rig.game.Board);
    rig.host.RandomScript = {0.0f, 1.0f - 1.0f / 16777216.0f};  // the one after: tile 0, kind 6
    rig.game.SpawnNextPiece();
    EXPECT_TRUE(rig.game.GameOver);
    EXPECT_EQ(PictureOf(rig.game.Board), before);
    EXPECT_FALSE(rig.game.PieceFalling);
    EXPECT_EQ(rig.game.PlayPhase, 0);
    EXPECT_EQ(PictureOf(rig.game.PreviewGrid), "....\n.##.\n.##.\n....\n")
        << "the preview already shows the piece after it";
}

TEST_F(Placement, APieceLandingInRowZeroAwayFromTheEntryDoesNotEndTheGame) {
    rig.SetSettled({"##........", "##........", "##........", "##........", "##........", "##........",
                    "##........", "##........", "##........", "##........", "##........", "##........",
                    "##........", "##........", "##........", "##........"});
    rig.PlacePiece({6, 0, 0, 0, 1});
    rig.Tick(26);  // the first gravity step lands it
    ASSERT_FALSE(rig.game.PieceFalling);
    rig.Tick(2);  // search, then the next piece
    EXPECT_FALSE(rig.game.GameOver);
    EXPECT_TRUE(rig.game.GameRunning);
    EXPECT_EQ(CountCells(rig.game.Board, CellFalling), 4);
}

}  // namespace
}  // namespace stonerush::testing
