// The rules of Stonerush: the board, the pieces, the tick that advances play,
// the landing sequence (full rows, flashing, collapse) and the counters.
//
// The state is plain data with fixed sizes, zero at construction, owned by the
// main window for the whole run. Nothing is allocated per tick or per piece.
// The game reaches the outside world only through GameHost.
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/game_host.h"

namespace stonerush {

constexpr int BoardWidth = 10;
constexpr int BoardHeight = 18;
constexpr int PreviewSize = 4;

// What a cell of a grid holds in its State field.
constexpr int16_t CellEmpty = 0;
constexpr int16_t CellSettled = 1;  // also "shown" while full rows flash
constexpr int16_t CellFalling = 2;  // one of the four blocks of the falling piece

struct Cell {
    int16_t Tile = 0;  // which of the six block pictures, 0..5; stale while State is 0
    int16_t State = CellEmpty;
};

// A W x H grid of cells indexed (x, y), stored row after row with x varying fastest.
template <int W, int H>
struct CellGrid {
    static constexpr int Width = W;
    static constexpr int Height = H;
    Cell cells[W * H]{};

    Cell& operator()(int x, int y) { return cells[x + W * y]; }
    const Cell& operator()(int x, int y) const { return cells[x + W * y]; }
};

using BoardCells = CellGrid<BoardWidth, BoardHeight>;
using PreviewCells = CellGrid<PreviewSize, PreviewSize>;

// A piece and where its pivot block stands.
struct PieceRecord {
    int16_t Kind = 0;      // 0..6
    int16_t Rotation = 0;  // 0..3
    int16_t X = 0;
    int16_t Y = 0;
    int16_t Tile = 0;  // 0..5, draws all four blocks

    bool operator==(const PieceRecord&) const = default;
};

// The four cells a piece record covers: the pivot first, then cells 1 to 3.
struct PieceCells {
    int x[4];
    int y[4];
};

class Game {
public:
    explicit Game(GameHost& host) : Host(host) {}

    // Fills the piece catalogue; called once at start-up before anything reads it.
    void InitShapeTable();

    // The engine's part of a new game: empties the board, draws the first pieces,
    // resets every counter and shows them. The window does the rest (pictures,
    // timer, caption, music). SpeedLevel must hold the starting speed already.
    void InitNewGame();

    // One step of play, run by the 30 ms timer.
    void GameTick();

    // Tests TrialPlacement against the board and carries out the outcome:
    // the piece moves there, lands (IsFall) or ends the game (IsSpawn).
    void TryPlacement(bool IsFall, bool IsSpawn);

    // Brings the previewed piece in at column 4, row 0, and draws a new preview.
    void SpawnNextPiece();

    // The landing sequence, one step per tick.
    void FindFullRows();  // PlayPhase 1
    void FlashStep();     // PlayPhase 2
    void CollapseRows();  // PlayPhase 0, before the next piece comes in

    // Points and rows for a landing that completed n full rows (0..4).
    void Award(int n);
    void ShowScore();  // also clamps Score at 999999
    void ShowLines();  // also raises the speed every ten rows
    void ShowSpeed();  // also sets FallDelay

    // The cells covered by a piece record, from the catalogue.
    PieceCells CellsOf(const PieceRecord& piece) const;

    // Offsets (dx or dy) of the three non-pivot cells, indexed
    // (rotation 0..3, cell 1..3, axis 0 = dx / 1 = dy, kind 0..6). Slot 0 of the
    // cell index is the pivot and stays (0, 0).
    int16_t ShapeTable[4][4][2][7]{};

    BoardCells Board;
    PreviewCells PreviewGrid;
    PieceRecord ActivePiece;
    PieceRecord NextPiece;
    PieceRecord TrialPlacement;

    bool GameRunning = false;
    bool PieceFalling = false;
    bool GameOver = false;
    int16_t PlayPhase = 0;  // 0 collapse and spawn, 1 search, 2 flash
    int16_t MoveDelay = 0;
    int16_t FallCounter = 0;
    int16_t FallDelay = 0;
    int16_t MoveRequest = 0;  // 0 none, 1 left, 2 right, 3 down
    int16_t TurnRequest = 0;  // 0 none, 1 Rotation - 1, 2 Rotation + 1
    int32_t Score = 0;
    int32_t LinesCleared = 0;  // 32 bits: a marathon game must not wrap the count
    int16_t SpeedLevel = 0;
    bool SoundOn = false;

    int16_t FullRows[4] = {0, 0, 0, 0};  // rows found by the last search, -1 = free slot
    int16_t FullRowCount = 0;
    bool FlashOn = false;
    int16_t FlashTick = 0;
    int16_t FlashCount = 0;

    static constexpr int32_t MaxScore = 999999;

private:
    void ApplyKeys();
    void ApplyGravity();
    void DrawNextPiece();
    void FillPreview();
    void EndGame();
    void TryShifted(int dx, int dy, int turn, bool isFall);

    GameHost& Host;
};

// Rounds to the nearest integer, an exact half to the even neighbour
// (2.5 gives 2, 3.5 gives 4). Decides the odds of pieces and tiles.
int RoundHalfEven(float value);

}  // namespace stonerush
