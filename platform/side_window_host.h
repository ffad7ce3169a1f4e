// What a side window (high scores, About, help) may do to the main window.
// Handed to each side window so none of them needs to know the main window.
#pragma once

class QWidget;

class SideWindowHost {
public:
    virtual ~SideWindowHost() = default;

    // Pauses the game exactly as the PAUSE button does, if one is running
    // unpaused; does nothing otherwise. Nothing resumes it but the button.
    virtual void PauseRunningGame() = 0;

    // Enables or disables the whole main window: menus, button, scroll bar, keys.
    virtual void SetMainWindowEnabled(bool enabled) = 0;

    // The window side windows belong to and stay above; none when there is none.
    virtual QWidget* MainWindow() { return nullptr; }
};
