// How long one step (one tick) of the game takes on a busy board, and how
// fast a whole game runs.
//
//   build/default/bench/engine_bench
#include <benchmark/benchmark.h>

#include <cstdint>

#include "engine/game.h"

namespace {

using stonerush::Board;
using stonerush::CellState;
using stonerush::Game;
using stonerush::Steer;
using stonerush::SteerSet;

// Random values from a small inline generator.
class QuickRandom : public stonerush::RandomSource {
public:
    float next() override {
        m_state = m_state * 1664525u + 1013904223u;
        return static_cast<float>(m_state >> 8) * (1.0f / 16777216.0f);
    }

private:
    uint32_t m_state = 12345;
};

// Keys from a fixed cycle, one entry per step: left, turn, down, right, down
// with a turn, down. The piece wanders and drops.
SteerSet keysAt(unsigned step) {
    static const SteerSet cycle[] = {{Steer::Left},
                                     {Steer::TurnClockwise},
                                     {Steer::Down},
                                     {Steer::Right},
                                     {Steer::Down, Steer::TurnAnticlockwise},
                                     {Steer::Down}};
    return cycle[step % 6];
}

// The bottom half of the board full of blocks with one gap per row, so
// pieces land often and now and then complete a row.
Board lowerHalfFull() {
    Board board;
    for (int y = stonerush::boardHeight / 2; y < stonerush::boardHeight; ++y)
        for (int x = 0; x < stonerush::boardWidth; ++x)
            if (x != (y * 7) % stonerush::boardWidth)
                board.at(x, y) = {static_cast<stonerush::Tile>((x + y) % 6), CellState::Settled};
    return board;
}

// Steps on a half-full board at speed 8 (a piece falls every 10th step) with
// keys held, landings, flashing and collapses included; a game that ends is
// set up again (rarely, and counted in).
void BM_TickBusyBoard(benchmark::State& state) {
    QuickRandom random;
    const Board field = lowerHalfFull();
    Game game(8, random, field);
    unsigned steps = 0;
    int64_t landingTicks = 0, restarts = 0;
    for (auto _ : state) {
        game.step(keysAt(steps++), random);
        const stonerush::Piece& piece = game.fallingPiece();  // its pivot is a falling cell while it falls
        landingTicks += game.board().at(piece.x, piece.y).state != CellState::Falling;
        if (game.isOver()) {
            game = Game(8, random, field);
            ++restarts;
        }
        benchmark::DoNotOptimize(game.board());
    }
    state.SetItemsProcessed(state.iterations());
    const auto perTick = benchmark::Counter::kAvgIterations;
    state.counters["landing_share"] = benchmark::Counter(static_cast<double>(landingTicks), perTick);
    state.counters["restart_share"] = benchmark::Counter(static_cast<double>(restarts), perTick);
}
BENCHMARK(BM_TickBusyBoard);

// Whole games from the first piece to the last at speed 0; reports ticks per second.
void BM_WholeGame(benchmark::State& state) {
    QuickRandom random;
    int64_t ticks = 0;
    for (auto _ : state) {
        Game game(0, random);
        for (unsigned step = 0; !game.isOver(); ++step, ++ticks) game.step(keysAt(step), random);
        benchmark::DoNotOptimize(game.score());
    }
    state.counters["ticks_per_game"] = benchmark::Counter(static_cast<double>(ticks) / state.iterations());
    state.counters["ticks_per_second"] =
        benchmark::Counter(static_cast<double>(ticks), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_WholeGame);

}  // namespace

BENCHMARK_MAIN();
