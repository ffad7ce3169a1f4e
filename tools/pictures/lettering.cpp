#include "tools/pictures/lettering.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPath>

namespace stonerush::pictures {

QFont pictureFont(int pixelSize, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setFamilies({QStringLiteral("DejaVu Sans")});
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

void drawLettering(QPainter& painter, const QString& text, double centreX, double baseline,
                   const LetteringStyle& style) {
    QFont font = pictureFont(style.pixelSize);
    font.setLetterSpacing(QFont::PercentageSpacing, style.letterSpacing);
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF box = path.boundingRect();
    path.translate(centreX - box.center().x(), baseline);
    const QRectF placed = path.boundingRect();

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (style.shadowOffset != 0) {
        QColor shade(0, 0, 0, 170);
        painter.setPen(QPen(shade, style.outlineWidth * 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(shade);
        painter.drawPath(path.translated(style.shadowOffset, style.shadowOffset));
    }
    // The outline is stroked at twice its width, then the fill covers the inner half.
    painter.setPen(QPen(style.outline, style.outlineWidth * 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(style.outline);
    painter.drawPath(path);
    QLinearGradient fill(0, placed.top(), 0, placed.bottom());
    fill.setColorAt(0.0, style.top);
    fill.setColorAt(1.0, style.bottom);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawPath(path);
    painter.restore();
}

void drawCaption(QPainter& painter, const QString& text, double centreX, double baseline, int pixelSize,
                 const QColor& colour, bool bold) {
    const QFont font = pictureFont(pixelSize, bold);
    const double width = QFontMetricsF(font).horizontalAdvance(text);
    painter.save();
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(QPointF(centreX - width / 2, baseline), text);
    painter.restore();
}

}  // namespace stonerush::pictures
