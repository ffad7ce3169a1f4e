// Whether the program has a screen to show its windows on, asked before the
// toolkit starts: without one the toolkit would abort the program with a core
// dump and a page of advice that does not fit.
#pragma once

#include <string>

namespace stonerush {

// What is missing, in words ("cannot open the display \":473\"", "no display
// (DISPLAY is not set)"), or an empty text when the windows can be shown. A
// platform named in QT_QPA_PLATFORM is trusted, and so is a Wayland session
// when DISPLAY is not set; otherwise the X server in DISPLAY must take us.
std::string missingDisplay();

}  // namespace stonerush
