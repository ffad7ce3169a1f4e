// The picture of the start-up window: title, falling stones and the hint
// that a click or a key goes on.
#pragma once

#include <QImage>

namespace stonerush::pictures {

inline constexpr int splashSize = 300;

QImage makeSplash();

}  // namespace stonerush::pictures
