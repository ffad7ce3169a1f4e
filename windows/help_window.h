// The help window: the help page beside the program, in a browser that fills
// the window at every size.
#pragma once

#include <QDialog>
#include <QString>
#include <QUrl>

#include "platform/zoom.h"

class QTextBrowser;

namespace stonerush {

class HelpWindow : public QDialog {
    Q_OBJECT
public:
    // Opens the page at helpPath in its browser, named "browser". The caller
    // shows it; Escape closes it as the close box does.
    explicit HelpWindow(const QString& helpPath, Zoom zoom = Zoom(), QWidget* parent = nullptr);

private:
    void navigate(const QString& path);
    void followLink(const QUrl& link);
    void showMissingLink(const QString& path);

    QTextBrowser* m_browser = nullptr;
};

}  // namespace stonerush
