// The picture of the start-up window: title, falling stones and the hint
// that a click or a key goes on.
#pragma once

#include <QImage>

namespace pictures {

inline constexpr int kSplashSize = 300;

QImage MakeSplash();

}  // namespace pictures
