#include "windows/splash_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>

#include "platform/task_bar.h"

namespace stonerush {

SplashWindow::SplashWindow(std::function<void()> onClose, Zoom zoom)
    // A fixed dialog frame with only a close box. A dialog, unlike a
    // splash-screen window, is given the keyboard focus when it appears.
    : QWidget(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                           Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_onClose(std::move(onClose)),
      m_picture(QPixmap::fromImage(zoom(QImage(QStringLiteral(":/assets/splash.jpg"))))) {
    setAttribute(Qt::WA_DeleteOnClose);
    // Closing the splash must never end the program: the main window it
    // brings up is the one that counts.
    setAttribute(Qt::WA_QuitOnClose, false);
    // No caption text: an empty title would fall back to the program's name.
    setWindowTitle(QStringLiteral(" "));
    keepOutOfTaskBar(this);
    setFocusPolicy(Qt::StrongFocus);
    setFixedSize(zoom(QSize(298, 298)));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen->geometry()));
}

// The 300 x 300 picture overhangs the 298 x 298 window by two pixels (times the zoom).
void SplashWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_picture);
}

// A click is a press and a release on the window.
void SplashWindow::mousePressEvent(QMouseEvent* event) {
    m_pressed = event->button() == Qt::LeftButton || event->button() == Qt::RightButton;
}

void SplashWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (m_pressed && rect().contains(event->position().toPoint())) close();
    m_pressed = false;
}

bool SplashWindow::producesCharacter(const QKeyEvent& event) {
    const QString text = event.text();
    // Delete reports a character code of its own but types nothing.
    return !text.isEmpty() && text != QStringLiteral("\x7f");
}

void SplashWindow::keyPressEvent(QKeyEvent* event) {
    if (producesCharacter(*event))
        close();
    else
        QWidget::keyPressEvent(event);
}

void SplashWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    if (m_onClose) {
        // Cleared first, so that the call cannot run twice even if it
        // closes the splash again.
        auto onClose = std::move(m_onClose);
        m_onClose = nullptr;
        onClose();
    }
}

}  // namespace stonerush
