#include "scores/high_score_window.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include <algorithm>

#include "scores/score_keeper.h"

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

HighScoreWindow::HighScoreWindow(ScoreKeeper& keeper, SideWindowHost& host, Zoom zoom)
    : SideWindow(host, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_keeper(keeper) {
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
    m_resetButton = makeButton(this, QStringLiteral("Reset"), QStringLiteral("resetButton"), resetLeft, zoom);
    m_closeButton = makeButton(this, QStringLiteral("Close"), QStringLiteral("closeButton"), closeLeft, zoom);
    setTabOrder(m_resetButton, m_closeButton);
    m_resetButton->setFocus();
    // No confirmation: the keeper empties the table and saves it.
    connect(m_resetButton, &QPushButton::clicked, &m_keeper, &ScoreKeeper::resetHighScores);
    connect(m_closeButton, &QPushButton::clicked, this, &HighScoreWindow::close);
    connect(&m_keeper, &ScoreKeeper::tableChanged, this, &HighScoreWindow::showTable);

    // Load: pause, disable the main window, fill the list, show.
    pauseRunningGame();
    disableMainWindow();
    showTable();
    m_keeper.refreshHighScores();  // another copy may have saved since
    show();
}

void HighScoreWindow::showTable() {
    for (int i = 1; i <= highScoreCount; ++i)
        m_scoreLines.at(i - 1)->setText(QString::fromStdString(formatScoreLine(m_keeper.table(), i)));
}

}  // namespace stonerush
