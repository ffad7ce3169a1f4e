#include "windows/about_window.h"

#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <cmath>

#include "platform/app_info.h"

namespace stonerush {

namespace {

// Written into the box; the title, version and legal notice come from the
// build's version information instead.
const char* const description =
    "Stonerush is a falling-block puzzle game: steer the falling stones, fill "
    "whole rows and watch them vanish before the pile reaches the top.\n"
    "Made by the Stonerush developers. Free software under the MIT License: use, "
    "copy, change and share it, keeping the notice and license with it.";

const char* const programIcon = ":/assets/program_icon.png";

QLabel* makeLabel(QWidget* parent, const char* name, QRect geometry) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    return label;
}

// The relative luminance of a colour, as contrast ratios are measured.
double luminance(const QColor& colour) {
    const auto linear = [](double c) {
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

// The title and the description are black on the light grey of a classic
// desktop. On a dark theme black would vanish into the background: there the
// theme's own text colour is used.
void makeTextBlackWhereReadable(QLabel* label) {
    QPalette palette = label->palette();
    const double background = luminance(palette.color(QPalette::Window));
    const double contrastOfBlack = (background + 0.05) / 0.05;
    if (contrastOfBlack >= 4.5) palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
}

// One line of the etched separator: a plain horizontal frame in one colour.
void addLine(QWidget* parent, QRect geometry, QColor colour) {
    auto* line = new QFrame(parent);
    line->setFrameStyle(QFrame::HLine | QFrame::Plain);
    line->setLineWidth(geometry.height());
    line->setGeometry(geometry);
    QPalette palette = line->palette();
    palette.setColor(QPalette::WindowText, colour);
    line->setPalette(palette);
}

}  // namespace

AboutWindow::AboutWindow(Zoom zoom, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setWindowIcon(QIcon(QString::fromLatin1(programIcon)));
    setFont(zoom(font()));  // every label and the button inherit it
    layOutControls(zoom);

    const QString title = QString::fromUtf8(appinfo::title);
    setWindowTitle(QStringLiteral("About ") + title);
    m_versionLabel->setText(QStringLiteral("Version %1.%2.%3")
                                .arg(appinfo::versionMajor)
                                .arg(appinfo::versionMinor)
                                .arg(appinfo::versionRevision));
    m_titleLabel->setText(title);
    m_copyrightLabel->setText(QString::fromUtf8(appinfo::legalNotice));
}

void AboutWindow::layOutControls(Zoom zoom) {
    setFixedSize(zoom(QSize(382, 239)));

    m_iconLabel = makeLabel(this, "iconLabel", zoom(QRect(16, 16, 36, 36)));
    m_iconLabel->setAlignment(Qt::AlignCenter);
    m_iconLabel->setPixmap(QPixmap::fromImage(zoom(QImage(QString::fromLatin1(programIcon)))));
    m_iconLabel->setFocusPolicy(Qt::TabFocus);

    m_titleLabel = makeLabel(this, "titleLabel", zoom(QRect(72, 16, 307, 32)));
    QFont titleFont = m_titleLabel->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    m_titleLabel->setFont(titleFont);
    makeTextBlackWhereReadable(m_titleLabel);

    m_versionLabel = makeLabel(this, "versionLabel", zoom(QRect(70, 52, 307, 15)));

    m_descriptionLabel = makeLabel(this, "descriptionLabel", zoom(QRect(70, 75, 307, 102)));
    m_descriptionLabel->setText(QString::fromUtf8(description));
    m_descriptionLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_descriptionLabel->setWordWrap(true);
    makeTextBlackWhereReadable(m_descriptionLabel);

    // An etched line: a grey line over the top of a two-pixel white one.
    addLine(this, zoom(QRect(8, 192, 371, 2)), QColor(0xFF, 0xFF, 0xFF));
    addLine(this, zoom(QRect(6, 192, 372, 1)), QColor(0x80, 0x80, 0x80));

    m_copyrightLabel = makeLabel(this, "copyrightLabel", zoom(QRect(8, 200, 217, 33)));
    m_copyrightLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_copyrightLabel->setWordWrap(true);

    m_okButton = new QPushButton(QStringLiteral("OK"), this);
    m_okButton->setObjectName(QStringLiteral("okButton"));
    m_okButton->setGeometry(zoom(QRect(283, 208, 84, 23)));
    // Enter presses it; Escape reaches QDialog::reject(), the cancel path.
    m_okButton->setDefault(true);
    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);

    setTabOrder(m_okButton, m_iconLabel);
    m_okButton->setFocus();
}

}  // namespace stonerush
