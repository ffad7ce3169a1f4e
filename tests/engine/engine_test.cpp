// The rules of the game against a scripted host, one table per behaviour. Boards
// are text, rows top to bottom separated by spaces: '.' empty, '@' a block of the
// falling piece, a digit a settled block drawn with that tile.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "engine/game.h"

namespace stonerush {

void PrintTo(const PieceRecord& p, std::ostream* out) {
    *out << "{" << p.Kind << ", " << p.Rotation << ", " << p.X << ", " << p.Y << ", " << p.Tile << "}";
}
namespace {

using Ticks = std::vector<int>;
constexpr KeyRequests NoKey{0, 0}, Left{1, 0}, Right{2, 0}, Down{3, 0}, TurnBack{0, 1}, TurnOn{0, 2};
using enum Counter;
const auto ByName = [](const auto& info) { return std::string(info.param.name); };

template <int W, int H>
std::string Picture(const CellGrid<W, H>& grid) {
    std::string rows;
    for (const Cell& c : grid.cells) {
        if (rows.size() % (W + 1) == W) rows += ' ';
        rows += c.State == CellEmpty ? '.' : c.State == CellFalling ? '@' : char('0' + c.Tile);
    }
    return rows;
}

class Engine : public ::testing::Test, public GameHost {
protected:
    Engine() { game.InitShapeTable(); }
    KeyRequests PollKeyboard() override {
        polls.push_back(tick);
        return held;
    }
    void PlayWave(std::string_view name) override { calls.push_back("PlayWave " + std::string(name)); }
    void SetCounterText(Counter counter, std::string_view text) override { texts[counter] = text; }
    void Redraw() override { calls.push_back("Redraw"); }
    void ShowGameOver() override { calls.push_back("ShowGameOver"); }
    void EnterHighScore(int32_t score) override {
        calls.push_back("EnterHighScore " + std::to_string(score) + (game.GameRunning ? " running" : ""));
    }
    float Random() override {  // the script first, then 24 random bits: exact in a float, below 1
        return next < randoms.size() ? randoms[next++] : float(rng() >> 8) / 16777216.0f;
    }

    void Start(int speed = 0) {
        game.SpeedLevel = int16_t(speed);
        game.InitNewGame();
        tick = 0;
    }
    void Tick(int n = 1) {
        for (; n > 0; --n) ++tick, game.GameTick();
    }
    void Settle(std::string rows) {  // an empty board with these bottom rows
        game.Board = BoardCells{};
        rows.insert(0, Picture(game.Board).size() - rows.size(), '.');
        for (int i = 0; i < BoardWidth * BoardHeight; ++i)  // skipping the spaces between rows
            if (const char c = rows[i + i / BoardWidth]; c != '.')
                game.Board.cells[i] = {int16_t(c - '0'), CellSettled};
    }
    void Place(PieceRecord piece) {  // the falling piece, put there without a placement test
        for (Cell& cell : game.Board.cells)
            if (cell.State == CellFalling) cell.State = CellEmpty;
        const PieceCells cells = game.CellsOf(piece);
        for (int i = 0; i < 4; ++i) game.Board(cells.x[i], cells.y[i]) = {piece.Tile, CellFalling};
        game.ActivePiece = game.TrialPlacement = piece;
    }
    std::string Bottom(const std::string& like) const {  // as many bottom rows of the board as like has
        return Picture(game.Board).substr((BoardWidth + 1) * BoardHeight - 1 - like.size());
    }
    std::string Labels() { return texts[Score] + "|" + texts[Lines] + "|" + texts[Speed]; }

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
        if (game.Score < lastScore || game.Score > 999999 || texts.at(Score) != label) return "score";
        if (game.SpeedLevel != std::max<int>(startSpeed, game.LinesCleared / 10)) return "speed level";
        if (game.FallDelay != 25 - 2 * std::min<int>(game.SpeedLevel, 12)) return "fall delay";
        if (game.MoveDelay < 0 || game.MoveDelay > 5 || game.FallCounter < 0 || game.FallCounter > 25 ||
            game.PlayPhase < 0 || game.PlayPhase > 2 || game.FlashTick < 0 || game.FlashTick > 5 ||
            game.FlashCount < 0 || game.FlashCount > 6 || game.FullRowCount < 0 || game.FullRowCount > 4)
            return "a counter out of range";
        const std::string preview = Picture(game.PreviewGrid);
        return std::count(preview.begin(), preview.end(), '.') == 12 ? "" : "preview: " + preview;
    }
    std::mt19937 rng{20261207};
    std::vector<float> randoms;
    size_t next = 0;
    KeyRequests held;
    int tick = 0;
    Ticks polls;                     // the ticks on which the keys were read
    std::vector<std::string> calls;  // Redraw, PlayWave, ShowGameOver and EnterHighScore, in order
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
const TimelineCase Timelines[] = {
    {"GravityEvery26thTickAtSpeed0", NoKey, 'y', 0, 80, 8, {26, 52, 78}},
    {"GravityEvery16thTickAtSpeed5", NoKey, 'y', 5, 48, 8, {16, 32, 48}},
    {"GravityEvery2ndTickAtSpeed12", NoKey, 'y', 12, 8, 9, {2, 4, 6, 8}},
    {"HeldSidewaysKeyEvery6thTick", Left, 'x', 0, 14, 1, {1, 7, 13}},
    {"HeldTurnKeyEvery6thTick", TurnOn, 'r', 0, 14, 3, {1, 7, 13}},
    {"HeldDownKeyEvery4thTick", Down, 'y', 0, 12, 8, {1, 5, 9}},
    {"NoKeyHeldReadsEveryTick", NoKey, 'p', 0, 4, 4, {1, 2, 3, 4}},
    {"KeyAgainstTheWallRetriedEvery6thTick", Left, 'p', 0, 13, 3, {1, 7, 13}, {6, 0, 0, 5, 0}},
    {"DownKeyAndGravityMoveTwoRows", Down, 'y', 0, 1, 7, {1}, {1, 0, 4, 5, 0}, 25},
    {"CounterAboveALoweredDelayFallsAtOnce", NoKey, 'y', 1, 1, 6, {1}, {1, 0, 4, 5, 0}, 24},
};
INSTANTIATE_TEST_SUITE_P(Engine, Timeline, ::testing::ValuesIn(Timelines), ByName);

// One read of the keys: a turn first, then a move; the later delay stands.
struct KeyCase {
    const char* name;
    KeyRequests keys;
    PieceRecord before, after;
    int moveDelay;
};
class KeyRead : public Engine, public ::testing::WithParamInterface<KeyCase> {};
TEST_P(KeyRead, TurnsMovesAndSetsTheDelay) {
    Start();
    Place(GetParam().before);
    held = GetParam().keys;
    Tick();
    EXPECT_EQ(game.ActivePiece, GetParam().after);
    EXPECT_EQ(game.MoveDelay, GetParam().moveDelay);
}
const KeyCase KeyReads[] = {
    {"TurnBackFromZeroGivesThree", TurnBack, {2, 0, 4, 5, 0}, {2, 3, 4, 5, 0}, 5},
    {"TurnOnFromThreeGivesZero", TurnOn, {2, 3, 4, 5, 0}, {2, 0, 4, 5, 0}, 5},
    {"Right", Right, {1, 0, 4, 5, 0}, {1, 0, 5, 5, 0}, 5},
    {"TurnThenLeft", {1, 2}, {1, 0, 4, 5, 0}, {1, 1, 3, 5, 0}, 5},
    {"TurnThenDownLeavesTheDownDelay", {3, 1}, {1, 0, 4, 5, 0}, {1, 3, 4, 6, 0}, 3},
    {"NoTurnAboveRowZero", TurnOn, {1, 0, 4, 0, 0}, {1, 0, 4, 0, 0}, 5},
    {"SquareTurnsInRowZero", TurnOn, {6, 0, 4, 0, 0}, {6, 1, 4, 0, 0}, 5},
};
INSTANTIATE_TEST_SUITE_P(Engine, KeyRead, ::testing::ValuesIn(KeyReads), ByName);

// The placement test on a board with the falling piece (active) and its outcome:
// 'M' the piece moves to the trial, 'R' it stays, 'L' it lands where it stood,
// 'O' a new piece does not fit and the game is over.
struct PlacementCase {
    const char* name;
    char outcome;
    PieceRecord active, trial;
    std::string settled, after;
};
class Placement : public Engine, public ::testing::WithParamInterface<PlacementCase> {};
TEST_P(Placement, FitsLandsOrEndsTheGame) {
    const PlacementCase& c = GetParam();
    Start();
    Settle(c.settled);
    game.ActivePiece = c.active;
    if (c.outcome != 'O') Place(c.active);  // a new piece is not on the board until it fits
    game.TrialPlacement = c.trial;
    game.TryPlacement(c.outcome == 'L', c.outcome == 'O');
    EXPECT_EQ(Bottom(c.after), c.after);
    EXPECT_EQ(game.ActivePiece, c.outcome == 'M' ? c.trial : c.active);
    EXPECT_EQ(game.PieceFalling, c.outcome != 'L');
    EXPECT_EQ(game.PlayPhase, c.outcome == 'L');
    EXPECT_EQ(game.GameOver, c.outcome == 'O');
}
// clang-format off
const PlacementCase Placements[] = {
    {"WallRefusesAMove", 'R', {6, 0, 0, 16, 1}, {6, 0, -1, 16, 1}, "", "@@........ @@........"},
    {"SettledBlockRefusesAMove", 'R', {1, 0, 4, 16, 0}, {1, 0, 3, 16, 0},
        "..3....... ..........", "..3@@@.... ....@....."},
    {"MoveLeavesNoTrail", 'M', {1, 0, 4, 16, 2}, {1, 0, 5, 16, 2}, "", "....@@@... .....@...."},
    {"OwnBlocksDoNotBlockATurn", 'M', {1, 0, 4, 16, 0}, {1, 1, 4, 16, 0}, "",
        "....@..... ...@@..... ....@....."},
    {"FloorLandsThePiece", 'L', {6, 0, 0, 16, 4}, {6, 0, 0, 17, 4}, "", "44........ 44........"},
    {"LandsWhereItLastStoodNotWhereTheTrialWas", 'L', {2, 0, 4, 15, 5}, {2, 3, 9, 17, 5}, "",
        "...555.... ...5...... .........."},
    {"BlockedSpawnEndsTheGameAndLeavesNoTrace", 'O', {1, 0, 4, 16, 0}, {1, 0, 4, 16, 0},
        "....2.....", "....2....."},
    {"BlockedTurnChangesNothing", 'R', {0, 1, 1, 15, 2}, {0, 2, 1, 15, 2},
        "0.00000000 0.00000000 0.00000000 0.00000000", "0@00000000 0@00000000 0@00000000 0@00000000"},
};
// clang-format on
INSTANTIATE_TEST_SUITE_P(Engine, Placement, ::testing::ValuesIn(Placements), ByName);

// Generator values at the rounding boundaries: the first piece takes its tile
// from the first value, the previewed one its kind from the fourth.
struct SpawnCase {
    const char *name, *preview;
    float r;
    int tile;
};
class Spawn : public Engine, public ::testing::WithParamInterface<SpawnCase> {};
TEST_P(Spawn, RoundsHalvesToEvenAndShowsTheNextPiece) {
    randoms = {GetParam().r, 0.0f, 0.0f, GetParam().r};
    Start();
    EXPECT_EQ(game.ActivePiece, (PieceRecord{0, 0, 4, 0, int16_t(GetParam().tile)}));
    EXPECT_EQ(Picture(game.Board).substr(0, 10), "...@@@@...");
    EXPECT_EQ(Picture(game.PreviewGrid), GetParam().preview) << "kind " << game.NextPiece.Kind;
}
const SpawnCase Spawns[] = {
    {"Zero", ".... 0000 .... ....", 0.0f, 0},
    {"OneEighth", ".... 000. .0.. ....", 0.125f, 1},
    {"OneQuarter", ".... 000. 0... ....", 0.25f, 1},
    {"OneHalf", ".... 000. ..0. ....", 0.5f, 2},
    {"ThreeQuarters", ".... 00.. .00. ....", 0.75f, 4},
    {"SevenEighths", ".... .00. 00.. ....", 0.875f, 4},
    {"LargestBelowOne", ".... .00. .00. ....", 1.0f - 1.0f / 16777216, 5},
};
INSTANTIATE_TEST_SUITE_P(Engine, Spawn, ::testing::ValuesIn(Spawns), ByName);

// After a landing: t+1 search, t+2..t+38 flashing, t+39 collapse and the next
// piece. Trace, one character per tick after the landing: 'N' a new piece,
// '0' no full row, '+' or '-' the full rows shown or hidden.
const std::string Flashing = "+-----++++++------++++++------++++++--N";
struct LandingCase {
    const char *name, *wave;
    std::string settled, after;
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
    std::string trace, waves;
    while (!game.PieceFalling && tick < 100) {
        Tick();
        const int row = game.FullRows[0];
        trace += game.PieceFalling ? 'N' : row < 0 ? '0' : game.Board(0, row).State ? '+' : '-';
    }
    EXPECT_EQ(trace, c.fullRows[0] < 0 ? "0N" : Flashing);
    EXPECT_EQ(Ticks(game.FullRows, game.FullRows + 4), c.fullRows);
    EXPECT_EQ(game.Score, c.score);
    EXPECT_EQ(Bottom(c.after), c.after);
    for (const std::string& call : calls) waves += call[0] == 'P' ? call.substr(9) : "";
    EXPECT_EQ(waves, c.wave);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "Redraw"), tick) << "every step is drawn";
    EXPECT_EQ(game.FallCounter, 1) << "counted on the landing tick, kept through the landing and the spawn";
    Tick();
    EXPECT_EQ(polls, (Ticks{1, tick})) << "keys are read again only once the next piece is in";
}
// clang-format off
const LandingCase Landings[] = {
    {"NoRowFivePoints", "", "1111.1111.", ".........3 .........3 .........3 1111.11113", {-1, -1, -1, -1}, 5},
    {"OneRow", "line.wav", "111111111.", ".........3 .........3 .........3", {17, -1, -1, -1}, 100},
    {"Rows16And17", "line.wav", "2......... .......... .......... 111111111. 111111111.",
        ".......... .......... 2......... .........3 .........3", {16, 17, -1, -1}, 250},
    {"Rows14And17", "line.wav", "2......... 111111111. 1111.1111. 111.11111. 111111111.",
        ".......... .......... 2......... 1111.11113 111.111113", {14, 17, -1, -1}, 250},
    {"FourRows", "quad.wav", "2......... 111111111. 111111111. 111111111. 111111111.",
        ".......... 2.........", {14, 15, 16, 17}, 1000},
    {"FourRowsWithSoundOff", "", "111111111. 111111111. 111111111. 111111111.", "..........",
        {14, 15, 16, 17}, 1000, false},
};
// clang-format on
INSTANTIATE_TEST_SUITE_P(Engine, Landing, ::testing::ValuesIn(Landings), ByName);

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
const AwardCase Awards[] = {
    {"NoRow", "000100||", 0, 0, 3, 95, 100, 3, 0, 25},
    {"NoRowHasNoLevelBonus", "000009||", 0, 9, 3, 4, 9, 3, 9, 7},
    {"OneRow", "009999|4|", 1, 0, 3, 9899, 9999, 4, 0, 25},
    {"TwoRowsAtLevel3", "001000|5|", 2, 3, 3, 675, 1000, 5, 3, 19},
    {"ThreeRows", "000999|6|", 3, 0, 3, 499, 999, 6, 0, 25},
    {"FourRowsAtLevel12", "100000|7|", 4, 12, 3, 98700, 100000, 7, 12, 1},
    {"TenthRowRaisesTheSpeed", "010000|10|1", 1, 0, 9, 9900, 10000, 10, 1, 23},
    {"RowsThatRaiseTheSpeedScoreAtTheOldLevel", "099999|30|3", 4, 2, 26, 98949, 99999, 30, 3, 19},
    {"HighStartingSpeedHoldsUntilTheRowsCatchUp", "000150|10|", 1, 2, 9, 0, 150, 10, 2, 21},
    {"OneLevelPerAward", "001000|40|1", 4, 0, 36, 0, 1000, 40, 1, 23},
    {"FallDelayStaysOneAboveLevel12", "000400|130|13", 1, 12, 129, 0, 400, 130, 13, 1},
    {"ScoreStopsAt999999", "999999|4|", 1, 0, 3, 999949, 999999, 4, 0, 25},
};
INSTANTIATE_TEST_SUITE_P(Engine, Award, ::testing::ValuesIn(Awards), ByName);

// The end of a game, sound on and off, on a tower in column 4 where every piece enters: the
// steps run once, in order, and the board is drawn without the piece that did not fit.
TEST_F(Engine, GameEndRunsTheEndStepsOnceInOrder) {
    std::string tower = "....1.....", board = "22..1..... 22..1.....";
    for (int y = 1; y < BoardHeight; ++y) tower += " ....1.....";
    for (bool sound : {true, false}) {
        game.SoundOn = sound;
        Start();
        Settle(tower);
        Place({6, 0, 0, 16, 2});
        game.Score = 1230;
        calls.clear(), polls.clear(), held = Down;
        Tick(53);  // lands, finds no row (+5), the next piece does not fit; then 50 ticks that do nothing
        std::vector<std::string> end{
            "Redraw", "Redraw", "Redraw", "PlayWave gameover.wav", "ShowGameOver", "EnterHighScore 1235"};
        if (!sound) end.erase(end.begin() + 3);
        EXPECT_TRUE(game.GameOver);
        EXPECT_EQ(calls, end) << "sound " << sound;
        EXPECT_EQ(Picture(game.Board), tower.substr(0, tower.size() - board.size()) + board);
        EXPECT_EQ(polls, Ticks{1});
    }
    Start(4);
    EXPECT_TRUE(game.Board(4, 9).Tile == 1 && game.Board(4, 9).State == CellEmpty) << "tiles outlive blocks";
    EXPECT_EQ(Labels(), "000000|0|4");
}

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
            EXPECT_TRUE(period != 4 || cells(kind, (r + 1) % 4) == clockwise) << "kind " << kind << ", " << r;
        }
    for (auto [x, y] : cells(4, 1)) EXPECT_TRUE(x == -1 || x == 0) << "upright, kind 4 leans left";
    for (auto [x, y] : cells(5, 1)) EXPECT_TRUE(x == 0 || x == 1) << "upright, kind 5 leans right";
}

// Seeded random steering, half the time toward a column left open in the
// bottom rows so that rows are cleared; the invariants hold after every tick.
TEST_F(Engine, RandomGamesKeepTheInvariantsAfterEveryTick) {
    int rowsCleared = 0, quads = 0;
    game.SoundOn = true;  // the four-row sound is counted
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
