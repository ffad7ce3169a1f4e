// The high-score window: the ten entries, "Reset" and "Close". It shows the
// table it is given and asks for a Reset; what a Reset does, and keeping the
// lines up to date, is its owner's business.
#pragma once

#include <QDialog>
#include <array>

#include "platform/zoom.h"
#include "scores/high_score_table.h"

class QLabel;

namespace stonerush {

class HighScoreWindow : public QDialog {
    Q_OBJECT
public:
    // The controls are named "scoreLine1" to "scoreLine10", "resetButton" and
    // "closeButton". The caller shows it.
    explicit HighScoreWindow(const HighScoreTable& table, Zoom zoom = Zoom(), QWidget* parent = nullptr);

public slots:
    void showTable(const stonerush::HighScoreTable& table);

signals:
    // "Reset" was clicked: every entry is to go back to the default, with no confirmation.
    void resetClicked();

private:
    std::array<QLabel*, highScoreCount> m_scoreLines{};
};

}  // namespace stonerush
