// Window and desktop icons: the program icon (three stacked stones), its
// 16-colour form for the windows, and the help window's question-mark stone.
#pragma once

#include <QImage>
#include <QList>

namespace stonerush::pictures {

// Three stones stacked in an L, full colour, transparent around them; drawn
// at its own size for every desktop icon size.
QImage makeAppIcon(int size);

// The 32 x 32 window icon, reduced to the 16 standard VGA colours.
QImage makeProgramIcon();

// A blue stone carrying a white question mark.
QImage makeHelpIcon(int size);

// Maps every opaque pixel to the nearest allowed one of the 16 standard VGA
// colours (indices 0 to 15 in the usual order); pixels less than half opaque
// become fully transparent, colour-table entry 16.
QImage quantizeToVga(const QImage& image, const QList<int>& allowed);

}  // namespace stonerush::pictures
