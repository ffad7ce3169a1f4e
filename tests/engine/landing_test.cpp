// After a landing: the search for full rows, 37 flashing steps, the collapse.
#include <gtest/gtest.h>

#include <vector>

#include "tests/engine/engine_test_support.h"

namespace stonerush::testing {
namespace {

const PieceRecord UprightStraightInColumnNine{0, 1, 9, 15, 3};  // rows 14 to 17

class Landing : public ::testing::Test {
protected:
    // Drops the piece onto the settled blocks with the down key on tick 1.
    void LandOn(Rows settled, PieceRecord piece = UprightStraightInColumnNine) {
        rig.StartGame(0);
        rig.SetSettled(settled);
        rig.PlacePiece(piece);
        rig.host.KeysAtTick[1] = {3, 0};
        rig.Tick();
        ASSERT_FALSE(rig.game.PieceFalling) << "the piece should have landed on tick 1";
    }

    std::vector<int16_t> FullRows() const {
        return {rig.game.FullRows[0], rig.game.FullRows[1], rig.game.FullRows[2], rig.game.FullRows[3]};
    }

    // Runs the search, the 37 flashing steps and the collapse with the next piece.
    void RunLandingSequence() { rig.Tick(39); }

    EngineRig rig;
};

TEST_F(Landing, OneRowSearchesFlashesThirtySevenTimesThenCollapsesAndSpawns) {
    LandOn({"#########."});
    const int redraws = rig.host.RedrawCount;

    rig.Tick();  // t + 1: the search
    EXPECT_EQ(FullRows(), (std::vector<int16_t>{17, -1, -1, -1}));
    EXPECT_EQ(rig.game.FullRowCount, 1);
    EXPECT_EQ(rig.game.PlayPhase, 2);
    EXPECT_EQ(rig.game.Score, 100);
    EXPECT_EQ(rig.game.LinesCleared, 1);
    EXPECT_EQ(rig.host.Waves, std::vector<std::string>{"line.wav"});
    EXPECT_EQ(CountCells(rig.game.Board, CellSettled), 13) << "the search leaves the board alone";

    std::string pattern;  // '+' shown, '-' empty, one per flashing step
    for (int call = 1; call <= 37; ++call) {
        rig.Tick();  // t + 2 .. t + 38
        const bool shown = rig.game.Board(0, 17).State == CellSettled;
        for (int x = 0; x < BoardWidth; ++x) EXPECT_EQ(rig.game.Board(x, 17).State, shown ? 1 : 0);
        pattern += shown ? '+' : '-';
        EXPECT_EQ(rig.game.PlayPhase, call < 37 ? 2 : 0) << "call " << call;
        EXPECT_FALSE(rig.game.PieceFalling);
    }
    EXPECT_EQ(pattern, "-----++++++------++++++------++++++--");
    EXPECT_EQ(rig.game.Board(9, 16).State, CellSettled) << "rows that are not full never flash";

    rig.Tick();  // t + 39: the collapse, and the next piece on the same tick
    EXPECT_TRUE(rig.game.PieceFalling);
    EXPECT_EQ(rig.game.ActivePiece.Y, 0);
    EXPECT_EQ(PictureOf(rig.game.Board),
              Picture({"...@@@....", ".....@....", "..........", "..........", "..........", "..........",
                       "..........", "..........", "..........", "..........", "..........", "..........",
                       "..........", "..........", "..........", ".........#", ".........#", ".........#"}));
    EXPECT_EQ(rig.host.RedrawCount, redraws + 39) << "every step is drawn";
}

TEST_F(Landing, NoRowGivesFivePointsSilentlyAndTheNextPieceOnTheFollowingTick) {
    LandOn({"####.####."});  // nine cells are not a full row
    rig.host.CounterText.clear();
    rig.Tick();  // t + 1
    EXPECT_EQ(rig.game.PlayPhase, 0);
    EXPECT_EQ(rig.game.FullRowCount, 0);
    EXPECT_EQ(FullRows(), (std::vector<int16_t>{-1, -1, -1, -1}));
    EXPECT_EQ(rig.game.Score, 5);
    EXPECT_EQ(rig.game.LinesCleared, 0);
    EXPECT_TRUE(rig.host.Waves.empty());
    EXPECT_EQ(rig.host.CounterText.size(), 1u) << "only the score label is refreshed";
    EXPECT_EQ(rig.host.CounterText[Counter::Score], "000005");
    const std::string settled = PictureOf(rig.game.Board);

    rig.Tick();  // t + 2
    EXPECT_TRUE(rig.game.PieceFalling);
    EXPECT_EQ(CountCells(rig.game.Board, CellFalling), 4);
    EXPECT_EQ(CountCells(rig.game.Board, CellSettled), 12) << settled;
}

TEST_F(Landing, AdjacentRowsSixteenAndSeventeen) {
    LandOn({"1.........", "2.3.......", "44.4......", "555555555.", "#########."});
    rig.Tick();
    EXPECT_EQ(FullRows(), (std::vector<int16_t>{16, 17, -1, -1}));
    EXPECT_EQ(rig.game.FullRowCount, 2);
    EXPECT_EQ(rig.host.Waves, std::vector<std::string>{"line.wav"});
    rig.Tick(38);
    EXPECT_EQ(PictureOf(rig.game.Board, true),
              Picture({"...222....", ".....2....", "..........", "..........", "..........", "..........",
                       "..........", "..........", "..........", "..........", "..........", "..........",
                       "..........", "..........", "..........", "1.........", "2.3......3", "44.4.....3"},
                      true));
}

TEST_F(Landing, RowsFourteenAndSeventeenAloneFlashAndCollapse) {
    LandOn({"1.........", "2########.", "####.####.", "###.#####.", "#########."});
    rig.Tick();
    EXPECT_EQ(FullRows(), (std::vector<int16_t>{14, 17, -1, -1}));
    for (int call = 1; call <= 37; ++call) {
        rig.Tick();
        EXPECT_EQ(PictureOf(rig.game.Board).substr(15 * 11, 22), "####.#####\n###.######\n")
            << "rows 15 and 16 stay, call " << call;
    }
    rig.Tick();
    EXPECT_EQ(PictureOf(rig.game.Board).substr(13 * 11),
              "..........\n..........\n#.........\n"
              "####.#####\n###.######\n");
}

TEST_F(Landing, FourRowsPlayTheQuadSoundAndMoveEverythingDownFour) {
    LandOn({"2.........", "#########.", "#########.", "#########.", "#########."});
    rig.Tick();
    EXPECT_EQ(FullRows(), (std::vector<int16_t>{14, 15, 16, 17}));
    EXPECT_EQ(rig.game.FullRowCount, 4);
    EXPECT_EQ(rig.game.Score, 1000);
    EXPECT_EQ(rig.game.LinesCleared, 4);
    EXPECT_EQ(rig.host.Waves, std::vector<std::string>{"quad.wav"});
    rig.Tick(38);
    EXPECT_EQ(PictureOf(rig.game.Board, true).substr(2 * 11), Picture({"2........."}, true).substr(2 * 11));
}

TEST_F(Landing, NoSoundWhenSoundIsSwitchedOff) {
    rig.game.SoundOn = false;
    LandOn({"#########.", "#########.", "#########.", "#########."});
    rig.Tick();
    EXPECT_EQ(rig.game.FullRowCount, 4);
    EXPECT_TRUE(rig.host.Waves.empty());
}

TEST_F(Landing, PausingDuringTheFlashingKeepsItsCount) {
    LandOn({"#########."});
    rig.Tick(11);  // the search and ten flashing steps
    rig.game.GameRunning = false;
    rig.Tick(50);
    rig.game.GameRunning = true;
    int ticksToSpawn = 0;
    while (!rig.game.PieceFalling) {
        rig.Tick();
        ++ticksToSpawn;
    }
    EXPECT_EQ(ticksToSpawn, 27 + 1);
}

TEST_F(Landing, CollapseMovesWholeRowsAndLeavesHangingBlocksHanging) {
    rig.StartGame(0);
    rig.game.PieceFalling = false;
    rig.game.Board = BoardFromPicture({"1.........", "..........", ".........."});  // row 17 just flashed out
    rig.game.FullRows[0] = 17;
    rig.game.FullRows[1] = rig.game.FullRows[2] = rig.game.FullRows[3] = -1;
    rig.game.CollapseRows();
    EXPECT_EQ(PictureOf(rig.game.Board, true), Picture({"1.........", ".........."}, true));
}

TEST_F(Landing, CollapseOfNoRowsOrOfTheTopRowChangesNothing) {
    rig.StartGame(0);
    rig.game.PieceFalling = false;
    rig.game.Board = BoardFromPicture({"1.........", "2.3......."});
    const std::string before = PictureOf(rig.game.Board, true);
    for (int16_t& row : rig.game.FullRows) row = -1;
    rig.game.CollapseRows();
    EXPECT_EQ(PictureOf(rig.game.Board, true), before);
    rig.game.FullRows[0] = 0;  // a full top row is already empty after its flashing
    rig.game.CollapseRows();
    EXPECT_EQ(PictureOf(rig.game.Board, true), before);
}

}  // namespace
}  // namespace stonerush::testing
