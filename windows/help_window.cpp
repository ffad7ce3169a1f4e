#include "windows/help_window.h"

#include <QAbstractTextDocumentLayout>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace stonerush {

namespace {

QIcon helpIcon() {
    QIcon icon;
    for (const char* size : {"16", "32", "48"})
        icon.addFile(QStringLiteral(":/assets/help_icon_%1.png").arg(QLatin1String(size)));
    return icon;
}

// A page the browser can show: a readable file, not a folder. Opening it once
// also catches files whose permissions say yes but whose content cannot be read.
bool isReadablePage(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable()) return false;
    QFile file(path);
    return file.open(QIODevice::ReadOnly);
}

QString missingPageHtml(const QString& path) {
    return QStringLiteral(
               "<h2>The help page could not be opened</h2>"
               "<p>Stonerush looks for its help page here:</p>"
               "<p><code>%1</code></p>"
               "<p>That file is missing or cannot be read. It belongs in the same folder as the "
               "program; installing the game again puts it back.</p>")
        .arg(path.toHtmlEscaped());
}

// The page's lengths, in points and pixels in its style sheet and style
// attributes, times the zoom: the browser then lays it out as at 1x with every
// length multiplied (the browser's own font would leave them as they are).
QString zoomLengths(QString html, Zoom zoom) {
    if (zoom.step() == 1) return html;
    static const QRegularExpression length(QStringLiteral("(\\d+(?:\\.\\d+)?)(pt|px)\\b"));
    QString zoomed;
    qsizetype done = 0;
    for (const QRegularExpressionMatch& match : length.globalMatch(html)) {
        zoomed += html.mid(done, match.capturedStart() - done);
        zoomed += QString::number(match.captured(1).toDouble() * zoom.step()) + match.captured(2);
        done = match.capturedEnd();
    }
    return zoomed + html.mid(done);
}

// A browser that reads local pages with their lengths zoomed.
class ZoomedBrowser : public QTextBrowser {
public:
    ZoomedBrowser(QWidget* parent, Zoom zoom) : QTextBrowser(parent), m_zoom(zoom) {
        document()->setDocumentMargin(zoom(4));  // the margin the browser gives a page at 1x
        // Zoomed, the browser's tables can come out a pixel or two wider than
        // the page: no scroll bar for so little.
        connect(document()->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged, this,
                [this](QSizeF size) {
                    const bool overhang = size.width() > viewport()->width() + 2;
                    setHorizontalScrollBarPolicy(overhang || m_zoom.step() == 1 ? Qt::ScrollBarAsNeeded
                                                                                : Qt::ScrollBarAlwaysOff);
                });
    }

protected:
    QVariant loadResource(int type, const QUrl& name) override {
        const QVariant resource = QTextBrowser::loadResource(type, name);
        if (type != QTextDocument::HtmlResource && type != QTextDocument::StyleSheetResource) return resource;
        const QString text = resource.typeId() == QMetaType::QByteArray
                                 ? QString::fromUtf8(resource.toByteArray())
                                 : resource.toString();
        return zoomLengths(text, m_zoom);
    }

private:
    Zoom m_zoom;
};

bool isWebLink(const QUrl& url) {
    const QString scheme = url.scheme();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
           scheme == QLatin1String("mailto");
}

}  // namespace

// A sizable frame with every button, typed as a dialog: only a dialog is kept
// above the window it belongs to.
HelpWindow::HelpWindow(const QString& helpPath, Zoom zoom, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(QStringLiteral("Stonerush Help"));
    setWindowIcon(helpIcon());
    resize(zoom(QSize(344, 276)));
    setFont(zoom(font()));

    m_browser = new ZoomedBrowser(this, zoom);
    m_browser->setObjectName(QStringLiteral("browser"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    // Links are followed here, so that a link to a missing page cannot blank
    // the window and web links go to the desktop's browser.
    m_browser->setOpenLinks(false);
    connect(m_browser, &QTextBrowser::anchorClicked, this, &HelpWindow::followLink);

    navigate(helpPath);
}

void HelpWindow::navigate(const QString& path) {
    if (isReadablePage(path))
        m_browser->setSource(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
    else
        m_browser->setHtml(missingPageHtml(path));
}

void HelpWindow::followLink(const QUrl& link) {
    const QUrl target = m_browser->source().resolved(link);
    if (isWebLink(target)) {
        QDesktopServices::openUrl(target);
        return;
    }
    if (!target.isLocalFile()) {
        // A bare "#name" on a page that has no file behind it (the message page).
        if (link.hasFragment()) m_browser->scrollToAnchor(link.fragment());
        return;
    }
    const QUrl page = target.adjusted(QUrl::RemoveFragment);
    if (page == m_browser->source().adjusted(QUrl::RemoveFragment)) {
        if (target.hasFragment()) m_browser->scrollToAnchor(target.fragment());
        return;
    }
    if (!isReadablePage(page.toLocalFile())) {
        showMissingLink(page.toLocalFile());
        return;
    }
    m_browser->setSource(target);
}

// The page stays as it is; a note says what could not be found.
void HelpWindow::showMissingLink(const QString& path) {
    auto* note =
        new QMessageBox(QMessageBox::Information, windowTitle(),
                        QStringLiteral("This page is not there:\n%1").arg(path), QMessageBox::Ok, this);
    note->setObjectName(QStringLiteral("missingPageNote"));
    note->setAttribute(Qt::WA_DeleteOnClose);
    note->open();
}

}  // namespace stonerush
