// The high-score window: the ten entries, "Reset" and "Close". Opening it
// pauses a running game and disables the main window until it closes.
#pragma once

#include <QDialog>
#include <array>

#include "platform/zoom.h"
#include "scores/high_score_table.h"
#include "windows/side_window.h"

class QLabel;
class QPushButton;

namespace stonerush {

class ScoreKeeper;

class HighScoreWindow : public SideWindow<QDialog> {
    Q_OBJECT
public:
    // Construction is the window's Load: pauses a running game, disables the
    // main window, reads the file again and shows the ten lines, and shows
    // itself without blocking. The lines follow every change of the table.
    HighScoreWindow(ScoreKeeper& keeper, SideWindowHost& host, Zoom zoom = Zoom());

    // The controls, named "scoreLine1" to "scoreLine10", "resetButton" and
    // "closeButton". Lines are numbered 1 to 10, as the player counts.
    QLabel* scoreLine(int i) const { return m_scoreLines.at(i - 1); }
    QPushButton* resetButton() const { return m_resetButton; }
    QPushButton* closeButton() const { return m_closeButton; }

private:
    void showTable();

    ScoreKeeper& m_keeper;
    std::array<QLabel*, highScoreCount> m_scoreLines{};
    QPushButton* m_resetButton = nullptr;
    QPushButton* m_closeButton = nullptr;
};

}  // namespace stonerush
