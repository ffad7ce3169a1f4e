// The rules of Stonerush: one game, from its first piece to the piece that
// finds no room. A plain value: a new game is an assignment of a new Game.
// Nothing is allocated per step.
#pragma once

#include <array>
#include <cstdint>

#include "engine/board.h"
#include "engine/piece.h"
#include "engine/random.h"
#include "engine/steering.h"
#include "engine/step_report.h"

namespace stonerush {

inline constexpr int maxStartingSpeed = 12;
inline constexpr int32_t maxScore = 999999;

class Game {
public:
    // No game yet: an empty board and preview, over already.
    Game() = default;

    // A new game at a starting speed (0 to 12) on a field of settled blocks
    // (empty unless given): draws the first piece, brings it in at column 4 of
    // the top row and draws the next one for the preview. Cells of the field
    // marked Falling count as empty. A field that leaves the first piece no
    // room gives a game that is over at once. A speed above 12 lets the pieces
    // fall as fast as at 12 while its own number counts for the points.
    Game(int startingSpeed, RandomSource& random, const Board& field = Board{});

    // One tick of 30 ms: the keys held (read only when the piece is ready for
    // them) and gravity while a piece falls; otherwise one step of what
    // follows a landing (the search for full rows, a step of their flashing,
    // or their removal and the next piece). Does nothing once the game is over.
    StepReport step(SteerSet held, RandomSource& random);

    const Board& board() const { return m_board; }
    const Preview& preview() const { return m_preview; }
    const Piece& fallingPiece() const { return m_falling; }  // the last piece that came in

    int32_t score() const { return m_score; }
    int32_t lines() const { return m_lines; }
    int speed() const { return m_speed; }
    bool isOver() const { return m_over; }

private:
    // What a step does while no piece falls.
    enum class Phase : uint8_t { Falling, Searching, Flashing, Spawning };

    // game.cpp: the falling piece and the arrival of the next one.
    static int fallDelayAt(int speed);
    void steer(SteerSet held);
    void applyGravity();
    bool tryMove(const Piece& trial);
    void fallOrLand();
    bool fits(const Piece& piece) const;
    void putFalling(const Piece& piece);
    void bringInPreviewedPiece(RandomSource& random);
    void drawPieceForPreview(RandomSource& random);
    void fillPreview();

    // landing.cpp: full rows, their flashing and removal, and the award.
    void searchFullRows(StepReport& report);
    void flashStep();
    void collapseRows();
    void award(int rows, StepReport& report);

    Board m_board;
    Preview m_preview;
    Piece m_falling;
    Piece m_next;
    int32_t m_score = 0;
    int32_t m_lines = 0;
    int m_speed = 0;
    int m_fallDelay = 25;  // ticks between one-row falls, minus one
    bool m_over = true;

    Phase m_phase = Phase::Falling;
    int m_moveDelay = 0;    // ticks before the keys are read again
    int m_fallCounter = 0;  // ticks counted towards the next one-row fall

    // The full rows of the last landing, top to bottom; -1 marks a free slot.
    std::array<int, 4> m_fullRows{-1, -1, -1, -1};
    bool m_flashShown = false;
    int m_flashTick = 0;   // ticks since the last toggle, 0 to 5
    int m_flashCount = 0;  // toggles so far, 0 to 6
};

}  // namespace stonerush
