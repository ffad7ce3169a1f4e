// The placement test and the arrival of the next piece.
#include <algorithm>
#include <cmath>

#include "engine/game.h"

namespace stonerush {

namespace {

bool IsBlocked(const BoardCells& board, int x, int y) {
    if (x < 0 || x >= BoardWidth || y < 0 || y >= BoardHeight) return true;
    return board(x, y).State == CellSettled;  // the falling piece never blocks itself
}

}  // namespace

int RoundHalfEven(float value) {
    // nearbyint follows the current rounding mode, which is round-to-nearest-even
    // unless someone changed it; lround would send halves away from zero.
    return static_cast<int>(std::nearbyint(value));
}

void Game::TryPlacement(bool IsFall, bool IsSpawn) {
    const PieceCells trial = CellsOf(TrialPlacement);
    bool fits = true;
    for (int i = 0; i < 4; ++i)
        if (IsBlocked(Board, trial.x[i], trial.y[i])) fits = false;

    if (fits) {
        for (Cell& cell : Board.cells)
            if (cell.State == CellFalling) cell.State = CellEmpty;
        for (int i = 0; i < 4; ++i) Board(trial.x[i], trial.y[i]) = {ActivePiece.Tile, CellFalling};
        ActivePiece = TrialPlacement;
    } else if (IsSpawn) {
        GameOver = true;  // the board keeps no trace of the piece that did not fit
    } else if (IsFall) {
        // The piece lands where it last stood, not where the trial wanted it.
        const PieceCells landed = CellsOf(ActivePiece);
        for (int i = 0; i < 4; ++i) Board(landed.x[i], landed.y[i]) = {ActivePiece.Tile, CellSettled};
        PieceFalling = false;
        PlayPhase = 1;
    }
}

void Game::DrawNextPiece() {
    // Rounding to nearest gives the end values half an interval: tiles 0 and 5,
    // kinds 0 (straight) and 6 (square) come half as often as the others.
    NextPiece.Tile = static_cast<int16_t>(std::clamp(RoundHalfEven(Host.Random() * 5), 0, 5));
    NextPiece.Rotation = 0;
    NextPiece.Kind = static_cast<int16_t>(std::clamp(RoundHalfEven(Host.Random() * 6), 0, 6));
}

void Game::FillPreview() {
    for (int y = 0; y < PreviewSize; ++y)
        for (int x = 0; x < PreviewSize; ++x) PreviewGrid(x, y).State = CellEmpty;
    // Rotation 0 with the pivot at (1, 1) keeps every shape inside rows 1 and 2.
    const PieceRecord shown{NextPiece.Kind, 0, 1, 1, NextPiece.Tile};
    const PieceCells cells = CellsOf(shown);
    for (int i = 0; i < 4; ++i) PreviewGrid(cells.x[i], cells.y[i]) = {NextPiece.Tile, CellSettled};
}

void Game::SpawnNextPiece() {
    ActivePiece.Tile = NextPiece.Tile;
    ActivePiece.Kind = NextPiece.Kind;
    ActivePiece.Rotation = 0;
    ActivePiece.X = 4;
    ActivePiece.Y = 0;
    DrawNextPiece();
    FillPreview();
    TrialPlacement = ActivePiece;
    TryPlacement(false, true);
    MoveDelay = 0;  // a new piece answers the keys at once
}

}  // namespace stonerush
