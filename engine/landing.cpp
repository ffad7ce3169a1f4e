// What follows a landing: the search for full rows, their flashing, and the
// collapse that removes them. The tick runs one step of it per tick.
#include "engine/game.h"

namespace stonerush {

namespace {

bool IsFullRow(const BoardCells& board, int y) {
    for (int x = 0; x < BoardWidth; ++x)
        if (board(x, y).State == CellEmpty) return false;
    return true;
}

}  // namespace

void Game::FindFullRows() {
    FullRowCount = 0;
    for (int16_t& row : FullRows) row = -1;
    // A piece has four cells and every full row goes before the next piece
    // comes in, so one landing completes at most four rows.
    for (int y = 0; y < BoardHeight && FullRowCount < 4; ++y) {
        if (!IsFullRow(Board, y)) continue;
        FullRows[FullRowCount] = static_cast<int16_t>(y);
        ++FullRowCount;
        PlayPhase = 2;
        FlashOn = false;
        FlashTick = 0;
        FlashCount = 0;
    }
    if (FullRowCount == 0) PlayPhase = 0;
    Award(FullRowCount);
    if (FullRowCount > 0 && SoundOn) Host.PlayWave(FullRowCount == 4 ? "quad.wav" : "line.wav");
}

void Game::FlashStep() {
    // FlashTick counts 0..5 before each toggle, so after the search the rows
    // are hidden for 5 ticks, then shown and hidden for 6 ticks each, and the
    // last hidden spell lasts 2 ticks: 37 steps in all.
    if (FlashCount < 6) {
        if (FlashTick < 5) {
            ++FlashTick;
        } else {
            FlashTick = 0;
            FlashOn = !FlashOn;
            ++FlashCount;
        }
    } else {
        PlayPhase = 0;
    }
    const int16_t state = FlashOn ? CellSettled : CellEmpty;
    for (int16_t row : FullRows) {
        if (row < 0) continue;
        for (int x = 0; x < BoardWidth; ++x) Board(x, row).State = state;
    }
}

void Game::CollapseRows() {
    // Slots run top to bottom, and removing a row moves only the rows above
    // it, so the lower indices still recorded stay valid.
    for (int16_t row : FullRows) {
        if (row < 0) continue;
        for (int y = row; y >= 1; --y) {
            for (int x = 0; x < BoardWidth; ++x) {
                Board(x, y) = Board(x, y - 1);
                Board(x, y - 1).State = CellEmpty;
            }
        }
    }
}

}  // namespace stonerush
