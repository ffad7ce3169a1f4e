// The stone tiles: a square cut along its diagonals into four facets, the
// left and right ones in the stone's colour, the top and bottom ones darker,
// with light lines along the diagonals and a bevelled rim.
#pragma once

#include <QImage>

namespace stonerush::pictures {

// Paints tile `tile` (0 to 5) as a size x size square with its top-left
// corner at (left, top) of `image`, pixel by pixel so every size stays crisp.
void paintTile(QImage& image, int left, int top, int tile, int size);

// The six tiles side by side, tile t at x = size * t: a 24-bit opaque strip.
QImage makeTileStrip(int size);

}  // namespace stonerush::pictures
