// What every side window (high scores, About, help) shares. It belongs to the
// main window, so the window manager keeps it above that window and out of the
// task bar; it opens centred on the screen's available area; closing it deletes
// it; and however it is closed (its own button, Escape, the close box, the
// window manager's close command), its one Unload gives the main window back.
// Each window runs the Load steps below in its own order.
#pragma once

#include <QGuiApplication>
#include <QHideEvent>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <QWindow>

#include "platform/side_window_host.h"

template <class Base>  // QWidget or QDialog
class SideWindow : public Base {
protected:
    SideWindow(SideWindowHost& host, Qt::WindowFlags flags) : Base(nullptr, flags), host_(host) {
        this->setAttribute(Qt::WA_DeleteOnClose);
        // The owner, not the Qt parent: a child would be disabled with the main window.
        if (QWidget* owner = host.MainWindow(); owner && owner->windowHandle()) {
            this->winId();
            this->windowHandle()->setTransientParent(owner->windowHandle());
        }
    }

    // Load steps.
    void DisableMainWindow() { host_.SetMainWindowEnabled(false); }
    void PauseRunningGame() { host_.PauseRunningGame(); }

    void setVisible(bool visible) override {
        if (visible && !placed_) {
            placed_ = true;
            const QWidget* owner = host_.MainWindow();
            if (const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen())
                this->setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, this->size(),
                                                      screen->availableGeometry()));
        }
        Base::setVisible(visible);
    }

    // Unload. Every way of closing hides the window, once, before it is
    // deleted. A hide the window system makes by itself (minimizing) is not a close.
    void hideEvent(QHideEvent* event) override {
        Base::hideEvent(event);
        if (!event->spontaneous()) host_.SetMainWindowEnabled(true);  // the game stays paused until PLAY
    }

private:
    SideWindowHost& host_;
    bool placed_ = false;
};
