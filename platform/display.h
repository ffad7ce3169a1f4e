// Whether the program has a screen to show its windows on, asked before the
// toolkit starts: without one the toolkit would abort the program with a core
// dump and a page of advice that does not fit.
#pragma once

#include <string>

namespace stonerush {

// What is missing, in words ("cannot open the display \":473\"", "no display
// (neither WAYLAND_DISPLAY nor DISPLAY is set)"), or an empty text when the
// windows can be shown. It also settles, for the toolkit, what the check found:
// - A platform named in QT_QPA_PLATFORM is trusted.
// - Where WAYLAND_DISPLAY is set, the toolkit is installed with its Wayland
//   platform, and the compositor answers, the windows are native Wayland ones
//   and DISPLAY is never touched (on a desktop that starts Xwayland on demand,
//   touching it would start an X server for nothing).
// - Otherwise the X server in DISPLAY must take us, and the toolkit is sent
//   straight to it.
// Where the compositor decorates windows itself, the toolkit is told it need
// not: its own decorations would load a hardware drawing stack (some 80 MB of
// Mesa) that a program drawn in software never uses. The player's own
// QT_QPA_PLATFORM and QT_WAYLAND_DISABLE_WINDOWDECORATION are left as they are.
std::string prepareDisplay();

}  // namespace stonerush
