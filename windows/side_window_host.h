// What a side window (high scores, About, help) may ask of the main window,
// so that none of them needs to know it.
#pragma once

class QWidget;

namespace stonerush {

class SideWindowHost {
public:
    virtual ~SideWindowHost() = default;

    // Pauses the game exactly as the PAUSE button does, if one is running
    // unpaused; does nothing otherwise. Nothing resumes it but the button.
    virtual void pauseRunningGame() = 0;

    // Enables or disables the whole main window: menus, button, slider, keys.
    virtual void setMainWindowEnabled(bool enabled) = 0;

    // The window side windows belong to and stay above; none when there is none.
    virtual QWidget* mainWindow() { return nullptr; }
};

}  // namespace stonerush
