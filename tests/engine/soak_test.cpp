// Thousands of games with random keys, checking the game's invariants after
// every tick. Seeded, so a failure repeats.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>

#include "tests/engine/engine_test_support.h"

namespace stonerush::testing {
namespace {

constexpr int Games = 1500;
constexpr int MaxTicksPerGame = 20000;

// Returns an empty string when all is well, else what went wrong.
std::string BrokenInvariant(const Game& game, int startSpeed, int32_t lastScore) {
    const int falling = CountCells(game.Board, CellFalling);
    if (game.PieceFalling && !game.GameOver) {
        if (falling != 4) return "falling cells: " + std::to_string(falling);
        const PieceCells cells = game.CellsOf(game.ActivePiece);
        for (int i = 0; i < 4; ++i) {
            if (cells.x[i] < 0 || cells.x[i] >= BoardWidth || cells.y[i] < 0 || cells.y[i] >= BoardHeight)
                return "piece outside the board";
            const Cell& cell = game.Board(cells.x[i], cells.y[i]);
            if (cell.State != CellFalling || cell.Tile != game.ActivePiece.Tile)
                return "board does not show the falling piece";
        }
    } else if (falling != 0) {
        return "falling cells while no piece falls: " + std::to_string(falling);
    }
    if (game.Score > Game::MaxScore || game.Score < lastScore) return "score " + std::to_string(game.Score);
    const int level = std::min<int>(game.SpeedLevel, 12);
    if (game.FallDelay != 25 - 2 * level) return "fall delay does not match the speed";
    if (game.SpeedLevel != std::max<int32_t>(startSpeed, game.LinesCleared / 10)) return "speed level";
    if (game.MoveDelay < 0 || game.MoveDelay > 5) return "move delay";
    if (game.FallCounter < 0 || game.FallCounter > 25) return "fall counter";
    if (game.PlayPhase < 0 || game.PlayPhase > 2) return "play phase";
    if (game.FlashTick < 0 || game.FlashTick > 5 || game.FlashCount < 0 || game.FlashCount > 6)
        return "flash counters";
    if (game.FullRowCount < 0 || game.FullRowCount > 4) return "full row count";
    if (game.ActivePiece.Kind < 0 || game.ActivePiece.Kind > 6 || game.NextPiece.Kind < 0 ||
        game.NextPiece.Kind > 6 || game.ActivePiece.Rotation < 0 || game.ActivePiece.Rotation > 3 ||
        game.NextPiece.Tile < 0 || game.NextPiece.Tile > 5)
        return "piece record out of range";
    int preview = 0;
    for (const Cell& cell : game.PreviewGrid.cells) preview += cell.State == CellSettled;
    if (preview != 4) return "preview cells: " + std::to_string(preview);
    return {};
}

// Random play seldom completes a row on its own, so most games start with
// rows that each miss one block, the gaps often in one column: drops then
// clear one to four rows at a time.
void FillWithGappedRows(EngineRig& rig, std::mt19937& generator) {
    std::uniform_int_distribution<int> rows(0, 8), column(0, BoardWidth - 1), tile(0, 5), coin(0, 2);
    const int count = rows(generator);
    int gap = column(generator);
    for (int y = BoardHeight - count; y < BoardHeight; ++y) {
        if (coin(generator) == 0) gap = column(generator);
        for (int x = 0; x < BoardWidth; ++x)
            rig.game.Board(x, y) = {int16_t(tile(generator)), x == gap ? CellEmpty : CellSettled};
    }
    rig.PlacePiece(rig.game.ActivePiece);
}

bool Fits(const Game& game, const PieceRecord& piece) {
    const PieceCells cells = game.CellsOf(piece);
    for (int i = 0; i < 4; ++i) {
        if (cells.x[i] < 0 || cells.x[i] >= BoardWidth || cells.y[i] < 0 || cells.y[i] >= BoardHeight)
            return false;
        if (game.Board(cells.x[i], cells.y[i]).State == CellSettled) return false;
    }
    return true;
}

// How good the board is after dropping the piece straight down: rows
// completed count for it, height, holes and bumps against it.
double Rate(const Game& game, PieceRecord piece) {
    while (true) {
        PieceRecord lower = piece;
        ++lower.Y;
        if (!Fits(game, lower)) break;
        piece = lower;
    }
    bool filled[BoardHeight][BoardWidth];
    for (int y = 0; y < BoardHeight; ++y)
        for (int x = 0; x < BoardWidth; ++x) filled[y][x] = game.Board(x, y).State == CellSettled;
    const PieceCells cells = game.CellsOf(piece);
    for (int i = 0; i < 4; ++i) filled[cells.y[i]][cells.x[i]] = true;
    int rows = 0, holes = 0, heights = 0, bumps = 0, previous = -1;
    for (int y = 0; y < BoardHeight; ++y) {
        int count = 0;
        for (int x = 0; x < BoardWidth; ++x) count += filled[y][x];
        rows += count == BoardWidth;
    }
    for (int x = 0; x < BoardWidth; ++x) {
        int top = 0;
        while (top < BoardHeight && !filled[top][x]) ++top;
        for (int y = top; y < BoardHeight; ++y) holes += !filled[y][x];
        const int height = BoardHeight - top;
        heights += height;
        if (previous >= 0) bumps += std::abs(height - previous);
        previous = height;
    }
    return 0.76 * rows - 0.51 * heights - 0.36 * holes - 0.18 * bumps;
}

// Picks a place for each piece as it enters and steers it there, with a
// random key now and then; after a number of pieces it only drops them, so
// every game ends.
class Player {
public:
    explicit Player(std::mt19937& generator) : generator(generator) {}

    void NewGame() { piecesLeft = pieces(generator); }

    void NewPiece(const Game& game) {
        --piecesLeft;
        targetX = game.ActivePiece.X;
        targetRotation = 0;
        double best = -1e9;
        for (int16_t rotation = 0; rotation < 4; ++rotation)
            for (int16_t x = -1; x <= BoardWidth; ++x) {
                const PieceRecord place{game.ActivePiece.Kind, rotation, x, 1, 0};
                if (!Fits(game, place)) continue;
                const double rating = Rate(game, place);
                if (rating > best) best = rating, targetX = x, targetRotation = rotation;
            }
    }

    KeyRequests Keys(const PieceRecord& piece) {
        if (piecesLeft < 0) return {3, 0};
        if (noise(generator) == 0) return {int16_t(move(generator)), int16_t(turn(generator))};
        const int16_t turning = piece.Rotation != targetRotation ? 2 : 0;
        const int16_t moving = piece.X > targetX ? 1 : piece.X < targetX ? 2 : turning ? 0 : 3;
        return {moving, turning};
    }

private:
    std::mt19937& generator;
    std::uniform_int_distribution<int> pieces{0, 40}, noise{0, 19}, move{0, 3}, turn{0, 2};
    int piecesLeft = 0;
    int targetX = 4;
    int targetRotation = 0;
};

TEST(Soak, RandomGamesKeepEveryInvariantAfterEveryTick) {
    std::mt19937 generator(20261206);
    std::uniform_int_distribution<int> speed(0, 12);
    Player player(generator);
    EngineRig rig;
    rig.host.Generator = &generator;
    rig.host.LogCalls = false;
    long long ticks = 0;
    int32_t bestScore = 0, mostLines = 0, totalLines = 0;

    for (int gameNumber = 0; gameNumber < Games; ++gameNumber) {
        const int startSpeed = speed(generator);
        rig.host.HighScoreEntries = 0;
        rig.StartGame(startSpeed);
        FillWithGappedRows(rig, generator);
        player.NewGame();
        player.NewPiece(rig.game);
        int32_t lastScore = 0;
        int tick = 0;
        for (; tick < MaxTicksPerGame && rig.game.GameRunning; ++tick) {
            const bool wasFalling = rig.game.PieceFalling;
            rig.host.Held = player.Keys(rig.game.ActivePiece);
            rig.Tick();
            if (!wasFalling && rig.game.PieceFalling) player.NewPiece(rig.game);
            const std::string broken = BrokenInvariant(rig.game, startSpeed, lastScore);
            ASSERT_EQ(broken, "") << "game " << gameNumber << ", tick " << tick << "\n"
                                  << PictureOf(rig.game.Board);
            ASSERT_EQ(std::stoi(rig.host.CounterText[Counter::Score]), rig.game.Score);
            lastScore = rig.game.Score;
        }
        ticks += tick;
        ASSERT_FALSE(rig.game.GameRunning) << "game " << gameNumber << " never ended";
        ASSERT_TRUE(rig.game.GameOver);
        ASSERT_EQ(rig.host.HighScoreEntries, 1);
        bestScore = std::max(bestScore, rig.game.Score);
        mostLines = std::max(mostLines, rig.game.LinesCleared);
        totalLines += rig.game.LinesCleared;
    }
    RecordProperty("ticks", std::to_string(ticks));
    EXPECT_GT(totalLines, Games) << "the soak should clear rows often";
    const auto quads = std::count(rig.host.Waves.begin(), rig.host.Waves.end(), "quad.wav");
    std::printf("%d games, %lld ticks, %d rows cleared (%d four at once), best score %d, most rows %d\n",
                Games, ticks, totalLines, int(quads), bestScore, mostLines);
}

}  // namespace
}  // namespace stonerush::testing
