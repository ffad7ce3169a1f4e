// The piece catalogue: seven shapes in four rotations around a pivot block.
#include "engine/game.h"

namespace stonerush {

namespace {

// Cells 1 to 3 of each kind and rotation as (dx, dy) from the pivot. The pivot
// itself is (0, 0). Rows grow downward, so "+1 rotation" is a quarter turn
// clockwise on the screen for kinds 1 to 3.
constexpr int8_t Shapes[7][4][3][2] = {
    // kind 0: straight line, pivot second from the left; 2 repeats 0, 3 repeats 1
    {{{-1, 0}, {1, 0}, {2, 0}},
     {{0, -1}, {0, 1}, {0, 2}},
     {{-1, 0}, {1, 0}, {2, 0}},
     {{0, -1}, {0, 1}, {0, 2}}},
    // kind 1: row of three with a block under the middle
    {{{-1, 0}, {1, 0}, {0, 1}},
     {{0, -1}, {0, 1}, {-1, 0}},
     {{1, 0}, {-1, 0}, {0, -1}},
     {{0, 1}, {0, -1}, {1, 0}}},
    // kind 2: row of three with a block under its left end
    {{{-1, 0}, {1, 0}, {-1, 1}},
     {{0, -1}, {0, 1}, {-1, -1}},
     {{1, 0}, {-1, 0}, {1, -1}},
     {{0, 1}, {0, -1}, {1, 1}}},
    // kind 3: row of three with a block under its right end
    {{{-1, 0}, {1, 0}, {1, 1}},
     {{0, -1}, {0, 1}, {-1, 1}},
     {{1, 0}, {-1, 0}, {-1, -1}},
     {{0, 1}, {0, -1}, {1, -1}}},
    // kind 4: two on top (left and pivot), two below shifted right
    {{{-1, 0}, {0, 1}, {1, 1}},
     {{0, -1}, {-1, 0}, {-1, 1}},
     {{-1, 0}, {0, 1}, {1, 1}},
     {{0, -1}, {-1, 0}, {-1, 1}}},
    // kind 5: two on top (pivot and right), two below shifted left
    {{{1, 0}, {0, 1}, {-1, 1}},
     {{0, -1}, {1, 0}, {1, 1}},
     {{1, 0}, {0, 1}, {-1, 1}},
     {{0, -1}, {1, 0}, {1, 1}}},
    // kind 6: square, pivot at its top left; every rotation is the same
    {{{1, 0}, {0, 1}, {1, 1}}, {{1, 0}, {0, 1}, {1, 1}}, {{1, 0}, {0, 1}, {1, 1}}, {{1, 0}, {0, 1}, {1, 1}}},
};

}  // namespace

void Game::InitShapeTable() {
    for (int kind = 0; kind < 7; ++kind)
        for (int rotation = 0; rotation < 4; ++rotation)
            for (int cell = 1; cell <= 3; ++cell)
                for (int axis = 0; axis < 2; ++axis)
                    ShapeTable[rotation][cell][axis][kind] = Shapes[kind][rotation][cell - 1][axis];
}

PieceCells Game::CellsOf(const PieceRecord& piece) const {
    PieceCells cells{};
    for (int i = 0; i < 4; ++i) {
        cells.x[i] = piece.X + ShapeTable[piece.Rotation][i][0][piece.Kind];
        cells.y[i] = piece.Y + ShapeTable[piece.Rotation][i][1][piece.Kind];
    }
    return cells;
}

}  // namespace stonerush
