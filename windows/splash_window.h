// The start-up window: the splash picture in a fixed dialog frame, centred,
// without caption text or a task-bar entry. It waits, with no timer, for a
// click or a key that types a character.
#pragma once

#include <QPixmap>
#include <QWidget>
#include <functional>

#include "platform/zoom.h"

namespace stonerush {

class SplashWindow : public QWidget {
    Q_OBJECT
public:
    // onClose runs exactly once, however the window is closed (click, key,
    // close(), the window system's close). It runs while the splash is still
    // visible, so a main window it shows is up before the splash goes away;
    // the splash itself never counts as the program's last window.
    explicit SplashWindow(std::function<void()> onClose, Zoom zoom = Zoom());

    // Whether a key press counts as typing a character, which closes the splash.
    static bool producesCharacter(const QKeyEvent& event);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    std::function<void()> m_onClose;
    QPixmap m_picture;
    bool m_pressed = false;
};

}  // namespace stonerush
