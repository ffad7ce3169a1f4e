// The help window: the help page beside the program, shown in a browser that
// fills the window and follows every change of its size.
#pragma once

#include <QString>
#include <QUrl>
#include <QWidget>

#include "platform/side_window.h"

class QTextBrowser;

class Form2 : public SideWindow<QWidget> {
    Q_OBJECT
public:
    // Construction is the window's Load: it disables the main window, pauses a
    // running game and opens the page at helpPath. The caller shows it.
    Form2(SideWindowHost& host, const QString& helpPath);

    QTextBrowser* browser() const { return WebBrowser1; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Navigate(const QString& path);
    void FollowLink(const QUrl& link);
    void ShowMissingLink(const QString& path);

    QTextBrowser* WebBrowser1;
};
