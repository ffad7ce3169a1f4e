// Display lettering for the pictures: bold DejaVu Sans, filled with a
// vertical gradient, with a dark outline and a drop shadow so it stands out
// on any background.
#pragma once

#include <QColor>
#include <QPainter>
#include <QString>

namespace stonerush::pictures {

struct LetteringStyle {
    int pixelSize = 24;
    QColor top = Qt::white;      // fill at the top of the letters
    QColor bottom = Qt::white;   // fill at the bottom of the letters
    QColor outline = Qt::black;  // drawn outside the letters
    double outlineWidth = 2.0;
    int shadowOffset = 2;          // 0 for none
    double letterSpacing = 100.0;  // percent, as QFont
};

// The font used for every text in the pictures.
QFont pictureFont(int pixelSize, bool bold = true);

// Draws `text` centred horizontally on centreX with its baseline at `baseline`.
void drawLettering(QPainter& painter, const QString& text, double centreX, double baseline,
                   const LetteringStyle& style);

// Plain centred text with no effects, for small captions.
void drawCaption(QPainter& painter, const QString& text, double centreX, double baseline, int pixelSize,
                 const QColor& colour, bool bold = true);

}  // namespace stonerush::pictures
