// The pictures that fill the playfield and the preview when no piece is
// being drawn: the idle/paused pictures and the game-over picture.
#pragma once

#include <QImage>

namespace stonerush::pictures {

inline constexpr int fieldWidth = 160;
inline constexpr int fieldHeight = 288;
inline constexpr int previewSize = 128;

// Shown at launch and whenever a game is paused, so it says neither
// "paused" nor "press start": the title, the six stones and a pile.
QImage makeIdleField();

// The preview while a game is paused: the next piece stays hidden.
QImage makePausedPreview();

QImage makeGameOver();

}  // namespace stonerush::pictures
