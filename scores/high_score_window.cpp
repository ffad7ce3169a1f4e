#include "scores/high_score_window.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include <algorithm>

namespace stonerush {
namespace {

// Client area and the controls' places, in pixels. The lines are widened
// beyond lineWidth when the longest line a game can leave needs more room.
constexpr int clientWidth = 177;
constexpr int clientHeight = 275;
constexpr int lineLeft = 8, lineTop = 8, lineStep = 24, lineWidth = 161, lineHeight = 17;
constexpr const char* longestLine = "#10: WWWWWWWWWWWWWWWWWWWWWWWWW 999999";
constexpr int buttonTop = 248, buttonWidth = 73, buttonHeight = 17;
constexpr int resetLeft = 8, closeLeft = 96;

// The lines are columns of 25 name characters, so they want a fixed-width font.
QFont scoreLineFont() {
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(10);  // the smallest size that still reads well
    return font;
}

int scoreLineWidth() {
    const int needed = QFontMetrics(scoreLineFont()).horizontalAdvance(QString::fromLatin1(longestLine));
    return std::max(lineWidth, needed + 1);
}

QPushButton* makeButton(QWidget* parent, const QString& text, const QString& name, int left, Zoom zoom) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setGeometry(zoom(QRect(left, buttonTop, buttonWidth, buttonHeight)));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(10);
    button->setFont(zoom(font));
    return button;
}

}  // namespace

HighScoreWindow::HighScoreWindow(const HighScoreTable& table, Zoom zoom, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint) {
    setWindowTitle(QStringLiteral("High Scores"));
    QPixmap noIcon(16, 16);
    noIcon.fill(Qt::transparent);
    setWindowIcon(QIcon(noIcon));
    const int width = scoreLineWidth();
    setFixedSize(zoom(QSize(clientWidth + (width - lineWidth), clientHeight)));

    for (int i = 1; i <= highScoreCount; ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("scoreLine%1").arg(i));
        label->setTextFormat(Qt::PlainText);  // a name like "<b>x</b>" is shown as typed
        label->setFont(zoom(scoreLineFont()));
        label->setGeometry(zoom(QRect(lineLeft, lineTop + lineStep * (i - 1), width, lineHeight)));
        m_scoreLines.at(i - 1) = label;
    }
    auto* reset = makeButton(this, QStringLiteral("Reset"), QStringLiteral("resetButton"), resetLeft, zoom);
    auto* close = makeButton(this, QStringLiteral("Close"), QStringLiteral("closeButton"), closeLeft, zoom);
    setTabOrder(reset, close);
    reset->setFocus();
    connect(reset, &QPushButton::clicked, this, &HighScoreWindow::resetClicked);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    showTable(table);
}

void HighScoreWindow::showTable(const HighScoreTable& table) {
    for (int i = 1; i <= highScoreCount; ++i)
        m_scoreLines.at(i - 1)->setText(QString::fromStdString(formatScoreLine(table, i)));
}

}  // namespace stonerush
