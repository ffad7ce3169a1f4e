// The timer tick and the start of a new game.
#include "engine/game.h"

namespace stonerush {

void Game::InitNewGame() {
    for (int y = 0; y < BoardHeight; ++y)
        for (int x = 0; x < BoardWidth; ++x) Board(x, y).State = CellEmpty;  // tiles stay
    DrawNextPiece();                                                         // the first falling piece...
    SpawnNextPiece();  // ...comes in, and a second one is previewed
    ShowSpeed();
    FallCounter = 0;
    MoveDelay = 0;
    LinesCleared = 0;
    Score = 0;
    ShowScore();
    Host.SetCounterText(Counter::Lines, "0");
    FullRowCount = 0;
    FlashTick = 0;
    FlashCount = 0;
    FlashOn = false;
    PlayPhase = 0;
    GameRunning = true;
    GameOver = false;
    PieceFalling = true;
    MoveRequest = 0;
    TurnRequest = 0;
}

void Game::GameTick() {
    if (!GameRunning) return;  // before the first game, paused, or over: no input, no drawing

    if (PieceFalling) {
        ApplyKeys();
        ApplyGravity();  // also on ticks that skipped the keys
    } else if (PlayPhase == 0) {
        CollapseRows();
        PieceFalling = true;
        SpawnNextPiece();
    } else if (PlayPhase == 1) {
        FindFullRows();
    } else {
        FlashStep();
    }

    Host.Redraw();
    if (GameOver) EndGame();
}

// Copies the active piece into the trial record, shifts or turns it, and tests it.
void Game::TryShifted(int dx, int dy, int turn, bool isFall) {
    TrialPlacement = ActivePiece;
    TrialPlacement.X = static_cast<int16_t>(TrialPlacement.X + dx);
    TrialPlacement.Y = static_cast<int16_t>(TrialPlacement.Y + dy);
    TrialPlacement.Rotation = static_cast<int16_t>((TrialPlacement.Rotation + turn + 4) % 4);
    TryPlacement(isFall, false);
}

void Game::ApplyKeys() {
    if (MoveDelay > 0) {
        --MoveDelay;
        return;
    }
    const KeyRequests keys = Host.PollKeyboard();
    MoveRequest = keys.Move;
    TurnRequest = keys.Turn;

    // A refused turn or move still waits out its delay, so a key held against
    // a wall is retried every 6th tick (every 4th for down).
    if (TurnRequest == 1) {
        TryShifted(0, 0, -1, false);
        MoveDelay = 5;
    } else if (TurnRequest == 2) {
        TryShifted(0, 0, +1, false);
        MoveDelay = 5;
    }
    if (MoveRequest == 1) {
        TryShifted(-1, 0, 0, false);
        MoveDelay = 5;
    } else if (MoveRequest == 2) {
        TryShifted(+1, 0, 0, false);
        MoveDelay = 5;
    } else if (MoveRequest == 3) {
        TryShifted(0, +1, 0, true);
        MoveDelay = 3;
    }
}

void Game::ApplyGravity() {
    // The counter is reset only here and by a new game, never at a spawn.
    if (FallCounter >= FallDelay) {
        TryShifted(0, +1, 0, true);
        FallCounter = 0;
    } else {
        ++FallCounter;
    }
}

void Game::EndGame() {
    if (SoundOn) Host.PlayWave("gameover.wav");
    Host.ShowGameOver();
    GameRunning = false;  // before the name prompt, so ticks meanwhile do nothing
    Host.EnterHighScore(Score);
}

}  // namespace stonerush
