// A modal text prompt with a message, a title, OK and Cancel.
#pragma once

#include <QString>

class QWidget;

// Returns the text typed, or an empty text when the prompt is cancelled.
QString InputBox(QWidget* parent, const QString& message, const QString& title,
                 const QString& defaultText = QString());

// Ends the open prompt, if any, as OK does: InputBox returns the text typed so
// far. Returns whether a prompt was open.
bool AcceptOpenPrompt();
