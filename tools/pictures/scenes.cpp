#include "tools/pictures/scenes.h"

#include <QPainter>

#include "tools/pictures/backdrop.h"
#include "tools/pictures/lettering.h"
#include "tools/pictures/palette.h"
#include "tools/pictures/tiles.h"

namespace stonerush::pictures {
namespace {

constexpr int cell = 16;

const QColor nightTop(0x10, 0x16, 0x3c);
const QColor nightBottom(0x04, 0x05, 0x10);
const QColor nightGrid(0x16, 0x1c, 0x40);

LetteringStyle titleStyle(int pixelSize, const QColor& top, const QColor& bottom) {
    LetteringStyle style;
    style.pixelSize = pixelSize;
    style.top = top;
    style.bottom = bottom;
    style.outline = QColor(0x06, 0x08, 0x18);
    style.outlineWidth = 2.5;
    style.shadowOffset = 3;
    return style;
}

}  // namespace

QImage makeIdleField() {
    QImage image = makeBackdrop(fieldWidth, fieldHeight, cell, nightTop, nightBottom, nightGrid);

    // A half-built game at the bottom, no row complete.
    paintPile(image,
              {
                  QStringLiteral("........5."),
                  QStringLiteral("1.....3.55"),
                  QStringLiteral("11..4.33.5"),
                  QStringLiteral("21.4440322"),
                  QStringLiteral("222000.322"),
              },
              cell);
    // One stone on its way down.
    paintTile(image, 4 * cell, 9 * cell, 3, cell);
    paintTile(image, 5 * cell, 9 * cell, 3, cell);
    paintTile(image, 5 * cell, 10 * cell, 3, cell);
    paintTile(image, 6 * cell, 9 * cell, 3, cell);

    QPainter painter(&image);
    drawLettering(painter, QStringLiteral("STONE"), fieldWidth / 2.0, 52,
                  titleStyle(36, QColor(0xe8, 0xf6, 0xff), QColor(0x3c, 0x9c, 0xf0)));
    drawLettering(painter, QStringLiteral("RUSH"), fieldWidth / 2.0, 92,
                  titleStyle(38, QColor(0xff, 0xf0, 0x80), QColor(0xf0, 0x60, 0x10)));
    painter.end();
    // The six stones in a row under the title.
    for (int t = 0; t < tileCount; ++t) paintTile(image, 2 * cell + t * cell, 6 * cell + 8, t, cell);
    return opaque(image);
}

QImage makePausedPreview() {
    QImage image = makeBackdrop(previewSize, previewSize, 32, nightTop, nightBottom, nightGrid);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // Two bevelled bars, the pause sign, built from the stone colours.
    const QColor bar = stoneColours()[1];
    for (int left : {40, 72}) {
        const QRectF body(left, 30, 18, 60);
        painter.setPen(QPen(QColor(0x06, 0x08, 0x18), 3));
        painter.setBrush(darker(bar, 0.35));
        painter.drawRoundedRect(body.translated(2, 2), 4, 4);
        QLinearGradient fill(body.left(), 0, body.right(), 0);
        fill.setColorAt(0.0, lighter(bar, 0.45));
        fill.setColorAt(0.5, bar);
        fill.setColorAt(1.0, darker(bar, 0.3));
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        painter.drawRoundedRect(body, 4, 4);
    }
    drawCaption(painter, QStringLiteral("NEXT"), previewSize / 2.0, 114, 15, QColor(0x70, 0x80, 0xb8));
    painter.end();
    return opaque(image);
}

QImage makeGameOver() {
    QImage image = makeBackdrop(fieldWidth, fieldHeight, cell, QColor(0x30, 0x06, 0x0a),
                                QColor(0x08, 0x01, 0x02), QColor(0x3a, 0x0c, 0x10));
    // The pile that reached the top, turned to grey stone.
    const QStringList pile = {
        QStringLiteral("....33...."), QStringLiteral("....3....."), QStringLiteral("...55....."),
        QStringLiteral(".1.5..2..."), QStringLiteral(".1.54.2..."), QStringLiteral("11.444224."),
        QStringLiteral("00.0.3.4.5"), QStringLiteral("0.333.4455"), QStringLiteral("02211.4.55"),
        QStringLiteral("22.1.00.33"), QStringLiteral("2.011..333"), QStringLiteral("44.0.55.22"),
        QStringLiteral("4.100.5522"), QStringLiteral("441.33.5.2"), QStringLiteral(".41.033.42"),
        QStringLiteral("5.2.0.3444"), QStringLiteral("55221.0.11"), QStringLiteral("5.22.00011"),
    };
    paintPile(image, pile, cell);
    petrifyPile(image, pile, cell);

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF band(6, 92, 148, 104);
    painter.setPen(QPen(QColor(0xe0, 0x40, 0x30), 2));
    painter.setBrush(QColor(0x0c, 0x02, 0x04, 225));
    painter.drawRoundedRect(band, 8, 8);
    painter.setPen(QPen(QColor(0x60, 0x10, 0x10), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(band.adjusted(4, 4, -4, -4), 5, 5);
    LetteringStyle style = titleStyle(38, QColor(0xff, 0xe0, 0x60), QColor(0xe0, 0x20, 0x10));
    style.outline = QColor(0x20, 0x02, 0x02);
    drawLettering(painter, QStringLiteral("GAME"), fieldWidth / 2.0, 138, style);
    drawLettering(painter, QStringLiteral("OVER"), fieldWidth / 2.0, 182, style);
    painter.end();
    return opaque(image);
}

}  // namespace stonerush::pictures
