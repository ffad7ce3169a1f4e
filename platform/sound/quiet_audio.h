// Sound is a nicety here: with no audio device or sound server the game plays
// on in silence, saying so in a single line instead of Qt's multimedia
// warnings.
#pragma once

namespace stonerush {

// Switches off Qt's qt.multimedia.* messages (other categories keep whatever
// filter was in force). Call before creating any audio object.
void quietenQtMultimedia();

// Prints "Stonerush: <why>; playing without sound." once per run, whoever
// calls it first.
void reportSilentOnce(const char* why);

}  // namespace stonerush
