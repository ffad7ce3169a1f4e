// The piece catalogue: seven shapes, four rotations each, around a pivot.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "tests/engine/engine_test_support.h"

namespace stonerush::testing {
namespace {

using CellSet = std::set<std::pair<int, int>>;

class Shapes : public ::testing::Test {
protected:
    Shapes() { rig.game.InitShapeTable(); }

    CellSet CellsAt(int kind, int rotation, int x = 4, int y = 8) {
        const PieceCells cells =
            rig.game.CellsOf(PieceRecord{int16_t(kind), int16_t(rotation), int16_t(x), int16_t(y), 0});
        CellSet set;
        for (int i = 0; i < 4; ++i) set.insert({cells.x[i], cells.y[i]});
        return set;
    }

    // The piece drawn alone on an empty board, pivot at (x, y).
    std::string Drawn(int kind, int rotation, int x, int y) {
        rig.game.Board = EmptyBoard();
        rig.PlacePiece({int16_t(kind), int16_t(rotation), int16_t(x), int16_t(y), 0});
        return PictureOf(rig.game.Board);
    }

    EngineRig rig;
};

TEST_F(Shapes, EveryKindAndRotationCoversFourDistinctCellsWithThePivotFirst) {
    for (int kind = 0; kind < 7; ++kind) {
        for (int rotation = 0; rotation < 4; ++rotation) {
            SCOPED_TRACE(::testing::Message() << "kind " << kind << " rotation " << rotation);
            const PieceCells cells = rig.game.CellsOf({int16_t(kind), int16_t(rotation), 4, 8, 0});
            EXPECT_EQ(cells.x[0], 4);
            EXPECT_EQ(cells.y[0], 8);
            EXPECT_EQ(CellsAt(kind, rotation).size(), 4u);
        }
    }
}

TEST_F(Shapes, SquareLooksTheSameInEveryRotation) {
    for (int rotation = 1; rotation < 4; ++rotation) EXPECT_EQ(CellsAt(6, rotation), CellsAt(6, 0));
}

TEST_F(Shapes, StraightAndSkewPiecesOnlyAlternateBetweenTwoRotations) {
    for (int kind : {0, 4, 5}) {
        SCOPED_TRACE(::testing::Message() << "kind " << kind);
        EXPECT_EQ(CellsAt(kind, 2), CellsAt(kind, 0));
        EXPECT_EQ(CellsAt(kind, 3), CellsAt(kind, 1));
        EXPECT_NE(CellsAt(kind, 1), CellsAt(kind, 0));
    }
}

TEST_F(Shapes, KindsOneToThreeTurnAQuarterClockwisePerRotation) {
    for (int kind = 1; kind <= 3; ++kind) {
        for (int rotation = 0; rotation < 4; ++rotation) {
            SCOPED_TRACE(::testing::Message() << "kind " << kind << " rotation " << rotation);
            // On a screen whose rows run downward, clockwise maps (dx, dy) to (-dy, dx).
            CellSet turned;
            for (auto [x, y] : CellsAt(kind, rotation, 0, 0)) turned.insert({-y, x});
            EXPECT_EQ(CellsAt(kind, (rotation + 1) % 4, 0, 0), turned);
        }
    }
}

TEST_F(Shapes, EveryShapeEntersWithinRowsZeroAndOneAndColumnsThreeToSix) {
    for (int kind = 0; kind < 7; ++kind)
        for (auto [x, y] : CellsAt(kind, 0, 4, 0)) {
            EXPECT_TRUE(x >= 3 && x <= 6) << "kind " << kind;
            EXPECT_TRUE(y >= 0 && y <= 1) << "kind " << kind;
        }
}

TEST_F(Shapes, EntryShapesLookAsDesigned) {
    // Pivot at (4, 16): the bottom two rows show each kind in rotation 0.
    EXPECT_EQ(Drawn(0, 0, 4, 16), Picture({"...@@@@...", ".........."}));
    EXPECT_EQ(Drawn(1, 0, 4, 16), Picture({"...@@@....", "....@....."}));
    EXPECT_EQ(Drawn(2, 0, 4, 16), Picture({"...@@@....", "...@......"}));
    EXPECT_EQ(Drawn(3, 0, 4, 16), Picture({"...@@@....", ".....@...."}));
    EXPECT_EQ(Drawn(4, 0, 4, 16), Picture({"...@@.....", "....@@...."}));
    EXPECT_EQ(Drawn(5, 0, 4, 16), Picture({"....@@....", "...@@....."}));
    EXPECT_EQ(Drawn(6, 0, 4, 16), Picture({"....@@....", "....@@...."}));
}

TEST_F(Shapes, UprightShapesLookAsDesigned) {
    // The straight piece stands with its pivot second from the top (row 15);
    // upright, kind 4 uses the pivot's column and the one to its left, kind 5
    // the one to its right (pivot in row 16).
    EXPECT_EQ(Drawn(0, 1, 4, 15), Picture({"....@.....", "....@.....", "....@.....", "....@....."}));
    EXPECT_EQ(Drawn(4, 1, 4, 16), Picture({"....@.....", "...@@.....", "...@......"}));
    EXPECT_EQ(Drawn(5, 1, 4, 16), Picture({"....@.....", "....@@....", ".....@...."}));
    EXPECT_EQ(Drawn(1, 1, 4, 16), Picture({"....@.....", "...@@.....", "....@....."}));
}

}  // namespace
}  // namespace stonerush::testing
