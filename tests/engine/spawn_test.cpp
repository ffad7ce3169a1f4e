// Next-piece generation: the odds of kinds and tiles, the preview and the entry.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ostream>

#include "tests/engine/engine_test_support.h"

namespace stonerush::testing {
namespace {

const float LargestBelowOne = std::nextafter(1.0f, 0.0f);

TEST(RoundHalfEven, SendsExactHalvesToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(0.5f), 0);
    EXPECT_EQ(RoundHalfEven(1.5f), 2);
    EXPECT_EQ(RoundHalfEven(2.5f), 2);
    EXPECT_EQ(RoundHalfEven(3.5f), 4);
    EXPECT_EQ(RoundHalfEven(4.5f), 4);
    EXPECT_EQ(RoundHalfEven(5.5f), 6);
    EXPECT_EQ(RoundHalfEven(2.5001f), 3);
    EXPECT_EQ(RoundHalfEven(1.4999f), 1);
}

struct Draw {
    float value;
    int kind;
    int tile;
};

void PrintTo(const Draw& draw, std::ostream* out) {
    *out << draw.value << " -> kind " << draw.kind << ", tile " << draw.tile;
}

class RandomBoundaries : public ::testing::TestWithParam<Draw> {};

// A new game draws the first piece (tile, then kind) and then, at its spawn,
// the previewed one: four values in that order.
TEST_P(RandomBoundaries, DecideKindAndTile) {
    const Draw draw = GetParam();
    EngineRig rig;
    rig.host.RandomScript = {draw.value, 0.0f, 0.0f, draw.value};
    rig.StartGame();
    EXPECT_EQ(rig.host.RandomCalls, 4);
    EXPECT_EQ(rig.game.ActivePiece.Tile, draw.tile);
    EXPECT_EQ(rig.game.ActivePiece.Kind, 0);
    EXPECT_EQ(rig.game.NextPiece.Tile, 0);
    EXPECT_EQ(rig.game.NextPiece.Kind, draw.kind);
}

INSTANTIATE_TEST_SUITE_P(Engine, RandomBoundaries,
                         ::testing::Values(Draw{0.0f, 0, 0},              // the smallest value
                                           Draw{0.25f, 2, 1},             // 1.5 -> 2; 1.25 -> 1
                                           Draw{0.5f, 3, 2},              // 3.0; 2.5 -> 2
                                           Draw{0.75f, 4, 4},             // 4.5 -> 4; 3.75 -> 4
                                           Draw{0.85f, 5, 4},             // 5.1; 4.25
                                           Draw{LargestBelowOne, 6, 5}),  // the largest value
                         [](const ::testing::TestParamInfo<Draw>& info) {
                             return "Kind" + std::to_string(info.param.kind) + "Tile" +
                                    std::to_string(info.param.tile);
                         });

TEST(Spawn, TheNewPieceEntersAtColumnFourRowZeroUnturnedAndAnswersKeysAtOnce) {
    EngineRig rig;
    rig.StartGame();
    rig.game.Board = EmptyBoard();
    rig.game.PieceFalling = false;
    rig.game.ActivePiece = {1, 3, 8, 15, 4};
    rig.game.NextPiece = {5, 2, 0, 0, 3};
    rig.game.MoveDelay = 4;
    rig.game.SpawnNextPiece();
    EXPECT_EQ(rig.game.ActivePiece, (PieceRecord{5, 0, 4, 0, 3}));
    EXPECT_EQ(rig.game.MoveDelay, 0);
    EXPECT_FALSE(rig.game.GameOver);
    EXPECT_EQ(PictureOf(rig.game.Board, true),
              Picture({"....33....", "...33.....", "..........", "..........", "..........", "..........",
                       "..........", "..........", "..........", "..........", "..........", "..........",
                       "..........", "..........", "..........", "..........", "..........", ".........."},
                      true));
}

TEST(Spawn, PreviewShowsTheNextPieceUnturnedWithItsPivotAtOneOne) {
    EngineRig rig;
    rig.host.RandomScript = {0.0f, 0.0f, 0.5f, LargestBelowOne};  // preview: tile 2 (2.5), square
    rig.StartGame();
    EXPECT_EQ(PictureOf(rig.game.PreviewGrid), "....\n.##.\n.##.\n....\n");
    EXPECT_EQ(rig.game.PreviewGrid(2, 2).Tile, 2);

    rig.game.NextPiece = {0, 0, 0, 0, 1};  // the straight piece comes next
    rig.game.Board = EmptyBoard();
    rig.host.RandomScript = {0.25f, 0.0f};  // tile 1 (1.25), the straight piece again
    rig.game.SpawnNextPiece();
    EXPECT_EQ(PictureOf(rig.game.PreviewGrid), "....\n####\n....\n....\n");
    EXPECT_EQ(rig.game.PreviewGrid(3, 1).Tile, 1);
}

TEST(Spawn, PreviewStaysWithinRowsOneAndTwoForEveryKind) {
    EngineRig rig;
    rig.StartGame();
    for (int kind = 0; kind < 7; ++kind) {
        rig.game.Board = EmptyBoard();
        rig.host.RandomScript = {0.0f, float(kind) / 6.0f};
        rig.game.SpawnNextPiece();
        ASSERT_EQ(rig.game.NextPiece.Kind, kind);
        const std::string preview = PictureOf(rig.game.PreviewGrid);
        EXPECT_EQ(preview.substr(0, 5), "....\n") << preview;
        EXPECT_EQ(preview.substr(15, 5), "....\n") << preview;
        EXPECT_EQ(std::count(preview.begin(), preview.end(), '#'), 4) << preview;
        EXPECT_EQ(rig.game.PreviewGrid(1, 1).State, CellSettled) << preview;
    }
}

}  // namespace
}  // namespace stonerush::testing
