#include "windows/about_window.h"

#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "platform/app_info.h"

namespace {

// Written into the box at design time; the title, version and legal notice
// come from the build's version information instead.
const char* const kDescription =
    "Stonerush is a falling-block puzzle game: steer the falling stones, fill "
    "whole rows and watch them vanish before the pile reaches the top.\n"
    "Made by the Stonerush developers. Free software under the MIT License: use, "
    "copy, change and share it, keeping the notice and license with it.";

const char* const kProgramIcon = ":/assets/program_icon.png";

void MakeTextBlack(QLabel* label) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
}

}  // namespace

frmAbout::frmAbout(SideWindowHost& host)
    : SideWindow(host, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                           Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setWindowIcon(QIcon(QString::fromLatin1(kProgramIcon)));
    LayOutControls();

    // Load, in this order.
    const QString title = QString::fromUtf8(app_info::Title);
    setWindowTitle(QStringLiteral("About ") + title);
    lblVersion->setText(QStringLiteral("Version %1.%2.%3")
                            .arg(app_info::VersionMajor)
                            .arg(app_info::VersionMinor)
                            .arg(app_info::VersionRevision));
    lblTitle->setText(title);
    lblCopyright->setText(QString::fromUtf8(app_info::LegalNotice));
    DisableMainWindow();
    PauseRunningGame();
}

void frmAbout::LayOutControls() {
    setFixedSize(382, 239);

    picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setGeometry(16, 16, 36, 36);
    picIcon->setAlignment(Qt::AlignCenter);
    picIcon->setPixmap(QIcon(QString::fromLatin1(kProgramIcon)).pixmap(32, 32));
    picIcon->setFocusPolicy(Qt::TabFocus);

    lblTitle = new QLabel(this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblTitle->setGeometry(72, 16, 307, 32);
    QFont titleFont = lblTitle->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    lblTitle->setFont(titleFont);
    MakeTextBlack(lblTitle);

    lblVersion = new QLabel(this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblVersion->setGeometry(70, 52, 307, 15);

    lblDescription = new QLabel(QString::fromUtf8(kDescription), this);
    lblDescription->setObjectName(QStringLiteral("lblDescription"));
    lblDescription->setGeometry(70, 75, 307, 102);
    lblDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblDescription->setWordWrap(true);
    MakeTextBlack(lblDescription);

    lblCopyright = new QLabel(this);
    lblCopyright->setObjectName(QStringLiteral("lblCopyright"));
    lblCopyright->setGeometry(8, 200, 217, 33);
    lblCopyright->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblCopyright->setWordWrap(true);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(283, 208, 84, 23);
    // Enter presses it; Escape reaches QDialog::reject(), the cancel path.
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    setTabOrder(cmdOK, picIcon);
    cmdOK->setFocus();
}

// The etched line between the description and the lower row: a grey line
// with a white one just beneath it.
void frmAbout::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter painter(this);
    painter.fillRect(QRect(QPoint(8, 192), QPoint(378, 193)), QColor(0xFF, 0xFF, 0xFF));  // Line1(0)
    painter.fillRect(QRect(QPoint(6, 192), QPoint(377, 192)), QColor(0x80, 0x80, 0x80));  // Line1(1)
}
