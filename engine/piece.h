// The seven pieces of four blocks, in four rotations around a pivot block.
#pragma once

#include <array>
#include <cstdint>

#include "engine/board.h"

namespace stonerush {

// As each enters the board (rotation 0, pivot P):
enum class PieceKind : uint8_t {
    Straight,   // #P##
    Tee,        // #P#  with a block under P
    LeftFoot,   // #P#  with a block under its left end
    RightFoot,  // #P#  with a block under its right end
    StepRight,  // #P   over  ##  one column to the right
    StepLeft,   //  P#  over ##   one column to the left
    Square,     //  P#  over  ##
};
inline constexpr int pieceKindCount = 7;

// Quarter turns clockwise on the screen from the way a piece enters.
enum class Rotation : uint8_t { Deg0, Deg90, Deg180, Deg270 };

enum class Turn : uint8_t { Clockwise, Anticlockwise };
constexpr Rotation turned(Rotation rotation, Turn turn) {
    const int step = turn == Turn::Clockwise ? 1 : 3;
    return static_cast<Rotation>((static_cast<int>(rotation) + step) % 4);
}

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

// A piece and where its pivot block stands.
struct Piece {
    PieceKind kind = PieceKind::Straight;
    Rotation rotation = Rotation::Deg0;
    int x = 0;
    int y = 0;
    Tile tile = Tile::Blue;

    bool operator==(const Piece&) const = default;
};

// The four cells a piece covers: the pivot first, then the other three.
std::array<Point, 4> cellsOf(const Piece& piece);

}  // namespace stonerush
