#include "tools/pictures/splash.h"

#include <QLinearGradient>
#include <QPainter>

#include "tools/pictures/backdrop.h"
#include "tools/pictures/lettering.h"
#include "tools/pictures/palette.h"
#include "tools/pictures/tiles.h"

namespace stonerush::pictures {
namespace {

constexpr int cell = 30;

struct FallingPiece {
    int tile;
    int column;         // of the piece's left edge, in cells
    int top;            // pixels; pieces need not sit on the grid while falling
    const char* shape;  // rows separated by '/', '#' a stone
};

void paintPiece(QImage& image, const FallingPiece& piece) {
    int row = 0, column = 0;
    for (const char* p = piece.shape; *p != '\0'; ++p) {
        if (*p == '/') {
            ++row;
            column = 0;
            continue;
        }
        if (*p == '#')
            paintTile(image, (piece.column + column) * cell, piece.top + row * cell, piece.tile, cell);
        ++column;
    }
}

// Fading streaks above each column of a falling piece, its path through the
// dark.
void paintTrails(QPainter& painter, const FallingPiece& piece) {
    const QColor colour = stoneColours()[piece.tile];
    constexpr int length = 64;
    int row = 0, column = 0;
    QList<int> seen;
    for (const char* p = piece.shape; *p != '\0'; ++p) {
        if (*p == '/') {
            ++row;
            column = 0;
            continue;
        }
        if (*p == '#' && !seen.contains(column)) {
            seen.append(column);
            const int top = piece.top + row * cell - length;
            QLinearGradient trail(0, top, 0, top + length);
            trail.setColorAt(0.0, QColor(colour.red(), colour.green(), colour.blue(), 0));
            trail.setColorAt(1.0, QColor(colour.red(), colour.green(), colour.blue(), 110));
            painter.fillRect(QRect((piece.column + column) * cell + 7, top, cell - 14, length), trail);
        }
        ++column;
    }
}

}  // namespace

QImage makeSplash() {
    QImage image = makeBackdrop(splashSize, splashSize, cell, QColor(0x14, 0x1a, 0x46),
                                QColor(0x04, 0x05, 0x12), QColor(0x1a, 0x20, 0x4a));
    const FallingPiece pieces[] = {
        {1, 0, 24, "###/.#."},  // cyan T
        {3, 4, -8, "##/##"},    // magenta square
        {5, 7, 40, "#../###"},  // yellow L
    };
    {
        QPainter painter(&image);
        for (const FallingPiece& piece : pieces) paintTrails(painter, piece);
    }
    for (const FallingPiece& piece : pieces) paintPiece(image, piece);

    // The pile the pieces fall toward; the last two pixels lie outside the window.
    paintPile(image,
              {QStringLiteral("0.....2..4"), QStringLiteral("00.44.22.4"), QStringLiteral("2114413355")},
              cell);

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    LetteringStyle title;
    title.pixelSize = 46;
    title.top = QColor(0xff, 0xf4, 0x9a);
    title.bottom = QColor(0xf2, 0x62, 0x12);
    title.outline = QColor(0x08, 0x06, 0x1c);
    title.outlineWidth = 3;
    title.shadowOffset = 4;
    drawLettering(painter, QStringLiteral("Stonerush"), splashSize / 2.0, 150, title);
    drawCaption(painter, QStringLiteral("a falling-stone puzzle"), splashSize / 2.0, 176, 14,
                QColor(0xa8, 0xc4, 0xff), false);

    // The hint on a dark band above the pile.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 150));
    painter.drawRoundedRect(QRectF(40, 194, 218, 26), 13, 13);
    drawCaption(painter, QStringLiteral("Click or press any key"), splashSize / 2.0 - 1, 212, 14,
                QColor(0xf0, 0xf4, 0xff));
    painter.end();
    return opaque(image);
}

}  // namespace stonerush::pictures
