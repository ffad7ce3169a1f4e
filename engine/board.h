// The playfield and the next-piece preview: grids of cells, each empty, a
// settled block or a block of the falling piece, drawn with one of six tiles.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace stonerush {

// The six block pictures, in the order of the tile strip.
enum class Tile : uint8_t { Blue, Cyan, Green, Magenta, Red, Yellow };
inline constexpr int tileCount = 6;

enum class CellState : uint8_t {
    Empty,
    Settled,  // also "shown" while full rows flash
    Falling,  // one of the four blocks of the falling piece
};

struct Cell {
    Tile tile = Tile::Blue;  // stale while the cell is empty: nothing draws it
    CellState state = CellState::Empty;

    bool isEmpty() const { return state == CellState::Empty; }
    bool operator==(const Cell&) const = default;
};

// A W x H grid of cells indexed (x, y), x to the right, y downward; stored
// row after row.
template <int W, int H>
class Grid {
public:
    static constexpr int width = W;
    static constexpr int height = H;

    Cell& at(int x, int y) { return m_cells[x + W * y]; }
    const Cell& at(int x, int y) const { return m_cells[x + W * y]; }
    std::span<const Cell, W * H> cells() const { return m_cells; }

    bool operator==(const Grid&) const = default;

private:
    // Each Cell starts empty by its own initialisers. (An empty brace
    // initialiser here crashes GCC 12 when a Board{} is a default argument.)
    std::array<Cell, W * H> m_cells;
};

inline constexpr int boardWidth = 10;
inline constexpr int boardHeight = 18;
inline constexpr int previewSize = 4;
using Board = Grid<boardWidth, boardHeight>;
using Preview = Grid<previewSize, previewSize>;

}  // namespace stonerush
