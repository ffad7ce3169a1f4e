#include "tools/pictures/tiles.h"

#include <algorithm>
#include <cstdlib>

#include "tools/pictures/palette.h"

namespace stonerush::pictures {
namespace {

enum class Facet { Left, Right, Top, Bottom, Diagonal };

// Doubled coordinates from the centre are odd integers, so a pixel is either
// exactly on a diagonal or clearly inside one facet.
Facet facetAt(int x, int y, int size) {
    const int u = 2 * x + 1 - size;
    const int v = 2 * y + 1 - size;
    if (std::abs(u) == std::abs(v)) return Facet::Diagonal;
    if (std::abs(u) > std::abs(v)) return u < 0 ? Facet::Left : Facet::Right;
    return v < 0 ? Facet::Top : Facet::Bottom;
}

// Colour of a pixel inside the rim. Light falls from the top left: the left
// facet is a touch brighter toward its outer edge, the right facet a touch
// darker, and each facet glows slightly near the centre like a cut stone.
QColor facetColour(const QColor& stone, int x, int y, int size) {
    const int half = size / 2;
    const double fromCentre = (std::abs(2 * x + 1 - size) + std::abs(2 * y + 1 - size)) / (2.0 * size);
    switch (facetAt(x, y, size)) {
        case Facet::Left:
            return lighter(stone, 0.10 * fromCentre);
        case Facet::Right:
            return darker(stone, 0.10 * fromCentre);
        case Facet::Top:  // lit from above: lighter toward the outer edge
            return darker(stone, 0.26 + 0.10 * y / half);
        case Facet::Bottom:  // in shadow: darkest at the bottom edge
            return darker(stone, 0.36 + 0.10 * (y - half) / half);
        case Facet::Diagonal:
            break;
    }
    return stone;
}

// The light diagonal lines, brightest on the arm toward the top-left corner.
QColor lineColour(const QColor& stone, int x, int y, int size) {
    const bool towardTopLeft = x + y < size - 1 && std::abs(x - y) <= size / 64;
    return lighter(stone, towardTopLeft ? 0.62 : 0.48);
}

// Distance of a pixel from the nearer diagonal, counted along a row.
int diagonalDistance(int x, int y, int size) {
    return std::min(std::abs(x - y), std::abs(x + y - (size - 1)));
}

}  // namespace

void paintTile(QImage& image, int left, int top, int tile, int size) {
    const QColor stone = stoneColours().at(tile);
    const int rim = std::max(1, size / 16);  // 1 pixel at 16, 2 at 32
    // The diagonal lines are one pixel up to 63 pixels and grow beyond; from 32
    // pixels on they have a soft halo so they read as polished edges.
    const int lineHalf = size / 64;
    const int halo = size >= 32 ? lineHalf + std::max(1, size / 32 - 1) : lineHalf;
    const QColor highlight = lighter(stone, 0.55);
    const QColor shadow = darker(stone, 0.62);
    const QColor outline = darker(stone, 0.78);

    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            QColor c;
            const bool onTopLeftRim = x < rim || y < rim;
            const bool onBottomRightRim = x >= size - rim || y >= size - rim;
            if (onTopLeftRim || onBottomRightRim) {
                // The corners shared by a light and a dark rim split along the
                // anti-diagonal, like a real bevel.
                const bool light = onTopLeftRim && (!onBottomRightRim || x + y < size - 1);
                c = light ? highlight : shadow;
                if (size >= 32 && (x == size - 1 || y == size - 1)) c = outline;
                if (size >= 32 && light && (x == 0 || y == 0)) c = lighter(stone, 0.35);
            } else if (const int d = diagonalDistance(x, y, size); d <= lineHalf) {
                c = lineColour(stone, x, y, size);
            } else if (d <= halo) {
                c = mix(facetColour(stone, x, y, size), lighter(stone, 0.5), 0.35);
            } else {
                c = facetColour(stone, x, y, size);
            }
            image.setPixelColor(left + x, top + y, c);
        }
    }
}

QImage makeTileStrip(int size) {
    QImage strip(size * tileCount, size, QImage::Format_RGB888);
    for (int t = 0; t < tileCount; ++t) paintTile(strip, size * t, 0, t, size);
    return strip;
}

}  // namespace stonerush::pictures
