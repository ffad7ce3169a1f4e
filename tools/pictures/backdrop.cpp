#include "tools/pictures/backdrop.h"

#include <QLinearGradient>
#include <QPainter>
#include <algorithm>

#include "tools/pictures/palette.h"
#include "tools/pictures/tiles.h"

namespace stonerush::pictures {

QImage makeBackdrop(int width, int height, int cell, const QColor& top, const QColor& bottom,
                    const QColor& gridLine) {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient fill(0, 0, 0, height);
    fill.setColorAt(0.0, top);
    fill.setColorAt(1.0, bottom);
    painter.fillRect(image.rect(), fill);
    painter.setPen(gridLine);
    for (int x = cell - 1; x < width; x += cell) painter.drawLine(x, 0, x, height - 1);
    for (int y = cell - 1; y < height; y += cell) painter.drawLine(0, y, width - 1, y);
    return image;
}

namespace {

template <typename Visit>
void forEachTile(const QImage& image, const QStringList& rows, int cell, Visit visit) {
    const int firstRow = image.height() / cell - static_cast<int>(rows.size());
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows[r].size(); ++c) {
            const int tile = rows[r][c].unicode() - '0';
            if (tile >= 0 && tile < tileCount) visit(c * cell, (firstRow + r) * cell, tile);
        }
    }
}

}  // namespace

void paintPile(QImage& image, const QStringList& rows, int cell) {
    forEachTile(image, rows, cell, [&](int x, int y, int tile) { paintTile(image, x, y, tile, cell); });
}

void petrifyPile(QImage& image, const QStringList& rows, int cell) {
    const QColor stone(0x8a, 0x86, 0x90);
    forEachTile(image, rows, cell, [&](int x0, int y0, int) {
        for (int y = y0; y < y0 + cell; ++y) {
            for (int x = x0; x < x0 + cell; ++x) {
                // Keep the tile's light and shade, lose its colour.
                const double light = qGray(image.pixel(x, y)) / 255.0;
                image.setPixelColor(x, y, darker(stone, std::clamp(0.85 - 0.95 * light, 0.0, 1.0)));
            }
        }
    });
}

QImage opaque(const QImage& image) {
    return image.convertToFormat(QImage::Format_RGB888);
}

}  // namespace stonerush::pictures
