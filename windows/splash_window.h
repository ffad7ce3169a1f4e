// The start-up window: the splash picture in a fixed dialog frame, centred,
// without caption text or a task-bar entry. It waits, with no timer, for a
// click or a key that types a character.
#pragma once

#include <QPixmap>
#include <QWidget>
#include <functional>

class frmSplash : public QWidget {
    Q_OBJECT
public:
    // onUnload runs exactly once, however the window is closed (click, key,
    // close(), the window system's close). It runs while the splash is still
    // visible, so a main window it shows is up before the splash goes away;
    // the splash itself never counts as the program's last window.
    explicit frmSplash(std::function<void()> onUnload);

    // Whether a key press counts as typing a character, which closes the splash.
    static bool ProducesCharacter(const QKeyEvent& event);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    std::function<void()> onUnload_;
    QPixmap picture_;
    bool pressed_ = false;
};
