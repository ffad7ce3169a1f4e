#include "tools/pictures/icons.h"

#include <QPainter>
#include <array>

#include "tools/pictures/lettering.h"
#include "tools/pictures/palette.h"
#include "tools/pictures/tiles.h"

namespace stonerush::pictures {
namespace {

const std::array<QRgb, 16> vgaColours = {
    0xff000000, 0xff800000, 0xff008000, 0xff808000, 0xff000080, 0xff800080, 0xff008080, 0xffc0c0c0,
    0xff808080, 0xffff0000, 0xff00ff00, 0xffffff00, 0xff0000ff, 0xffff00ff, 0xff00ffff, 0xffffffff,
};

int distance(QRgb a, QRgb b) {
    const int dr = qRed(a) - qRed(b), dg = qGreen(a) - qGreen(b), db = qBlue(a) - qBlue(b);
    // Plain distance: weighting by the eye's sensitivity pulls saturated
    // blues toward teal, which the stones must never turn into.
    return dr * dr + dg * dg + db * db;
}

int nearestVga(QRgb colour, const QList<int>& allowed) {
    int best = allowed.front();
    for (int i : allowed) {
        if (distance(colour, vgaColours[i]) < distance(colour, vgaColours[best])) best = i;
    }
    return best;
}

// Indices into vgaColours.
constexpr int black = 0, maroon = 1, olive = 3, navy = 4, silver = 7, gray = 8, red = 9, yellow = 11,
              blue = 12, white = 15;

// A tile painted on its own and copied in, so the same crisp pixels appear
// wherever the stones are drawn.
void placeTile(QImage& image, int x, int y, int tile, int size) {
    QImage tileImage(size, size, QImage::Format_ARGB32);
    paintTile(tileImage, 0, 0, tile, size);
    QPainter painter(&image);
    painter.drawImage(x, y, tileImage);
}

}  // namespace

QImage makeAppIcon(int size) {
    QImage icon(size, size, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    const int half = size / 2;
    const int offset = size - 2 * half;                      // odd sizes: the stones sit at the bottom right
    placeTile(icon, offset + half, offset, 5, half);         // yellow on top
    placeTile(icon, offset, offset + half, 0, half);         // blue bottom left
    placeTile(icon, offset + half, offset + half, 4, half);  // red bottom right
    return icon;
}

QImage quantizeToVga(const QImage& image, const QList<int>& allowed) {
    QImage out(image.size(), QImage::Format_Indexed8);
    QList<QRgb> table(vgaColours.begin(), vgaColours.end());
    table.append(qRgba(0, 0, 0, 0));
    const int transparent = static_cast<int>(table.size()) - 1;
    out.setColorTable(table);
    const QImage source = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < source.height(); ++y) {
        for (int x = 0; x < source.width(); ++x) {
            const QRgb pixel = source.pixel(x, y);
            out.setPixel(x, y, qAlpha(pixel) < 128 ? transparent : nearestVga(pixel, allowed));
        }
    }
    return out;
}

QList<int> allVgaColours() {
    QList<int> all;
    for (int i = 0; i < static_cast<int>(vgaColours.size()); ++i) all.append(i);
    return all;
}

QImage makeProgramIcon() {
    // Each stone is reduced with only its own bright and dark colour besides
    // the greys, so no facet drifts to a neighbouring hue.
    struct Stone {
        int tile, x, y;
        QList<int> colours;
    };
    const Stone stones[] = {
        {5, 16, 0, {yellow, olive}},
        {0, 0, 16, {blue, navy}},
        {4, 16, 16, {red, maroon}},
    };
    QImage full = makeAppIcon(32);
    QImage icon = quantizeToVga(full, allVgaColours());
    for (const Stone& stone : stones) {
        QList<int> allowed = stone.colours;
        allowed.append({black, gray, silver, white});
        const QImage part = quantizeToVga(full.copy(stone.x, stone.y, 16, 16), allowed);
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) icon.setPixel(stone.x + x, stone.y + y, part.pixelIndex(x, y));
        }
    }
    return icon;
}

QImage makeHelpIcon(int size) {
    QImage icon(size, size, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    paintTile(icon, 0, 0, 0, size);
    QPainter painter(&icon);
    // Calm the facets under the mark so it stays legible at 16 pixels.
    const int rim = std::max(1, size / 16);
    painter.fillRect(QRect(rim, rim, size - 2 * rim, size - 2 * rim), QColor(0x08, 0x14, 0x58, 150));
    if (size < 32) {
        // Too small for an outline: a plain white mark on the dark stone.
        drawCaption(painter, QStringLiteral("?"), size / 2.0, size * 0.84, size * 7 / 8, Qt::white);
        return icon;
    }
    LetteringStyle style;
    style.pixelSize = size * 7 / 8;
    style.top = Qt::white;
    style.bottom = QColor(0xc8, 0xdc, 0xff);
    style.outline = QColor(0x06, 0x0c, 0x30);
    style.outlineWidth = size / 24.0;
    style.shadowOffset = 0;
    drawLettering(painter, QStringLiteral("?"), size / 2.0, size * 0.80, style);
    return icon;
}

}  // namespace stonerush::pictures
