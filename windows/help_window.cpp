#include "windows/help_window.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QMessageBox>
#include <QShortcut>
#include <QTextBrowser>

namespace {

QIcon HelpIcon() {
    QIcon icon;
    for (const char* size : {"16", "32", "48"})
        icon.addFile(QStringLiteral(":/assets/help_icon_%1.png").arg(QLatin1String(size)));
    return icon;
}

// A page the browser can show: a readable file, not a folder. Opening it once
// also catches files whose permissions say yes but whose content cannot be read.
bool IsReadablePage(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable()) return false;
    QFile file(path);
    return file.open(QIODevice::ReadOnly);
}

QString MissingPageHtml(const QString& path) {
    return QStringLiteral(
               "<h2>The help page could not be opened</h2>"
               "<p>Stonerush looks for its help page here:</p>"
               "<p><code>%1</code></p>"
               "<p>That file is missing or cannot be read. It belongs in the same folder as the "
               "program; installing the game again puts it back.</p>")
        .arg(path.toHtmlEscaped());
}

}  // namespace

// A sizable frame with every button, typed as a dialog: only a dialog is kept
// above the window it belongs to.
Form2::Form2(SideWindowHost& host, const QString& helpPath)
    : SideWindow(host, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(QStringLiteral("Stonerush Help"));
    setWindowIcon(HelpIcon());
    resize(344, 276);

    WebBrowser1 = new QTextBrowser(this);
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    WebBrowser1->setGeometry(0, 0, 337, 273);
    // Links are followed here, so that a link to a missing page cannot blank
    // the window and web links go to the desktop's browser.
    WebBrowser1->setOpenLinks(false);
    connect(WebBrowser1, &QTextBrowser::anchorClicked, this, &Form2::FollowLink);

    // A help window is read and put away: Escape closes it like the close box.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    // Load, in this order.
    DisableMainWindow();
    PauseRunningGame();
    Navigate(helpPath);
}

void Form2::Navigate(const QString& path) {
    if (IsReadablePage(path))
        WebBrowser1->setSource(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
    else
        WebBrowser1->setHtml(MissingPageHtml(path));
}

void Form2::FollowLink(const QUrl& link) {
    const QUrl target = WebBrowser1->source().resolved(link);
    const QString scheme = target.scheme();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
        scheme == QLatin1String("mailto")) {
        QDesktopServices::openUrl(target);
        return;
    }
    if (!target.isLocalFile()) {
        // A bare "#name" on a page that has no file behind it (the message page).
        if (link.hasFragment()) WebBrowser1->scrollToAnchor(link.fragment());
        return;
    }
    const QUrl page = target.adjusted(QUrl::RemoveFragment);
    if (page == WebBrowser1->source().adjusted(QUrl::RemoveFragment)) {
        if (target.hasFragment()) WebBrowser1->scrollToAnchor(target.fragment());
        return;
    }
    if (!IsReadablePage(page.toLocalFile())) {
        ShowMissingLink(page.toLocalFile());
        return;
    }
    WebBrowser1->setSource(target);
}

// The page stays as it is; a note says what could not be found.
void Form2::ShowMissingLink(const QString& path) {
    auto* note =
        new QMessageBox(QMessageBox::Information, windowTitle(),
                        QStringLiteral("This page is not there:\n%1").arg(path), QMessageBox::Ok, this);
    note->setObjectName(QStringLiteral("missingPageNote"));
    note->setAttribute(Qt::WA_DeleteOnClose);
    note->open();
}

// The browser always covers the whole client area, its corner at (0, 0).
void Form2::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    WebBrowser1->resize(width(), height());
}
