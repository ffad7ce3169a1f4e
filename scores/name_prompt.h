// The prompt for a player's name at the end of a game that reached the table:
// "Please Enter Your Name", titled "High Score!", with OK and Cancel.
#pragma once

#include <QString>

#include "platform/zoom.h"

class QWidget;

namespace stonerush {

// Returns the text typed, or an empty text when the prompt is cancelled.
QString askPlayerName(QWidget* parent, Zoom zoom = Zoom());

// Ends the open prompt, if any, as OK does: askPlayerName returns the text
// typed so far. Returns whether a prompt was open.
bool acceptOpenPrompt();

}  // namespace stonerush
