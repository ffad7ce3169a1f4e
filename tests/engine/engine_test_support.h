// Test support for the engine: a scripted GameHost, ASCII pictures of the
// board, and a rig that owns a game and counts its ticks.
//
// Pictures: one string per row, ten characters each. '.' is empty, '#' a
// settled block, '@' a block of the falling piece, and a digit 0..5 a settled
// block drawn with that tile. A picture may give only the bottom rows of the
// board; the rows above them are empty.
#pragma once

#include <deque>
#include <initializer_list>
#include <map>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "engine/game.h"

namespace stonerush::testing {

using Rows = std::initializer_list<std::string_view>;

inline BoardCells EmptyBoard() {
    BoardCells board;
    return board;
}

inline BoardCells BoardFromPicture(Rows bottomRows) {
    BoardCells board;
    int y = BoardHeight - static_cast<int>(bottomRows.size());
    for (std::string_view row : bottomRows) {
        for (int x = 0; x < BoardWidth && x < static_cast<int>(row.size()); ++x) {
            const char c = row[x];
            Cell& cell = board(x, y);
            if (c == '#') cell.State = CellSettled;
            if (c == '@') cell.State = CellFalling;
            if (c >= '0' && c <= '5') cell = {static_cast<int16_t>(c - '0'), CellSettled};
        }
        ++y;
    }
    return board;
}

// The whole board, one line per row. With tiles, occupied cells show their tile digit.
inline std::string PictureOf(const BoardCells& board, bool withTiles = false) {
    std::string text;
    for (int y = 0; y < BoardHeight; ++y) {
        for (int x = 0; x < BoardWidth; ++x) {
            const Cell& cell = board(x, y);
            if (cell.State == CellEmpty)
                text += '.';
            else if (withTiles)
                text += static_cast<char>('0' + cell.Tile);
            else
                text += cell.State == CellFalling ? '@' : '#';
        }
        text += '\n';
    }
    return text;
}

// A picture made whole (18 rows), to compare with PictureOf.
inline std::string Picture(Rows bottomRows, bool withTiles = false) {
    return PictureOf(BoardFromPicture(bottomRows), withTiles);
}

inline std::string PictureOf(const PreviewCells& preview) {
    std::string text;
    for (int y = 0; y < PreviewSize; ++y) {
        for (int x = 0; x < PreviewSize; ++x) text += preview(x, y).State == CellEmpty ? '.' : '#';
        text += '\n';
    }
    return text;
}

inline int CountCells(const BoardCells& board, int16_t state) {
    int count = 0;
    for (const Cell& cell : board.cells) count += cell.State == state;
    return count;
}

// A GameHost whose keys and random values are scripted and which records
// everything the game asks of it.
class FakeHost : public GameHost {
public:
    // Keys: Held at every poll, unless KeysAtTick names the current tick.
    KeyRequests Held;
    std::map<int, KeyRequests> KeysAtTick;
    int TickNumber = 0;          // set by the rig before each tick
    std::vector<int> PollTicks;  // the ticks on which the game read the keys

    // Random values: the script first; then the generator if there is one,
    // else RandomDefault (0.5: kind 3, tile 2).
    std::deque<float> RandomScript;
    std::mt19937* Generator = nullptr;
    float RandomDefault = 0.5f;
    int RandomCalls = 0;

    // What the game did, in order: "Redraw", "PlayWave gameover.wav",
    // "ShowGameOver", "EnterHighScore 1234".
    bool LogCalls = true;
    std::vector<std::string> Calls;
    std::vector<std::string> Waves;
    std::map<Counter, std::string> CounterText;
    int CounterUpdates = 0;
    int RedrawCount = 0;
    int HighScoreEntries = 0;

    // With a game to watch, the host also keeps what it looked like at the
    // last redraw and at the high-score entry.
    const Game* Watched = nullptr;
    BoardCells BoardAtLastRedraw;
    bool RunningAtHighScore = true;

    KeyRequests PollKeyboard() override {
        PollTicks.push_back(TickNumber);
        const auto scripted = KeysAtTick.find(TickNumber);
        return scripted != KeysAtTick.end() ? scripted->second : Held;
    }

    void PlayWave(std::string_view fileName) override {
        Waves.emplace_back(fileName);
        Log("PlayWave " + std::string(fileName));
    }

    void SetCounterText(Counter counter, std::string_view text) override {
        CounterText[counter] = std::string(text);
        ++CounterUpdates;
    }

    void Redraw() override {
        ++RedrawCount;
        if (Watched) BoardAtLastRedraw = Watched->Board;
        Log("Redraw");
    }

    void ShowGameOver() override { Log("ShowGameOver"); }

    void EnterHighScore(int32_t score) override {
        ++HighScoreEntries;
        if (Watched) RunningAtHighScore = Watched->GameRunning;
        Log("EnterHighScore " + std::to_string(score));
    }

    float Random() override {
        ++RandomCalls;
        if (!RandomScript.empty()) {
            const float value = RandomScript.front();
            RandomScript.pop_front();
            return value;
        }
        // Top 24 bits of a draw: exact in a float and never 1.
        if (Generator) return static_cast<float>((*Generator)() >> 8) * (1.0f / 16777216.0f);
        return RandomDefault;
    }

private:
    void Log(std::string call) {
        if (LogCalls) Calls.push_back(std::move(call));
    }
};

// A game wired to a fake host, with the catalogue filled and sound on.
struct EngineRig {
    FakeHost host;
    Game game{host};

    EngineRig() {
        game.InitShapeTable();
        game.SoundOn = true;
        host.Watched = &game;
    }

    void StartGame(int speed = 0) {
        game.SpeedLevel = static_cast<int16_t>(speed);
        game.InitNewGame();
        host.TickNumber = 0;
    }

    // Runs n ticks; the first is tick host.TickNumber + 1.
    void Tick(int n = 1) {
        for (int i = 0; i < n; ++i) {
            ++host.TickNumber;
            game.GameTick();
        }
    }

    // Settled blocks from a picture ('@' ignored); the falling piece stays.
    void SetSettled(Rows bottomRows) {
        game.Board = BoardFromPicture(bottomRows);
        for (Cell& cell : game.Board.cells)
            if (cell.State == CellFalling) cell.State = CellEmpty;
        if (game.PieceFalling && !game.GameOver) PlacePiece(game.ActivePiece);
    }

    // Puts the falling piece where the test wants it, without any test.
    void PlacePiece(PieceRecord piece) {
        for (Cell& cell : game.Board.cells)
            if (cell.State == CellFalling) cell.State = CellEmpty;
        const PieceCells cells = game.CellsOf(piece);
        for (int i = 0; i < 4; ++i) game.Board(cells.x[i], cells.y[i]) = {piece.Tile, CellFalling};
        game.ActivePiece = piece;
        game.TrialPlacement = piece;
    }
};

}  // namespace stonerush::testing
