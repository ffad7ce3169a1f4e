// What follows a landing, one step per tick: the search for full rows with the
// award, the flashing of the rows, and their removal.
#include <algorithm>

#include "engine/game.h"

namespace stonerush {

namespace {

// Points for a landing without rows, and for one to four rows before the
// bonus per level.
constexpr std::array<int64_t, 5> basePoints{5, 100, 250, 500, 1000};
constexpr int64_t pointsPerLevel = 25;
constexpr int64_t rowsPerLevel = 10;

// The rows toggle six times, each after 6 ticks (the counter runs 0 to 5).
constexpr int flashToggles = 6;
constexpr int lastTickBeforeToggle = 5;

bool isFullRow(const Board& board, int y) {
    for (int x = 0; x < boardWidth; ++x)
        if (board.at(x, y).isEmpty()) return false;
    return true;
}

}  // namespace

void Game::searchFullRows(StepReport& report) {
    m_fullRows.fill(-1);
    int found = 0;
    // A piece has four blocks and every full row goes before the next piece
    // comes in, so one landing completes at most four rows.
    for (int y = 0; y < boardHeight && found < 4; ++y)
        if (isFullRow(m_board, y)) m_fullRows[found++] = y;
    if (found > 0) {
        m_phase = Phase::Flashing;
        m_flashShown = false;
        m_flashTick = 0;
        m_flashCount = 0;
    } else {
        m_phase = Phase::Spawning;
    }
    award(found, report);
}

void Game::flashStep() {
    // The rows vanish on the first step and stay hidden for 5 ticks, then show
    // and hide for 6 ticks each; the last hidden spell lasts 2 ticks. After
    // 37 steps the next tick removes them.
    if (m_flashCount < flashToggles) {
        if (m_flashTick < lastTickBeforeToggle) {
            ++m_flashTick;
        } else {
            m_flashTick = 0;
            m_flashShown = !m_flashShown;
            ++m_flashCount;
        }
    } else {
        m_phase = Phase::Spawning;
    }
    const CellState state = m_flashShown ? CellState::Settled : CellState::Empty;
    for (int row : m_fullRows) {
        if (row < 0) continue;
        // The tile stays: a shown row comes back with its own blocks.
        for (int x = 0; x < boardWidth; ++x) m_board.at(x, row).state = state;
    }
}

void Game::collapseRows() {
    // Slots run top to bottom and a removal moves only the rows above it, so
    // the lower rows still to remove keep their indices. Rows move as wholes:
    // a block over a gap stays over it.
    for (int row : m_fullRows) {
        if (row < 0) continue;
        for (int y = row; y >= 1; --y) {
            for (int x = 0; x < boardWidth; ++x) {
                m_board.at(x, y) = m_board.at(x, y - 1);
                m_board.at(x, y - 1).state = CellState::Empty;
            }
        }
    }
}

void Game::award(int rows, StepReport& report) {
    // Rows are paid at the level in force before this award's speed-up.
    const int64_t points = rows == 0 ? basePoints[0] : basePoints[rows] + pointsPerLevel * m_speed;
    const int32_t before = m_score;
    m_score = static_cast<int32_t>(std::min<int64_t>(m_score + points, maxScore));
    report.scoreChanged = m_score != before;
    report.rowsCleared = rows;
    if (rows == 0) return;
    m_lines += rows;
    // At most one level per award; an award adds at most four rows, so the
    // speed keeps pace with the rows.
    if (m_lines >= (m_speed + int64_t{1}) * rowsPerLevel) {
        ++m_speed;
        m_fallDelay = fallDelayAt(m_speed);
        report.speedRaised = true;
    }
}

}  // namespace stonerush
