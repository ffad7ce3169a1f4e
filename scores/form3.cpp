#include "scores/form3.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include <algorithm>

namespace {

// Client area and the controls' places, in pixels. The lines are widened
// beyond kLineWidth when the longest line a game can leave needs more room.
constexpr int kClientWidth = 177;
constexpr int kClientHeight = 275;
constexpr int kLineLeft = 8, kLineTop = 8, kLineStep = 24, kLineWidth = 161, kLineHeight = 17;
constexpr const char* kLongestLine = "#10: WWWWWWWWWWWWWWWWWWWWWWWWW 999999";
constexpr int kButtonTop = 248, kButtonWidth = 73, kButtonHeight = 17;
constexpr int kResetLeft = 8, kCloseLeft = 96;

// The lines are columns of 25 name characters, so they want a fixed-width font.
QFont ScoreLineFont() {
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(10);  // the smallest size that still reads well
    return font;
}

int ScoreLineWidth() {
    const int needed = QFontMetrics(ScoreLineFont()).horizontalAdvance(QString::fromLatin1(kLongestLine));
    return std::max(kLineWidth, needed + 1);
}

QFont ButtonFont() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(10);
    return font;
}

}  // namespace

Form3::Form3(HighScoreTable& table, SideWindowHost& host)
    : SideWindow(host, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      table_(table) {
    setWindowTitle(QStringLiteral("High Scores"));
    QPixmap noIcon(16, 16);
    noIcon.fill(Qt::transparent);
    setWindowIcon(QIcon(noIcon));
    const int lineWidth = ScoreLineWidth();
    setFixedSize(kClientWidth + (lineWidth - kLineWidth), kClientHeight);

    for (int i = 1; i <= HighScoreCount; ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("ScoreView%1").arg(i));
        label->setTextFormat(Qt::PlainText);  // a name like "<b>x</b>" is shown as typed
        label->setFont(ScoreLineFont());
        label->setGeometry(kLineLeft, kLineTop + kLineStep * (i - 1), lineWidth, kLineHeight);
        scoreView_[i] = label;
    }
    command1_ = new QPushButton(QStringLiteral("Reset"), this);
    command1_->setObjectName(QStringLiteral("Command1"));
    command1_->setGeometry(kResetLeft, kButtonTop, kButtonWidth, kButtonHeight);
    command2_ = new QPushButton(QStringLiteral("Close"), this);
    command2_->setObjectName(QStringLiteral("Command2"));
    command2_->setGeometry(kCloseLeft, kButtonTop, kButtonWidth, kButtonHeight);
    for (QPushButton* button : {command1_, command2_}) button->setFont(ButtonFont());
    setTabOrder(command1_, command2_);
    command1_->setFocus();
    connect(command1_, &QPushButton::clicked, this, &Form3::ResetClicked);
    connect(command2_, &QPushButton::clicked, this, &Form3::close);

    // Load: pause, disable the main window, fill the list, show.
    PauseRunningGame();
    DisableMainWindow();
    for (int i = 1; i <= HighScoreCount; ++i) FillScoreView(i);
    show();
}

void Form3::FillScoreView(int i) {
    scoreView_[i]->setText(QString::fromStdString(FormatScoreLine(table_, i)));
}

void Form3::ResetClicked() {
    // No confirmation; the main window saves the emptied table.
    for (int i = 1; i <= HighScoreCount; ++i) {
        table_.Entry(i) = HighScoreEntry{};
        FillScoreView(i);
    }
    emit TableReset();
}
