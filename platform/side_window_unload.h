// The one thing every side window does when it goes away, however it is
// closed: give the main window back to the player. A window may see several
// closing notifications (a dialog's done() is followed by its close event),
// so the main window is enabled exactly once.
#pragma once

#include "platform/side_window_host.h"

class SideWindowUnload {
public:
    explicit SideWindowUnload(SideWindowHost& host) : host_(host) {}

    // Disables the main window for as long as this side window is open.
    void Load() { host_.SetMainWindowEnabled(false); }

    void Unload() {
        if (unloaded_) return;
        unloaded_ = true;
        host_.SetMainWindowEnabled(true);
    }

    bool IsUnloaded() const { return unloaded_; }

private:
    SideWindowHost& host_;
    bool unloaded_ = false;
};
