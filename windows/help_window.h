// The help window: the help page beside the program, in a browser that fills
// the window at every size.
#pragma once

#include <QString>
#include <QUrl>
#include <QWidget>

#include "platform/zoom.h"
#include "windows/side_window.h"

class QTextBrowser;

namespace stonerush {

class HelpWindow : public SideWindow<QWidget> {
    Q_OBJECT
public:
    // Disables the main window, pauses a running game and opens the page at
    // helpPath. The caller shows it.
    HelpWindow(SideWindowHost& host, const QString& helpPath, Zoom zoom = Zoom());

    QTextBrowser* browser() const { return m_browser; }

private:
    void navigate(const QString& path);
    void followLink(const QUrl& link);
    void showMissingLink(const QString& path);

    QTextBrowser* m_browser = nullptr;
};

}  // namespace stonerush
