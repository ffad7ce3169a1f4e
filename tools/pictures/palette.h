// Colours shared by every picture: the six stone colours in tile order and
// small helpers to darken, lighten and blend them.
#pragma once

#include <QColor>
#include <array>

namespace stonerush::pictures {

inline constexpr int tileCount = 6;

// Tile order is fixed by the game: blue, cyan, green, magenta, red, yellow.
inline const std::array<QColor, tileCount>& stoneColours() {
    static const std::array<QColor, tileCount> colours = {
        QColor(0x2a, 0x5c, 0xf5),  // blue
        QColor(0x18, 0xd0, 0xe6),  // cyan
        QColor(0x2c, 0xc8, 0x3a),  // green
        QColor(0xd2, 0x36, 0xd6),  // magenta
        QColor(0xe4, 0x2a, 0x26),  // red
        QColor(0xf4, 0xd2, 0x1c),  // yellow
    };
    return colours;
}

// Blend a toward b: t = 0 gives a, t = 1 gives b.
inline QColor mix(const QColor& a, const QColor& b, double t) {
    auto lerp = [t](int x, int y) { return static_cast<int>(x + (y - x) * t + 0.5); };
    return QColor(lerp(a.red(), b.red()), lerp(a.green(), b.green()), lerp(a.blue(), b.blue()));
}

inline QColor darker(const QColor& c, double t) {
    return mix(c, Qt::black, t);
}
inline QColor lighter(const QColor& c, double t) {
    return mix(c, Qt::white, t);
}

}  // namespace stonerush::pictures
