// Block transfer between pictures: a plain copy of a rectangle of pixels.
#pragma once

class PictureBox;

// The only raster operation the game uses: the source replaces the destination.
constexpr unsigned long SRCCOPY = 0x00CC0020;

// Copies width x height pixels from source at (sx, sy) to destination at
// (x, y). Parts outside either picture are skipped. Does not repaint.
void BitBlt(PictureBox& destination, int x, int y, int width, int height, const PictureBox& source, int sx,
            int sy, unsigned long rasterOperation = SRCCOPY);
