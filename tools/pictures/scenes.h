// The pictures that fill the playfield and the preview when no piece is
// being drawn: the idle/paused pictures and the game-over picture.
#pragma once

#include <QImage>

namespace pictures {

inline constexpr int kFieldWidth = 160;
inline constexpr int kFieldHeight = 288;
inline constexpr int kPreviewSize = 128;

// Shown at launch and whenever a game is paused, so it says neither
// "paused" nor "press start": the title, the six stones and a pile.
QImage MakeIdleField();

// The preview while a game is paused: the next piece stays hidden.
QImage MakePausedPreview();

QImage MakeGameOver();

}  // namespace pictures
