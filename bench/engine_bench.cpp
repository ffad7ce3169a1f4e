// How long one GameTick takes on a busy board, and how fast a whole game runs.
//
//   build/engine-tests/bench/engine_bench
#include <benchmark/benchmark.h>

#include <cstdint>

#include "engine/game.h"

namespace {

using stonerush::BoardHeight;
using stonerush::BoardWidth;
using stonerush::Cell;
using stonerush::CellEmpty;
using stonerush::CellSettled;
using stonerush::Counter;
using stonerush::Game;
using stonerush::GameHost;
using stonerush::KeyRequests;

// A host that does as little as a host can: keys from a fixed cycle, random
// values from a small inline generator, and nothing drawn or played.
class QuietHost : public GameHost {
public:
    KeyRequests PollKeyboard() override {
        // Left, turn, down, right, down with a turn, down: the piece wanders and drops.
        static constexpr KeyRequests Cycle[] = {{1, 0}, {0, 2}, {3, 0}, {2, 0}, {3, 1}, {3, 0}};
        return Cycle[polls++ % 6];
    }
    void PlayWave(std::string_view) override {}
    void SetCounterText(Counter, std::string_view) override {}
    void Redraw() override { ++redraws; }
    void ShowGameOver() override {}
    void EnterHighScore(int32_t) override { ++gamesOver; }
    float Random() override {
        state = state * 1664525u + 1013904223u;
        return static_cast<float>(state >> 8) * (1.0f / 16777216.0f);
    }

    unsigned polls = 0;
    unsigned redraws = 0;
    unsigned gamesOver = 0;

private:
    uint32_t state = 12345;
};

// The bottom half of the board full of blocks with one gap per row, so
// pieces land often and now and then complete a row.
void FillLowerHalf(Game& game) {
    for (int y = 0; y < BoardHeight; ++y)
        for (int x = 0; x < BoardWidth; ++x) {
            Cell& cell = game.Board(x, y);
            const bool gap = x == (y * 7) % BoardWidth;
            cell.State = y >= BoardHeight / 2 && !gap ? CellSettled : CellEmpty;
            cell.Tile = static_cast<int16_t>((x + y) % 6);
        }
}

void StartBusyGame(Game& game) {
    game.SpeedLevel = 8;  // a piece falls every 10th tick
    game.InitNewGame();
    FillLowerHalf(game);
    game.TrialPlacement = game.ActivePiece;
    game.TryPlacement(false, true);
}

// Ticks on a half-full board with keys held, landings, flashing and collapses
// included; a game that ends is set up again (rarely, and counted in).
void BM_GameTickBusyBoard(benchmark::State& state) {
    QuietHost host;
    Game game(host);
    game.InitShapeTable();
    StartBusyGame(game);
    int64_t landingTicks = 0;
    for (auto _ : state) {
        game.GameTick();
        landingTicks += !game.PieceFalling;
        if (!game.GameRunning) StartBusyGame(game);
        benchmark::DoNotOptimize(game.Board);
    }
    state.SetItemsProcessed(state.iterations());
    const auto perTick = benchmark::Counter::kAvgIterations;
    state.counters["landing_share"] = benchmark::Counter(static_cast<double>(landingTicks), perTick);
    state.counters["restart_share"] = benchmark::Counter(host.gamesOver, perTick);
}
BENCHMARK(BM_GameTickBusyBoard);

// Whole games from START to game over at speed 0; reports ticks per second.
void BM_WholeGame(benchmark::State& state) {
    QuietHost host;
    Game game(host);
    game.InitShapeTable();
    int64_t ticks = 0;
    for (auto _ : state) {
        game.SpeedLevel = 0;
        game.InitNewGame();
        while (game.GameRunning) {
            game.GameTick();
            ++ticks;
        }
        benchmark::DoNotOptimize(game.Score);
    }
    state.counters["ticks_per_game"] = benchmark::Counter(static_cast<double>(ticks) / state.iterations());
    state.counters["ticks_per_second"] =
        benchmark::Counter(static_cast<double>(ticks), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_WholeGame);

}  // namespace

BENCHMARK_MAIN();
