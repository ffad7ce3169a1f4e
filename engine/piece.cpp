// The piece catalogue: where the three blocks other than the pivot stand, for
// each kind and rotation. Rows grow downward, so one rotation further is a
// quarter turn clockwise on the screen: (dx, dy) becomes (-dy, dx).
#include "engine/piece.h"

namespace stonerush {

namespace {

using Offsets = std::array<Point, 3>;
using Rotations = std::array<Offsets, 4>;

constexpr Offsets lying{{{-1, 0}, {1, 0}, {2, 0}}};
constexpr Offsets standing{{{0, -1}, {0, 1}, {0, 2}}};
constexpr Offsets stepRightFlat{{{-1, 0}, {0, 1}, {1, 1}}};
constexpr Offsets stepRightUpright{{{0, -1}, {-1, 0}, {-1, 1}}};  // leans left
constexpr Offsets stepLeftFlat{{{1, 0}, {0, 1}, {-1, 1}}};
constexpr Offsets stepLeftUpright{{{0, -1}, {1, 0}, {1, 1}}};  // leans right
constexpr Offsets square{{{1, 0}, {0, 1}, {1, 1}}};

// Indexed by PieceKind, then Rotation. The straight piece and the two steps
// look the same after two turns, the square after every turn.
constexpr std::array<Rotations, pieceKindCount> shapeTable{{
    {lying, standing, lying, standing},
    {{{{{-1, 0}, {1, 0}, {0, 1}}},
      {{{0, -1}, {0, 1}, {-1, 0}}},
      {{{1, 0}, {-1, 0}, {0, -1}}},
      {{{0, 1}, {0, -1}, {1, 0}}}}},
    {{{{{-1, 0}, {1, 0}, {-1, 1}}},
      {{{0, -1}, {0, 1}, {-1, -1}}},
      {{{1, 0}, {-1, 0}, {1, -1}}},
      {{{0, 1}, {0, -1}, {1, 1}}}}},
    {{{{{-1, 0}, {1, 0}, {1, 1}}},
      {{{0, -1}, {0, 1}, {-1, 1}}},
      {{{1, 0}, {-1, 0}, {-1, -1}}},
      {{{0, 1}, {0, -1}, {1, -1}}}}},
    {stepRightFlat, stepRightUpright, stepRightFlat, stepRightUpright},
    {stepLeftFlat, stepLeftUpright, stepLeftFlat, stepLeftUpright},
    {square, square, square, square},
}};

}  // namespace

std::array<Point, 4> cellsOf(const Piece& piece) {
    const Offsets& offsets = shapeTable[static_cast<int>(piece.kind)][static_cast<int>(piece.rotation)];
    std::array<Point, 4> cells{Point{piece.x, piece.y}};
    for (int i = 0; i < 3; ++i) cells[i + 1] = {piece.x + offsets[i].x, piece.y + offsets[i].y};
    return cells;
}

}  // namespace stonerush
