// Backgrounds and block piles shared by the playfield, preview and splash
// pictures.
#pragma once

#include <QColor>
#include <QImage>
#include <QStringList>

namespace stonerush::pictures {

// A vertical gradient with a faint grid of `cell`-sized squares, like an
// empty playfield seen in the dark.
QImage makeBackdrop(int width, int height, int cell, const QColor& top, const QColor& bottom,
                    const QColor& gridLine);

// Paints a pile of tiles. Each string is one row from the top, one character
// per column: '0' to '5' a tile, anything else left empty. The last row sits
// on the bottom of the image.
void paintPile(QImage& image, const QStringList& rows, int cell);

// Turns the tiles in a rectangle to dull grey stone: the pile left behind
// when a game ends.
void petrifyPile(QImage& image, const QStringList& rows, int cell);

// A 24-bit opaque copy, the form every stored picture takes.
QImage opaque(const QImage& image);

}  // namespace stonerush::pictures
