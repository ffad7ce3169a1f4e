// Paints the playfield and the next-piece preview from the game's grids,
// one tile or one square of background per cell, every cell every time.
#pragma once

#include "engine/game.h"

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

// 180 playfield copies then 16 preview copies, then asks both views to repaint.
void DrawPlayfield(const stonerush::Game& game, const PlayfieldPictures& pictures);
