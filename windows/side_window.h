// What every side window (high scores, About, help) shares. It belongs to the
// main window, so the window manager keeps it above that window and out of the
// task bar; it opens centred on the screen's available area; closing it deletes
// it; and however it is closed (its own button, Escape, the close box, the
// window manager's close command), its one unload gives the main window back.
// Each window runs its loading steps (disable the main window, pause a running
// game) in its own order.
#pragma once

#include <QGuiApplication>
#include <QHideEvent>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <QWindow>

#include "windows/side_window_host.h"

namespace stonerush {

template <class Base>  // QWidget or QDialog
class SideWindow : public Base {
protected:
    SideWindow(SideWindowHost& host, Qt::WindowFlags flags) : Base(nullptr, flags), m_host(host) {
        this->setAttribute(Qt::WA_DeleteOnClose);
        // The owner, not the Qt parent: a child would be disabled with the main window.
        if (QWidget* owner = host.mainWindow(); owner && owner->windowHandle()) {
            this->winId();
            this->windowHandle()->setTransientParent(owner->windowHandle());
        }
    }

    void disableMainWindow() { m_host.setMainWindowEnabled(false); }
    void pauseRunningGame() { m_host.pauseRunningGame(); }

    void setVisible(bool visible) override {
        if (visible && !m_placed) {
            m_placed = true;
            const QWidget* owner = m_host.mainWindow();
            if (const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen())
                this->setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, this->size(),
                                                      screen->availableGeometry()));
        }
        Base::setVisible(visible);
    }

    // Every way of closing hides the window, once, before it is deleted. A
    // hide the window system makes by itself (minimizing) is not a close.
    void hideEvent(QHideEvent* event) override {
        Base::hideEvent(event);
        if (!event->spontaneous()) m_host.setMainWindowEnabled(true);  // the game stays paused until PLAY
    }

private:
    SideWindowHost& m_host;
    bool m_placed = false;
};

}  // namespace stonerush
