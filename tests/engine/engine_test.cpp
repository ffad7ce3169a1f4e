// The rules of the game against a scripted host: one fixture, one table per
// behaviour. Boards are drawn as text, one string per row: '.' empty, '@' a
// block of the falling piece, a digit a settled block drawn with that tile.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "engine/game.h"

namespace stonerush {

void PrintTo(const PieceRecord& p, std::ostream* out) {
    *out << "{kind " << p.Kind << ", rotation " << p.Rotation << ", x " << p.X << ", y " << p.Y << ", tile "
         << p.Tile << "}";
}

namespace {

using Rows = std::vector<std::string>;
using Ticks = std::vector<int>;
constexpr KeyRequests NoKey{0, 0}, Left{1, 0}, Right{2, 0}, Down{3, 0}, TurnBack{0, 1}, TurnOn{0, 2};
const auto ByName = [](const auto& info) { return std::string(info.param.name); };

template <int W, int H>
Rows Picture(const CellGrid<W, H>& grid) {
    Rows rows(H, std::string(W, '.'));
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            if (const Cell& c = grid(x, y); c.State != CellEmpty)
                rows[y][x] = c.State == CellFalling ? '@' : char('0' + c.Tile);
    return rows;
}

class Engine : public ::testing::Test, public GameHost {
protected:
    Engine() {
        game.InitShapeTable();
        game.SoundOn = true;
    }

    KeyRequests PollKeyboard() override {
        polls.push_back(tick);
        const auto key = keysAt.find(tick);
        return key == keysAt.end() ? held : key->second;
    }
    void PlayWave(std::string_view name) override { calls.push_back("PlayWave " + std::string(name)); }
    void SetCounterText(Counter counter, std::string_view text) override { texts[counter] = text; }
    void Redraw() override { calls.push_back("Redraw"); }
    void ShowGameOver() override { calls.push_back("ShowGameOver"); }
    void EnterHighScore(int32_t score) override {
        calls.push_back("EnterHighScore " + std::to_string(score) +
                        (game.GameRunning ? " while running" : ""));
    }
    float Random() override {  // the script first, then 24 random bits: exact in a float, below 1
        if (randoms.empty()) return float(rng() >> 8) / 16777216.0f;
        const float r = randoms.front();
        randoms.pop_front();
        return r;
    }

    void Start(int speed = 0) {
        game.SpeedLevel = int16_t(speed);
        game.InitNewGame();
        tick = 0;
    }
    void Tick(int n = 1) {
        for (; n > 0; --n) ++tick, game.GameTick();
    }
    void Settle(const Rows& bottomRows) {  // an empty board with these bottom rows
        game.Board = BoardCells{};
        const int top = BoardHeight - int(bottomRows.size());
        for (int y = top; y < BoardHeight; ++y)
            for (int x = 0; x < BoardWidth; ++x)
                if (const char c = bottomRows[y - top][x]; c != '.')
                    game.Board(x, y) = {int16_t(c - '0'), CellSettled};
    }
    void Place(PieceRecord piece) {  // the falling piece, put there without a placement test
        for (Cell& cell : game.Board.cells)
            if (cell.State == CellFalling) cell.State = CellEmpty;
        const PieceCells cells = game.CellsOf(piece);
        for (int i = 0; i < 4; ++i) game.Board(cells.x[i], cells.y[i]) = {piece.Tile, CellFalling};
        game.ActivePiece = game.TrialPlacement = piece;
    }
    Rows Bottom(size_t n) const {  // the bottom n rows of the board
        const Rows all = Picture(game.Board);
        return Rows(all.end() - n, all.end());
    }
    std::string Labels() {
        return texts[Counter::Score] + "|" + texts[Counter::Lines] + "|" + texts[Counter::Speed];
    }

    std::string BrokenInvariant(int startSpeed, int32_t lastScore) const {
        BoardCells expected = game.Board;  // the settled blocks and exactly the falling piece
        for (Cell& cell : expected.cells) cell.State = cell.State == CellFalling ? CellEmpty : cell.State;
        const PieceCells p = game.CellsOf(game.ActivePiece);
        for (int i = 0; i < 4 && game.PieceFalling && !game.GameOver; ++i) {
            if (p.x[i] < 0 || p.x[i] >= BoardWidth || p.y[i] < 0 || p.y[i] >= BoardHeight)
                return "off the board";
            expected(p.x[i], p.y[i]) = {game.ActivePiece.Tile, CellFalling};
        }
        if (Picture(expected) != Picture(game.Board)) return "the falling cells are not the piece";
        std::string label = std::to_string(game.Score);
        label.insert(0, 6 - std::min<size_t>(6, label.size()), '0');
        if (game.Score < lastScore || game.Score > 999999 || texts.at(Counter::Score) != label)
            return "score";
        if (game.SpeedLevel != std::max<int>(startSpeed, game.LinesCleared / 10)) return "speed level";
        if (game.FallDelay != 25 - 2 * std::min<int>(game.SpeedLevel, 12)) return "fall delay";
        if (game.MoveDelay < 0 || game.MoveDelay > 5 || game.FallCounter < 0 || game.FallCounter > 25 ||
            game.PlayPhase < 0 || game.PlayPhase > 2 || game.FlashTick < 0 || game.FlashTick > 5 ||
            game.FlashCount < 0 || game.FlashCount > 6 || game.FullRowCount < 0 || game.FullRowCount > 4)
            return "a counter out of range";
        int preview = 0;
        for (const Cell& cell : game.PreviewGrid.cells) preview += cell.State == CellSettled;
        return preview == 4 ? "" : "preview cells: " + std::to_string(preview);
    }

    std::mt19937 rng{20261207};
    std::deque<float> randoms;
    KeyRequests held;
    std::map<int, KeyRequests> keysAt;  // overrides held on these ticks
    int tick = 0;
    Ticks polls;  // the ticks on which the keys were read
    Rows calls;   // Redraw, PlayWave, ShowGameOver and EnterHighScore, in order
    std::map<Counter, std::string> texts;
    Game game{*this};
};

// Gravity and the key repeats: on which ticks a value changes, and where it ends.
struct TimelineCase {
    const char* name;
    KeyRequests held;
    char watch;  // 'y' row, 'x' column, 'r' rotation, 'p' number of key reads
    int speed, ticks, last;
    Ticks changes;
    PieceRecord piece = {1, 0, 4, 5, 0};
    int fallCounter = 0;
};
class Timeline : public Engine, public ::testing::WithParamInterface<TimelineCase> {};

TEST_P(Timeline, ChangesOnTheseTicks) {
    const TimelineCase& c = GetParam();
    Start(c.speed);
    Place(c.piece);
    game.FallCounter = int16_t(c.fallCounter);
    held = c.held;
    auto watched = [&] {
        const PieceRecord& p = game.ActivePiece;
        return c.watch == 'y' ? p.Y : c.watch == 'x' ? p.X : c.watch == 'r' ? p.Rotation : int(polls.size());
    };
    Ticks changes;
    while (tick < c.ticks) {
        const int before = watched();
        Tick();
        if (watched() != before) changes.push_back(tick);
    }
    EXPECT_EQ(changes, c.changes);
    EXPECT_EQ(watched(), c.last);
}

INSTANTIATE_TEST_SUITE_P(
    Engine, Timeline,
    ::testing::Values(
        TimelineCase{"GravityEvery26thTickAtSpeed0", NoKey, 'y', 0, 80, 8, {26, 52, 78}},
        TimelineCase{"GravityEvery16thTickAtSpeed5", NoKey, 'y', 5, 48, 8, {16, 32, 48}},
        TimelineCase{"GravityEvery2ndTickAtSpeed12", NoKey, 'y', 12, 8, 9, {2, 4, 6, 8}},
        TimelineCase{"HeldSidewaysKeyEvery6thTick", Left, 'x', 0, 14, 1, {1, 7, 13}},
        TimelineCase{"HeldTurnKeyEvery6thTick", TurnOn, 'r', 0, 14, 3, {1, 7, 13}},
        TimelineCase{"HeldDownKeyEvery4thTick", Down, 'y', 0, 12, 8, {1, 5, 9}},
        TimelineCase{"NoKeyHeldReadsEveryTick", NoKey, 'p', 0, 4, 4, {1, 2, 3, 4}},
        TimelineCase{
            "KeyAgainstTheWallRetriedEvery6thTick", Left, 'p', 0, 13, 3, {1, 7, 13}, {6, 0, 0, 5, 0}},
        TimelineCase{"DownKeyAndGravityMoveTwoRows", Down, 'y', 0, 1, 7, {1}, {1, 0, 4, 5, 0}, 25},
        TimelineCase{"CounterAboveALoweredDelayFallsAtOnce", NoKey, 'y', 1, 1, 6, {1}, {1, 0, 4, 5, 0}, 24}),
    ByName);

// One read of the keys: a turn first, then a move; the later delay stands.
struct KeyCase {
    const char* name;
    PieceRecord before;
    KeyRequests keys;
    PieceRecord after;
    int moveDelay;
};
class KeyRead : public Engine, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(KeyRead, TurnsMovesAndSetsTheDelay) {
    Start();
    Place(GetParam().before);
    keysAt[1] = GetParam().keys;
    Tick();
    EXPECT_EQ(game.ActivePiece, GetParam().after);
    EXPECT_EQ(game.MoveDelay, GetParam().moveDelay);
}

INSTANTIATE_TEST_SUITE_P(
    Engine, KeyRead,
    ::testing::Values(KeyCase{"TurnBackFromZeroGivesThree", {2, 0, 4, 5, 0}, TurnBack, {2, 3, 4, 5, 0}, 5},
                      KeyCase{"TurnOnFromThreeGivesZero", {2, 3, 4, 5, 0}, TurnOn, {2, 0, 4, 5, 0}, 5},
                      KeyCase{"Right", {1, 0, 4, 5, 0}, Right, {1, 0, 5, 5, 0}, 5},
                      KeyCase{"TurnThenLeft", {1, 0, 4, 5, 0}, {1, 2}, {1, 1, 3, 5, 0}, 5},
                      KeyCase{"TurnThenDownLeavesTheDownDelay", {1, 0, 4, 5, 0}, {3, 1}, {1, 3, 4, 6, 0}, 3},
                      KeyCase{"NoTurnAboveRowZero", {1, 0, 4, 0, 0}, TurnOn, {1, 0, 4, 0, 0}, 5},
                      KeyCase{"SquareTurnsInRowZero", {6, 0, 4, 0, 0}, TurnOn, {6, 1, 4, 0, 0}, 5}),
    ByName);

// The placement test on a board, with its outcome.
struct PlacementCase {
    const char* name;
    Rows settled, after;
    PieceRecord active, trial, activeAfter;
    bool isFall, isSpawn, falling = true;
    int phase = 0;
    bool over = false;
};
class Placement : public Engine, public ::testing::WithParamInterface<PlacementCase> {};

TEST_P(Placement, FitsLandsOrEndsTheGame) {
    const PlacementCase& c = GetParam();
    Start();
    Settle(c.settled);
    if (c.isSpawn)
        game.ActivePiece = c.active;  // not on the board until it fits
    else
        Place(c.active);
    game.TrialPlacement = c.trial;
    game.TryPlacement(c.isFall, c.isSpawn);
    EXPECT_EQ(Bottom(c.after.size()), c.after);
    EXPECT_EQ(game.ActivePiece, c.activeAfter);
    EXPECT_EQ(game.PieceFalling, c.falling);
    EXPECT_EQ(game.PlayPhase, c.phase);
    EXPECT_EQ(game.GameOver, c.over);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Engine, Placement, ::testing::Values(
    PlacementCase{"WallRefusesAMove", {}, {"@@........", "@@........"},
                  {6, 0, 0, 16, 1}, {6, 0, -1, 16, 1}, {6, 0, 0, 16, 1}, false, false},
    PlacementCase{"SettledBlockRefusesAMove", {"..3.......", ".........."}, {"..3@@@....", "....@....."},
                  {1, 0, 4, 16, 0}, {1, 0, 3, 16, 0}, {1, 0, 4, 16, 0}, false, false},
    PlacementCase{"MoveLeavesNoTrail", {}, {"....@@@...", ".....@...."},
                  {1, 0, 4, 16, 2}, {1, 0, 5, 16, 2}, {1, 0, 5, 16, 2}, false, false},
    PlacementCase{"OwnBlocksDoNotBlockATurn", {}, {"....@.....", "...@@.....", "....@....."},
                  {1, 0, 4, 16, 0}, {1, 1, 4, 16, 0}, {1, 1, 4, 16, 0}, false, false},
    PlacementCase{"FloorLandsThePiece", {}, {"44........", "44........"},
                  {6, 0, 0, 16, 4}, {6, 0, 0, 17, 4}, {6, 0, 0, 16, 4}, true, false, false, 1},
    PlacementCase{"LandsWhereItLastStoodNotWhereTheTrialWas", {}, {"...555....", "...5......", ".........."},
                  {2, 0, 4, 15, 5}, {2, 3, 9, 17, 5}, {2, 0, 4, 15, 5}, true, false, false, 1},
    PlacementCase{"BlockedSpawnEndsTheGameAndLeavesNoTrace", {"....2....."}, {"....2....."},
                  {1, 0, 4, 16, 0}, {1, 0, 4, 16, 0}, {1, 0, 4, 16, 0}, false, true, true, 0, true},
    PlacementCase{"BlockedTurnChangesNothing", {"0.00000000", "0.00000000", "0.00000000", "0.00000000"},
                  {"0@00000000", "0@00000000", "0@00000000", "0@00000000"},
                  {0, 1, 1, 15, 2}, {0, 2, 1, 15, 2}, {0, 1, 1, 15, 2}, false, false}),
    ByName);
// clang-format on

// Generator values at the rounding boundaries: the first piece takes its tile
// from the first value, the previewed one its kind from the fourth.
struct SpawnCase {
    const char* name;
    float r;
    int kind, tile;
    std::string previewRow1, previewRow2;
};
class Spawn : public Engine, public ::testing::WithParamInterface<SpawnCase> {};

TEST_P(Spawn, RoundsHalvesToEvenAndShowsTheNextPiece) {
    const SpawnCase& c = GetParam();
    randoms = {c.r, 0.0f, 0.0f, c.r};
    Start();
    EXPECT_EQ(game.ActivePiece, (PieceRecord{0, 0, 4, 0, int16_t(c.tile)}));
    EXPECT_EQ(Bottom(BoardHeight)[0], "...@@@@...");
    EXPECT_EQ(game.NextPiece.Kind, c.kind);
    EXPECT_EQ(game.NextPiece.Tile, 0);
    EXPECT_EQ(Picture(game.PreviewGrid), (Rows{"....", c.previewRow1, c.previewRow2, "...."}));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Engine, Spawn, ::testing::Values(
    SpawnCase{"Zero", 0.0f, 0, 0, "0000", "...."},
    SpawnCase{"OneEighth", 0.125f, 1, 1, "000.", ".0.."},
    SpawnCase{"OneQuarter", 0.25f, 2, 1, "000.", "0..."},
    SpawnCase{"OneHalf", 0.5f, 3, 2, "000.", "..0."},
    SpawnCase{"ThreeQuarters", 0.75f, 4, 4, "00..", ".00."},
    SpawnCase{"SevenEighths", 0.875f, 5, 4, ".00.", "00.."},
    SpawnCase{"LargestBelowOne", 1.0f - 1.0f / 16777216, 6, 5, ".00.", ".00."}),
    ByName);
// clang-format on

// After a landing: t+1 search, t+2..t+38 flashing, t+39 collapse and the next
// piece. Trace, one character per tick after the landing: 'N' a new piece,
// '0' no full row, '+' or '-' the full rows shown or hidden.
const std::string Flashing = "+-----++++++------++++++------++++++--N";
struct LandingCase {
    const char *name, *wave;
    Rows settled, after;
    Ticks fullRows;
    int32_t score;
    bool sound = true;
};
class Landing : public Engine, public ::testing::WithParamInterface<LandingCase> {};

TEST_P(Landing, SearchFlashCollapseAndTheNextPiece) {
    const LandingCase& c = GetParam();
    game.SoundOn = c.sound;
    Start();
    Settle(c.settled);
    Place({0, 1, 9, 15, 3});  // an upright straight piece, rows 14 to 17 of column 9
    held = Down;
    Tick();  // lands at once
    std::string trace;
    while (!game.PieceFalling && tick < 100) {
        Tick();
        const int row = game.FullRows[0];
        trace += game.PieceFalling ? 'N' : row < 0 ? '0' : game.Board(0, row).State ? '+' : '-';
    }
    EXPECT_EQ(trace, c.fullRows[0] < 0 ? "0N" : Flashing);
    EXPECT_EQ(Ticks(game.FullRows, game.FullRows + 4), c.fullRows);
    EXPECT_EQ(game.Score, c.score);
    EXPECT_EQ(Bottom(c.after.size()), c.after);
    std::string waves;
    for (const std::string& call : calls) waves += call[0] == 'P' ? call.substr(9) : "";
    EXPECT_EQ(waves, c.wave);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "Redraw"), tick) << "every step is drawn";
    EXPECT_EQ(game.FallCounter, 1) << "counted on the landing tick, kept through the landing and the spawn";
    Tick();
    EXPECT_EQ(polls, (Ticks{1, tick})) << "keys are read again only once the next piece is in";
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Engine, Landing, ::testing::Values(
    LandingCase{"NoRowFivePointsSilently", "", {"1111.1111."},
        {".........3", ".........3", ".........3", "1111.11113"}, {-1, -1, -1, -1}, 5},
    LandingCase{"OneRow", "line.wav", {"111111111."},
        {"..........", ".........3", ".........3", ".........3"}, {17, -1, -1, -1}, 100},
    LandingCase{"Rows16And17", "line.wav",
        {"2.........", "..........", "..........", "111111111.", "111111111."},
        {"..........", "..........", "2.........", ".........3", ".........3"}, {16, 17, -1, -1}, 250},
    LandingCase{"Rows14And17", "line.wav",
        {"2.........", "111111111.", "1111.1111.", "111.11111.", "111111111."},
        {"..........", "..........", "2.........", "1111.11113", "111.111113"}, {14, 17, -1, -1}, 250},
    LandingCase{"FourRows", "quad.wav",
        {"2.........", "111111111.", "111111111.", "111111111.", "111111111."},
        {"..........", "2........."}, {14, 15, 16, 17}, 1000},
    LandingCase{"FourRowsWithSoundOff", "", {"111111111.", "111111111.", "111111111.", "111111111."},
        {".........."}, {14, 15, 16, 17}, 1000, false}),
    ByName);
// clang-format on

// The award after a landing, the speed-up, and the three labels (score|lines|speed;
// empty when not shown again), the score chosen at the label's boundaries.
struct AwardCase {
    const char *name, *labels;
    int rows, level, linesBefore, scoreBefore, score, lines, levelAfter, fallDelay;
};
class Award : public Engine, public ::testing::WithParamInterface<AwardCase> {};

TEST_P(Award, AddsPointsAndRowsAndRaisesTheSpeed) {
    const AwardCase& c = GetParam();
    Start(c.level);
    game.Score = c.scoreBefore;
    game.LinesCleared = c.linesBefore;
    texts.clear();
    game.Award(c.rows);
    EXPECT_EQ(game.Score, c.score);
    EXPECT_EQ(game.LinesCleared, c.lines);
    EXPECT_EQ(game.SpeedLevel, c.levelAfter);
    EXPECT_EQ(game.FallDelay, c.fallDelay);
    EXPECT_EQ(Labels(), c.labels);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Engine, Award, ::testing::Values(
    AwardCase{"NoRow", "000100||", 0, 0, 3, 95, 100, 3, 0, 25},
    AwardCase{"NoRowHasNoLevelBonus", "000009||", 0, 9, 3, 4, 9, 3, 9, 7},
    AwardCase{"OneRow", "009999|4|", 1, 0, 3, 9899, 9999, 4, 0, 25},
    AwardCase{"TwoRowsAtLevel3", "001000|5|", 2, 3, 3, 675, 1000, 5, 3, 19},
    AwardCase{"ThreeRows", "000999|6|", 3, 0, 3, 499, 999, 6, 0, 25},
    AwardCase{"FourRowsAtLevel12", "100000|7|", 4, 12, 3, 98700, 100000, 7, 12, 1},
    AwardCase{"TenthRowRaisesTheSpeed", "010000|10|1", 1, 0, 9, 9900, 10000, 10, 1, 23},
    AwardCase{"RowsThatRaiseTheSpeedScoreAtTheOldLevel", "099999|30|3", 4, 2, 26, 98949, 99999, 30, 3, 19},
    AwardCase{"HighStartingSpeedHoldsUntilTheRowsCatchUp", "000150|10|", 1, 2, 9, 0, 150, 10, 2, 21},
    AwardCase{"OneLevelPerAward", "001000|40|1", 4, 0, 36, 0, 1000, 40, 1, 23},
    AwardCase{"FallDelayStaysOneAboveLevel12", "000400|130|13", 1, 12, 129, 0, 400, 130, 13, 1},
    AwardCase{"ScoreStopsAt999999", "999999|4|", 1, 0, 3, 999949, 999999, 4, 0, 25}),
    ByName);
// clang-format on

// The end of a game: a tower in column 4, where every piece enters.
struct EndCase {
    const char* name;
    bool sound;
    Rows lastCalls;
};
class GameEnd : public Engine, public ::testing::WithParamInterface<EndCase> {};

TEST_P(GameEnd, RunsTheEndStepsOnceInOrder) {
    game.SoundOn = GetParam().sound;
    Start();
    Settle(Rows(BoardHeight, "....1....."));
    Place({6, 0, 0, 16, 2});
    game.Score = 1230;
    keysAt[1] = Down;
    Tick(3);  // lands, finds no row (+5), and the next piece does not fit
    ASSERT_TRUE(game.GameOver);
    const Rows& expected = GetParam().lastCalls;
    EXPECT_EQ(Rows(calls.end() - expected.size(), calls.end()), expected);
    Rows board(BoardHeight - 2, "....1.....");
    board.insert(board.end(), 2, "22..1.....");
    EXPECT_EQ(Picture(game.Board), board) << "drawn without the piece that did not fit";

    const size_t count = calls.size();
    held = Down;
    Tick(50);
    EXPECT_EQ(calls.size(), count) << "later ticks do nothing, not even a redraw (as while paused)";
    EXPECT_EQ(polls, Ticks{1});

    Start(4);
    EXPECT_TRUE(game.Board(4, 9).Tile == 1 && game.Board(4, 9).State == CellEmpty) << "tiles outlive blocks";
    EXPECT_EQ(Labels(), "000000|0|4");
}

INSTANTIATE_TEST_SUITE_P(
    Engine, GameEnd,
    ::testing::Values(
        EndCase{"SoundOn", true, {"Redraw", "PlayWave gameover.wav", "ShowGameOver", "EnterHighScore 1235"}},
        EndCase{"SoundOff", false, {"Redraw", "ShowGameOver", "EnterHighScore 1235"}}),
    ByName);

// Every shape has four cells around its pivot; each turn of kinds 1 to 3 is a
// quarter turn clockwise; the others repeat after one (square) or two turns.
TEST_F(Engine, ShapesTurnAsDesigned) {
    auto cells = [&](int kind, int rotation) {
        const PieceCells c = game.CellsOf({int16_t(kind), int16_t(rotation), 0, 0, 0});
        std::set<std::pair<int, int>> set{
            {c.x[0], c.y[0]}, {c.x[1], c.y[1]}, {c.x[2], c.y[2]}, {c.x[3], c.y[3]}};
        EXPECT_TRUE(set.size() == 4 && set.count({0, 0})) << "kind " << kind << " rotation " << rotation;
        return set;
    };
    for (int kind = 0; kind < 7; ++kind)
        for (int r = 0; r < 4; ++r) {
            std::set<std::pair<int, int>> clockwise;
            for (auto [x, y] : cells(kind, r)) clockwise.insert({-y, x});
            const int period = kind == 6 ? 1 : kind == 0 || kind >= 4 ? 2 : 4;
            EXPECT_EQ(cells(kind, (r + period) % 4), cells(kind, r)) << "kind " << kind << " rotation " << r;
            EXPECT_EQ(cells(kind, (r + 1) % 4) == cells(kind, r), period == 1) << "kind " << kind;
            if (period == 4) {
                EXPECT_EQ(cells(kind, (r + 1) % 4), clockwise) << "kind " << kind << " rotation " << r;
            }
        }
    for (auto [x, y] : cells(4, 1)) EXPECT_TRUE(x == -1 || x == 0) << "upright, kind 4 leans left";
    for (auto [x, y] : cells(5, 1)) EXPECT_TRUE(x == 0 || x == 1) << "upright, kind 5 leans right";
}

// Seeded random steering, half the time toward a column left open in the
// bottom rows so that rows are cleared; the invariants hold after every tick.
TEST_F(Engine, RandomGamesKeepTheInvariantsAfterEveryTick) {
    int rowsCleared = 0, quads = 0;
    for (int number = 0; number < 250; ++number) {
        const int speed = int(rng() % 13);
        Start(speed);
        const int gap = int(rng() % 10);
        for (int y = BoardHeight - int(rng() % 16); y < BoardHeight; ++y)
            for (int x = 0; x < BoardWidth; ++x)
                if (x != gap) game.Board(x, y) = {int16_t(rng() % 6), CellSettled};
        calls.clear();
        int32_t score = 0;
        while (game.GameRunning && tick < 20000) {
            const int16_t toward = game.ActivePiece.X < gap ? 2 : game.ActivePiece.X > gap ? 1 : 3;
            const int16_t move = rng() % 2 ? toward : int16_t(rng() % 4);  // half the time toward the gap
            held = {move, rng() % 3 ? int16_t(0) : int16_t(1 + rng() % 2)};
            Tick();
            ASSERT_EQ(BrokenInvariant(speed, score), "") << "game " << number << ", tick " << tick;
            score = game.Score;
        }
        ASSERT_TRUE(game.GameOver) << "game " << number << " never ended";
        ASSERT_EQ(std::count_if(calls.begin(), calls.end(), [](auto& s) { return s[0] == 'E'; }), 1);
        rowsCleared += game.LinesCleared;
        quads += std::count(calls.begin(), calls.end(), "PlayWave quad.wav");
    }
    EXPECT_TRUE(rowsCleared > 50 && quads > 0)
        << rowsCleared << " rows cleared, " << quads << " four at once";
}

}  // namespace
}  // namespace stonerush
