// A new game, the falling piece under the keys and gravity, and the arrival of
// the next piece.
#include "engine/game.h"

#include <algorithm>
#include <cmath>

namespace stonerush {

namespace {

constexpr int spawnColumn = 4;

// Ticks waited after a read before the keys are read again: a key held down
// acts every 6th tick, the down key every 4th.
constexpr int turnOrSidewaysWait = 5;
constexpr int downWait = 3;

// The nearest integer, an exact half going to the even neighbour (2.5 gives
// 2, 3.5 gives 4). So the end values get half an interval: the straight piece
// and the square, tiles 0 and 5, come half as often as the others. nearbyint
// rounds this way in the default rounding mode; lround would not.
int roundHalfEven(float value) {
    return static_cast<int>(std::nearbyint(value));
}

}  // namespace

int Game::fallDelayAt(int speed) {
    // 25 at speed 0, two fewer per level; from level 12 on a piece falls
    // every second tick.
    return speed <= maxStartingSpeed ? 25 - 2 * speed : 1;
}

Game::Game(int startingSpeed, RandomSource& random, const Board& field)
    : m_board(field), m_speed(startingSpeed), m_fallDelay(fallDelayAt(startingSpeed)), m_over(false) {
    for (int y = 0; y < boardHeight; ++y)
        for (int x = 0; x < boardWidth; ++x)
            if (Cell& cell = m_board.at(x, y); cell.state == CellState::Falling)
                cell.state = CellState::Empty;
    drawPieceForPreview(random);    // the first falling piece...
    bringInPreviewedPiece(random);  // ...comes in, and the one after it is previewed
}

StepReport Game::step(SteerSet held, RandomSource& random) {
    StepReport report;
    if (m_over) return report;
    switch (m_phase) {
        case Phase::Falling:
            steer(held);
            // Also on ticks that skip the keys, and after the down key landed
            // the piece: the same four cells land again and the count goes on.
            applyGravity();
            break;
        case Phase::Searching:
            searchFullRows(report);
            break;
        case Phase::Flashing:
            flashStep();
            break;
        case Phase::Spawning:
            collapseRows();
            bringInPreviewedPiece(random);
            report.gameOver = m_over;
            break;
    }
    return report;
}

void Game::steer(SteerSet held) {
    if (m_moveDelay > 0) {
        --m_moveDelay;
        return;
    }
    // A turn first, then a move. A refused one waits out its delay all the
    // same, so a key held against a wall is tried again every 6th tick; the
    // later delay stands (a turn with the down key leaves the down key's).
    if (held.has(Steer::TurnClockwise) || held.has(Steer::TurnAnticlockwise)) {
        Piece trial = m_falling;
        trial.rotation =
            turned(trial.rotation, held.has(Steer::TurnClockwise) ? Turn::Clockwise : Turn::Anticlockwise);
        tryMove(trial);
        m_moveDelay = turnOrSidewaysWait;
    }
    if (held.has(Steer::Left) || held.has(Steer::Right)) {
        Piece trial = m_falling;
        trial.x += held.has(Steer::Left) ? -1 : 1;
        tryMove(trial);
        m_moveDelay = turnOrSidewaysWait;
    } else if (held.has(Steer::Down)) {
        fallOrLand();
        m_moveDelay = downWait;
    }
}

void Game::applyGravity() {
    // The count survives landings and spawns: a counter left above a delay
    // that has just been lowered moves the next piece on its first tick.
    if (m_fallCounter >= m_fallDelay) {
        fallOrLand();
        m_fallCounter = 0;
    } else {
        ++m_fallCounter;
    }
}

bool Game::tryMove(const Piece& trial) {
    if (!fits(trial)) return false;
    putFalling(trial);
    return true;
}

void Game::fallOrLand() {
    Piece trial = m_falling;
    ++trial.y;
    if (tryMove(trial)) return;
    // The piece lands where it last stood.
    for (Point p : cellsOf(m_falling)) m_board.at(p.x, p.y) = {m_falling.tile, CellState::Settled};
    m_phase = Phase::Searching;
}

bool Game::fits(const Piece& piece) const {
    for (Point p : cellsOf(piece)) {
        if (p.x < 0 || p.x >= boardWidth || p.y < 0 || p.y >= boardHeight) return false;
        // The falling piece's own blocks never stand in its way.
        if (m_board.at(p.x, p.y).state == CellState::Settled) return false;
    }
    return true;
}

void Game::putFalling(const Piece& piece) {
    // Only the piece's own cells hold falling blocks (none yet as it comes in).
    for (Point p : cellsOf(m_falling))
        if (Cell& cell = m_board.at(p.x, p.y); cell.state == CellState::Falling)
            cell.state = CellState::Empty;
    for (Point p : cellsOf(piece)) m_board.at(p.x, p.y) = {piece.tile, CellState::Falling};
    m_falling = piece;
}

void Game::bringInPreviewedPiece(RandomSource& random) {
    m_falling = Piece{m_next.kind, Rotation::Deg0, spawnColumn, 0, m_next.tile};
    drawPieceForPreview(random);
    fillPreview();
    m_phase = Phase::Falling;
    m_moveDelay = 0;  // a new piece answers the keys at once
    if (fits(m_falling))
        putFalling(m_falling);
    else
        m_over = true;  // the board keeps no trace of the piece that found no room
}

void Game::drawPieceForPreview(RandomSource& random) {
    // Tile first, then kind, one value each.
    const int tile = roundHalfEven(random.next() * (tileCount - 1));
    const int kind = roundHalfEven(random.next() * (pieceKindCount - 1));
    m_next.tile = static_cast<Tile>(std::clamp(tile, 0, tileCount - 1));
    m_next.kind = static_cast<PieceKind>(std::clamp(kind, 0, pieceKindCount - 1));
}

void Game::fillPreview() {
    for (int y = 0; y < previewSize; ++y)
        for (int x = 0; x < previewSize; ++x) m_preview.at(x, y).state = CellState::Empty;
    // Rotation 0 with the pivot at (1, 1) keeps every shape inside the grid.
    for (Point p : cellsOf({m_next.kind, Rotation::Deg0, 1, 1, m_next.tile}))
        m_preview.at(p.x, p.y) = {m_next.tile, CellState::Settled};
}

}  // namespace stonerush
