// Sound is a nicety here: with no audio device or sound server the game plays
// on in silence, saying so in a single line instead of Qt's multimedia
// warnings.
#pragma once

// Switches off Qt's qt.multimedia.* messages (other categories keep whatever
// filter was in force). Call before creating any audio object.
void QuietenQtMultimedia();

// Prints "Stonerush: <why>; playing without sound." once per run, whoever
// calls it first.
void ReportSilentOnce(const char* why);
