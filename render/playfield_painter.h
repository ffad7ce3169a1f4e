// Paints the playfield and the next-piece preview from the game's grids, one
// tile or one square of background per cell. It remembers what each cell
// shows and copies only the cells that changed since the last tick (every
// cell once a view's picture has been replaced whole).
#pragma once

#include <array>
#include <cstdint>

#include "engine/board.h"

class PictureBox;

// The pictures the painter copies from and into.
struct PlayfieldPictures {
    PictureBox& mainview;        // 160 x 288, 16-pixel cells
    PictureBox& nextview;        // 128 x 128, 32-pixel cells
    const PictureBox& mainsrc;   // playfield background
    const PictureBox& nextsrc;   // preview background
    const PictureBox& bloxsrc;   // six 16 x 16 tiles side by side
    const PictureBox& nbloxsrc;  // the same tiles at 32 x 32
};

class PlayfieldPainter {
public:
    // Brings both views up to date with the grids, then asks them to repaint
    // what changed.
    void Draw(const stonerush::Board& board, const stonerush::Preview& preview,
              const PlayfieldPictures& pictures);

    // What a view's cells show: -1 the background, else the tile.
    template <size_t Cells>
    struct Shown {
        uint64_t picture = 0;  // the view's PictureId() when these were drawn
        std::array<int16_t, Cells> cells{};
    };

private:
    Shown<stonerush::boardWidth * stonerush::boardHeight> board_;
    Shown<stonerush::previewSize * stonerush::previewSize> preview_;
};
