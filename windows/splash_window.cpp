#include "windows/splash_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>

#include "platform/task_bar.h"

frmSplash::frmSplash(std::function<void()> onUnload)
    // A fixed dialog frame with only a close box. A dialog, unlike a
    // splash-screen window, is given the keyboard focus when it appears.
    : QWidget(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                           Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      onUnload_(std::move(onUnload)),
      picture_(QStringLiteral(":/assets/splash.jpg")) {
    setAttribute(Qt::WA_DeleteOnClose);
    // Closing the splash must never end the program: the main window it
    // brings up is the one that counts.
    setAttribute(Qt::WA_QuitOnClose, false);
    // No caption text: an empty title would fall back to the program's name.
    setWindowTitle(QStringLiteral(" "));
    KeepOutOfTaskBar(this);
    setFocusPolicy(Qt::StrongFocus);
    setFixedSize(298, 298);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen->geometry()));
}

// The 300 x 300 picture overhangs the 298 x 298 window by two pixels.
void frmSplash::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture_);
}

// A click is a press and a release on the window.
void frmSplash::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton || event->button() == Qt::RightButton;
}

void frmSplash::mouseReleaseEvent(QMouseEvent* event) {
    if (pressed_ && rect().contains(event->position().toPoint())) close();
    pressed_ = false;
}

bool frmSplash::ProducesCharacter(const QKeyEvent& event) {
    const QString text = event.text();
    // Delete reports a character code of its own but types nothing.
    return !text.isEmpty() && text != QStringLiteral("\x7f");
}

void frmSplash::keyPressEvent(QKeyEvent* event) {
    if (ProducesCharacter(*event))
        close();
    else
        QWidget::keyPressEvent(event);
}

void frmSplash::closeEvent(QCloseEvent* event) {
    event->accept();
    if (onUnload_) {
        // Cleared first, so that the call cannot run twice even if it
        // closes the splash again.
        auto unload = std::move(onUnload_);
        onUnload_ = nullptr;
        unload();
    }
}
