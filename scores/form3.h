// The high-score window: the ten entries, "Reset" and "Close". Opening it
// pauses a running game and disables the main window until it closes.
#pragma once

#include <QDialog>
#include <array>

#include "platform/side_window.h"
#include "scores/high_score_table.h"

class QLabel;
class QPushButton;

class Form3 : public SideWindow<QDialog> {
    Q_OBJECT
public:
    // Construction is the window's Load: pauses a running game, disables the
    // main window, fills the ten lines and shows itself without blocking.
    Form3(HighScoreTable& table, SideWindowHost& host);

    QLabel* ScoreView(int i) const { return scoreView_.at(i); }
    QPushButton* Command1() const { return command1_; }
    QPushButton* Command2() const { return command2_; }

signals:
    // After "Reset" has emptied the table.
    void TableReset();

private:
    void FillScoreView(int i);
    void ResetClicked();

    HighScoreTable& table_;
    std::array<QLabel*, HighScoreCount + 1> scoreView_{};  // indices 1 to 10, as the player counts
    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;
};
