// Turns SIGTERM, SIGINT and SIGHUP into a call on the GUI thread, so the
// program can close its main window (and save) instead of dying mid-write.
#pragma once

#include <functional>

namespace stonerush {

// Installs the handlers; onSignal runs from the event loop, once per signal.
void watchTerminationSignals(std::function<void()> onSignal);

}  // namespace stonerush
