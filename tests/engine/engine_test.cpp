// The rules of the game through its public face: scripted random values,
// prepared fields, keys held per tick, and what each step reports. Boards are
// text, rows top to bottom separated by spaces: '.' empty, '@' a block of the
// falling piece, a digit a settled block drawn with that tile, a short row
// empty to its right; a '|' stands for the empty rows that make up the 18
// (without one the rows are the bottom ones). Reports are letters: S score
// changed, V speed raised, a digit the rows a landing completed, O game over.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/game.h"

namespace stonerush {

void PrintTo(const Piece& p, std::ostream* out) {
    *out << "kind " << int(p.kind) << '/' << int(p.rotation) << " at " << p.x << ',' << p.y << " tile "
         << int(p.tile);
}
std::ostream& operator<<(std::ostream& out, Point p) {
    return out << "block at " << p.x << ',' << p.y;
}

namespace {

using enum Steer;
using enum PieceKind;
using enum Rotation;
const auto byName = [](const auto& info) { return std::string(info.param.name); };

// The script first, then values from a seeded generator.
struct ScriptedRandom : RandomSource {
    std::vector<float> script;
    size_t used = 0;
    SeededRandom seeded{20261207};
    float next() override { return used < script.size() ? script[used++] : seeded.next(); }
};

// The first piece of this kind; every one after it a straight piece. All in tile 0.
std::vector<float> firstPiece(PieceKind kind) {
    std::vector<float> script(80, 0.0f);
    script[1] = float(kind) / 6;
    return script;
}

std::string letters(const StepReport& report) {
    return std::string(report.scoreChanged ? "S" : "") + (report.speedRaised ? "V" : "") +
           (report.rowsCleared ? std::to_string(report.rowsCleared) : "") + (report.gameOver ? "O" : "");
}

template <int W, int H>
std::string picture(const Grid<W, H>& grid) {
    std::string rows;
    for (const Cell& c : grid.cells()) {
        if (rows.size() % (W + 1) == W) rows += ' ';
        rows += c.isEmpty() ? '.' : c.state == CellState::Falling ? '@' : char('0' + int(c.tile));
    }
    return rows;
}
bool falling(const Game& game) {
    return picture(game.board()).find('@') != std::string::npos;
}
bool inside(Point p) {
    return p.x >= 0 && p.x < boardWidth && p.y >= 0 && p.y < boardHeight;
}

// A board from its text (see the top of this file).
Board field(const std::string& text) {
    std::istringstream in(text.find('|') == std::string::npos ? "| " + text : text);
    std::vector<std::string> rows;
    for (std::string word; in >> word;) rows.push_back(word);
    const auto bar = rows.erase(std::ranges::find(rows, "|"));
    rows.insert(bar, boardHeight - rows.size(), "");
    Board board;
    for (int y = 0; y < boardHeight; ++y)
        for (int x = 0; x < int(rows[y].size()); ++x)
            if (const char c = rows[y][x]; c != '.')
                board.at(x, y) =
                    c == '@' ? Cell{Tile::Blue, CellState::Falling} : Cell{Tile(c - '0'), CellState::Settled};
    return board;
}

// Keys held per tick from tick 1, the last held on: a letter a tick, or
// several in brackets; '.' none, 'L' left, 'R' right, 'D' down, 'C' turn
// clockwise, 'A' anticlockwise.
SteerSet keysAt(const std::string& script, int tick) {
    std::vector<std::string> ticks;
    for (size_t i = 0, end = 0; i < script.size(); i = end + 1) {
        end = script[i] == '(' ? script.find(')', i) : i;
        ticks.push_back(script.substr(i, end - i + 1));
    }
    SteerSet keys;
    for (char key : ticks[std::min<size_t>(tick - 1, ticks.size() - 1)])
        if (const size_t steer = std::string("LRDCA").find(key); steer != std::string::npos)
            keys.add(Steer(steer));
    return keys;
}

class Engine : public ::testing::Test {
protected:
    void start(int speed, std::vector<float> script, const Board& field = {}) {
        random.script = std::move(script), random.used = 0, tick = 0;
        game = Game(speed, random, field);
    }
    StepReport step(SteerSet held = {}) {
        if (++tick > 20000) throw std::runtime_error("no end in sight");  // a loop of a test ran away
        return game.step(held, random);
    }

    ScriptedRandom random;
    Game game;
    int tick = 0;
};

// The keys read, their waits and gravity: from column 4 of the top row, the
// ticks on which the falling piece changes and what changes ('x', 'y', 'r' the
// rotation, with its new value), and the board at the end when given. Of the
// keys read at once a turn comes first, then a move; left beats right beats
// down, clockwise beats anticlockwise. The keys are read again 6 ticks later,
// or 4 when the read ended with down, also after a refused turn or move (a
// held key against a wall is tried again as often).
struct KeysCase {
    const char* name;
    PieceKind kind;
    int ticks;
    std::string keys, changes, field = "", after = "";
};
class Keys : public Engine, public ::testing::WithParamInterface<KeysCase> {};
TEST_P(Keys, ChangeThePieceOnTheseTicks) {
    const KeysCase& c = GetParam();
    start(0, firstPiece(c.kind), field(c.field));
    std::string changes;
    for (Piece was = game.fallingPiece(); tick < c.ticks; was = game.fallingPiece()) {
        step(keysAt(c.keys, tick + 1));
        const Piece& p = game.fallingPiece();
        std::string change = p.x != was.x ? "x" + std::to_string(p.x) : "";
        if (p.y != was.y) change += "y" + std::to_string(p.y);
        if (p.rotation != was.rotation) change += "r" + std::to_string(int(p.rotation));
        if (!change.empty()) changes += (changes.empty() ? "" : " ") + std::to_string(tick) + change;
    }
    EXPECT_EQ(changes, c.changes);
    EXPECT_TRUE(c.after.empty() || picture(game.board()) == picture(field(c.after))) << picture(game.board());
}
const KeysCase keys[] = {
    {"HeldDownKeyEvery4thTick", Tee, 12, "D", "1y1 5y2 9y3"},
    {"NoKeyHeldReadsEveryTick", Tee, 14, ".L", "2x3 8x2 14x1"},
    {"KeyPressedBetweenReadsDoesNothing", Tee, 14, "L...L.", "1x3"},
    {"RefusedTurnWaitsToo", Tee, 7, "CL", "7x3"},
    {"HeldKeyRetriedAtTheWall", Square, 31, std::string(25, 'L') + "R", "1x3 7x2 13x1 19x0 26y1 31x1"},
    {"DownKeyAndGravityMoveTwoRows", Tee, 26, std::string(25, '.') + "D", "26y2"},
    {"LeftBeatsRight", Tee, 7, "(RL)L", "1x3 7x2"},
    {"RightBeatsDown", Tee, 7, "(DR)L", "1x5 7x4"},
    {"ClockwiseBeatsAnticlockwise", Tee, 11, "D...(AC)L", "1y1 5r1 11x3"},
    {"AnticlockwiseFromZeroGivesThree", Tee, 11, "D...A", "1y1 5r3 11r2"},
    {"ClockwiseFromThreeGivesZero", Tee, 11, "D...A.....C", "1y1 5r3 11r0"},
    {"TurnThenDownLeavesTheDownWait", Tee, 9, "D...(AD)L", "1y1 5y2r3 9x3"},
    // A straight piece fills row 1 on tick 5; the row goes when the next piece comes in, on tick 44.
    {"NewPieceAnswersTheKeysAtOnce", Straight, 45, "DDDDDL", "1y1 44y0 45x3", ". 111....111 ...1 |"},
    {"FallingCellsOfAFieldAreEmpty", Tee, 0, ".", "", "....@ |", "...@@@ ....@ |"},
};
INSTANTIATE_TEST_SUITE_P(Engine, Keys, ::testing::ValuesIn(keys), byName);

// Each kind as the generator draws it, from values at the rounding
// boundaries (an exact half goes to the even neighbour): the first piece takes
// its tile from the first value and its kind from the second, the previewed
// one its kind from the fourth. A shape is the same again after its period of
// turns.
struct KindCase {
    const char *name, *preview;
    float r;
    Tile tile;
    PieceKind kind;
    int period;
};
const KindCase kinds[] = {
    {"Straight", ".... 0000 .... ....", 0.0f, Tile::Blue, Straight, 2},
    {"Tee", ".... 000. .0.. ....", 0.125f, Tile::Cyan, Tee, 4},
    {"LeftFoot", ".... 000. 0... ....", 0.25f, Tile::Cyan, LeftFoot, 4},
    {"RightFoot", ".... 000. ..0. ....", 0.5f, Tile::Green, RightFoot, 4},
    {"StepRight", ".... 00.. .00. ....", 0.75f, Tile::Red, StepRight, 2},
    {"StepLeft", ".... .00. 00.. ....", 0.875f, Tile::Red, StepLeft, 2},
    {"Square", ".... .00. .00. ....", 1.0f - 1.0f / 16777216, Tile::Yellow, Square, 1},
};

// Settled blocks (magenta) and the cells of a piece.
Board blocks(const std::vector<Point>& settled, const std::array<Point, 4>& cells = {}, Cell piece = {}) {
    Board board;
    for (Point p : cells) board.at(p.x, p.y) = piece;
    for (Point p : settled) board.at(p.x, p.y) = {Tile::Magenta, CellState::Settled};
    return board;
}
// Where a key would take the piece.
Piece moved(Piece piece, Steer key) {
    piece.x += key == Left ? -1 : key == Right ? 1 : 0;
    piece.y += key == Down;
    if (key == TurnClockwise || key == TurnAnticlockwise)
        piece.rotation = turned(piece.rotation, key == TurnClockwise ? Turn::Clockwise : Turn::Anticlockwise);
    return piece;
}

class Kind : public Engine, public ::testing::WithParamInterface<KindCase> {
protected:
    void begin(const Board& field = {}) { start(0, {GetParam().r, GetParam().r, 0.0f, GetParam().r}, field); }
    // Steers the first piece to `to` in row 9 by way of the column of `to`,
    // else of 1 or 7: two rows down, the turns, across to that column, down
    // to row 8, gravity's fall into row 9 (25 calm ticks follow), across to
    // the column of `to`. False when the piece cannot get there.
    bool bring(const Piece& to, const Board& field = {}) {
        const Piece& p = game.fallingPiece();
        for (const int via : {to.x, 1, 7}) {
            begin(field);
            while (falling(game) && p != to && p.y <= to.y && tick < 200) {
                const int across = p.y < to.y ? via : to.x;
                step(p.y < 2                     ? SteerSet{Down}
                     : p.rotation != to.rotation ? SteerSet{TurnClockwise}
                     : p.x != across             ? SteerSet{p.x < across ? Right : Left}
                     : p.y < to.y - 1            ? SteerSet{Down}
                                                 : SteerSet{});
            }
            if (falling(game) && p == to) return true;
        }
        return false;
    }
    // The key held through one read of the keys, or until the piece moves or lands.
    void hold(Steer key) {
        const Piece before = game.fallingPiece();
        for (int i = 0; i < 6 && falling(game) && game.fallingPiece() == before; ++i) step({key});
    }
};

// The piece comes in at column 4 of the top row in rotation 0, where a turn
// of any piece but the square would put a block above it. A block on any one
// of its cells there ends the game: the board keeps no trace of the piece,
// and steps after the end do nothing.
TEST_P(Kind, ComingIn) {
    const KindCase& c = GetParam();
    begin();
    EXPECT_EQ(game.fallingPiece(), (Piece{c.kind, Deg0, 4, 0, c.tile}));
    EXPECT_EQ(picture(game.preview()), c.preview);
    step({TurnClockwise});
    EXPECT_EQ(game.fallingPiece().rotation, c.kind == Square ? Deg90 : Deg0);
    for (Point p : cellsOf({c.kind, Deg0, 4, 0})) {
        begin(blocks({p}));
        for (int i = 0; i < 10; ++i) EXPECT_EQ(step({Down}), StepReport{});
        EXPECT_TRUE(game.isOver() && picture(game.board()) == picture(blocks({p}))) << p;
    }
}

// From column 4, at either wall and in the open, a move, a turn or a fall
// happens where every cell it newly covers is free; the piece's own cells
// are no obstacle. A wall, or a block on any one of those cells (beside,
// above or under the piece), refuses a move or a turn, leaving the piece as
// it was, and lands a falling piece where it stood.
TEST_P(Kind, EveryStepNeedsEachCellItNewlyCovers) {
    const KindCase& c = GetParam();
    for (int r = 0; r < 4; ++r) {
        const auto [left, right] = std::ranges::minmax(cellsOf({c.kind, Rotation(r)}), {}, &Point::x);
        for (const int column : {4, -left.x, boardWidth - 1 - right.x}) {
            const Piece from{c.kind, Rotation(r), column, 9, c.tile};
            SCOPED_TRACE(::testing::Message() << "rotation " << r << ", column " << column);
            for (Steer key : {Left, Right, Down, TurnClockwise, TurnAnticlockwise}) {
                const Piece to = moved(from, key);
                ASSERT_TRUE(bring(from));
                hold(key);
                EXPECT_EQ(game.fallingPiece(), std::ranges::all_of(cellsOf(to), inside) ? to : from)
                    << int(key);
                for (Point p : cellsOf(to)) {
                    if (column != 4 || std::ranges::count(cellsOf(from), p)) continue;
                    ASSERT_TRUE(bring(from, blocks({p}))) << p;
                    hold(key);
                    const Cell piece{c.tile, key == Down ? CellState::Settled : CellState::Falling};
                    EXPECT_EQ(picture(game.board()), picture(blocks({p}, cellsOf(from), piece)))
                        << int(key) << p;
                }
            }
        }
    }
}

// Every shape has four cells around its pivot. A turn is a quarter turn
// clockwise about the pivot, but a shape with a period of two turns goes back
// on the second, and the left step's upright is its flat shape turned
// anticlockwise: the upright steps lean opposite ways.
TEST_P(Kind, TurnsAsDesigned) {
    const auto [kind, period] = std::pair(GetParam().kind, GetParam().period);
    const auto cells = [kind](int rotation) {
        std::set<std::pair<int, int>> set;
        for (Point p : cellsOf({kind, Rotation(rotation % 4)})) set.insert({p.x, p.y});
        EXPECT_TRUE(set.size() == 4 && set.count({0, 0})) << "rotation " << rotation;
        return set;
    };
    for (int r = 0; r < 4; ++r) {
        std::set<std::pair<int, int>> clockwise, anticlockwise;
        for (auto [x, y] : cells(r)) clockwise.insert({-y, x}), anticlockwise.insert({y, -x});
        EXPECT_EQ(cells(r + period), cells(r)) << "rotation " << r;
        EXPECT_TRUE(period == 1 || (period == 2 && r % 2) ||
                    cells(r + 1) == (kind == StepLeft ? anticlockwise : clockwise))
            << "rotation " << r;
    }
}
INSTANTIATE_TEST_SUITE_P(Engine, Kind, ::testing::ValuesIn(kinds), byName);

// An upright straight piece dropped into column 4 lands on the floor; then
// the search (t+1), the 37 steps of flashing (t+2..t+38), and the collapse
// with the next piece (t+39). Trace, one character per tick from the search
// on: '+' or '-' the full rows shown or hidden, '0' no full row, 'N' the next
// piece in.
const std::string flashing = "+-----++++++------++++++------++++++--N";
struct LandingCase {
    const char* name;
    int speed;
    std::string settled, after;  // after: once the next piece is in
    std::vector<int> fullRows;
    int32_t score;
};
class Landing : public Engine, public ::testing::WithParamInterface<LandingCase> {};
TEST_P(Landing, SearchFlashCollapseAndTheNextPiece) {
    const LandingCase& c = GetParam();
    const bool rows = !c.fullRows.empty();
    start(c.speed, firstPiece(Straight), field(c.settled));
    std::string reports, trace;
    while (falling(game)) reports += letters(step(keysAt("D...CD", tick + 1)));  // upright, column 4
    // Full rows are found, counted and paid at once, on the tick after the landing.
    reports += "|" + letters(step()) + "|";
    const std::string found = picture(game.board());  // the full rows shown with their tiles
    while (tick < 200) {
        char now = falling(game) ? 'N' : rows ? '+' : '0';
        if (now == '+' && picture(game.board()) != found)
            now = game.board().at(0, c.fullRows[0]).isEmpty() ? '-' : '?';
        if ((trace += now).back() == 'N') break;
        reports += letters(step());
    }
    EXPECT_EQ(trace, rows ? flashing : "0N");
    EXPECT_EQ(reports, rows ? "|S" + std::to_string(c.fullRows.size()) + "|" : "|S|");
    EXPECT_EQ(game.score(), c.score);
    EXPECT_EQ(picture(game.board()), picture(field(c.after)));
}
// Wells for the piece, the next piece in, and the rest of the piece above a removed bottom row.
const std::string well = "1111.11111", wells = well + " " + well, next = "...@@@@ | ",
                  rest = "....0 ....0 ....0", rows14And17 = "2 " + well + " 1111.1111 11.1.11111 " + well;
const LandingCase landings[] = {
    {"NoRowFivePointsAtAnySpeed", 9, "1111.1111", next + rest + " 111101111", {}, 5},
    {"Rows14And17AtLevel3", 3, rows14And17, next + "2 111101111 11.1011111", {14, 17}, 325},
    {"ThreeRows", 0, well + " " + wells, next + "....0", {15, 16, 17}, 500},
    {"FourRowsAtLevel12", 12, "2 " + wells + " " + wells, next + "2", {14, 15, 16, 17}, 1300},
    {"TopRowMovesDownToo", 0, "1 | " + well, "...@@@@ 1 | " + rest, {17}, 100},
    {"ScoreStopsAt999999", 39996, well, next + rest, {17}, maxScore},
};
INSTANTIATE_TEST_SUITE_P(Engine, Landing, ::testing::ValuesIn(landings), byName);

// Ticks from a piece's coming in to its first one-row fall, by speed; the
// later falls come as often.
constexpr int fallTicks[] = {26, 24, 22, 20, 18, 16, 14, 12, 10, 8, 6, 4, 2, 2, 2};

// Straight pieces fall into a gap four wide, each completing one row of a
// field of 16, from each starting speed: from 0 the speed rises at the tenth
// row (the report says so once), from 1 not before the twentieth, and above
// 12 the pieces fall as at 12. Each lands by the down key on the tick before
// gravity would have landed it, so the count of ticks towards a fall stands
// at the top: the next piece falls on its first tick, also when the speed has
// just risen, and then as often as the speed in force makes it.
TEST_F(Engine, FallsEveryFewTicksFasterEveryTenRows) {
    std::string tower = "|";
    for (int y = 2; y < boardHeight; ++y) tower += " 111....111";
    const std::map<int, int32_t> scores{{0, 10 * 100 + 6 * 125}, {1, 16 * 125}, {13, 16 * 425}};
    for (int startingSpeed = 0; startingSpeed < 15; ++startingSpeed) {
        SCOPED_TRACE(::testing::Message() << "from speed " << startingSpeed);
        start(startingSpeed, firstPiece(Straight), field(tower));
        while (game.fallingPiece().y == 0) step();
        EXPECT_EQ(tick, fallTicks[startingSpeed]);
        for (int row = 1; row <= 16; ++row) {
            while (game.fallingPiece().y < boardHeight - 1) step();
            for (int wait = 2; wait < fallTicks[game.speed()]; ++wait) step();
            std::string reports = letters(step({Down}));
            while (!falling(game)) reports += letters(step());
            const int speed = startingSpeed + (startingSpeed == 0 && row >= 10), in = tick;
            EXPECT_EQ(game.speed(), speed) << "row " << row;
            EXPECT_EQ(reports, startingSpeed == 0 && row == 10 ? "SV1" : "S1") << "row " << row;
            while (game.fallingPiece().y < 2) step();
            EXPECT_EQ(tick - in, 1 + fallTicks[speed]) << "row " << row;
        }
        EXPECT_TRUE(!scores.contains(startingSpeed) || game.score() == scores.at(startingSpeed))
            << game.score();
    }
}

// What must hold after any step of a game: the falling cells are exactly the
// falling piece, a piece comes in as the preview showed it, the counters agree
// and the report names each change. Settled blocks go only with full rows:
// the rows a landing completes flash in place, and the step that brings the
// next piece in removes them and moves the rows above down. No step takes
// any other block away.
struct Invariants {
    int startingSpeed;
    std::vector<int> fullRows;  // completed by the last landing, until they go

    std::string broken(const Game& before, const Game& after, const StepReport& report) {
        const auto blocksOf = [](const Game& game) {
            std::string rows = picture(game.board());
            std::replace(rows.begin(), rows.end(), '@', '.');
            return rows;
        };
        const std::string was = blocksOf(before), now = blocksOf(after);
        const Piece& piece = after.fallingPiece();
        std::string expected = now;
        for (Point p : cellsOf(piece)) {
            if (!falling(after)) break;
            if (!inside(p) || after.board().at(p.x, p.y).tile != piece.tile) return "the piece's cells";
            expected[p.x + (boardWidth + 1) * p.y] = '@';
        }
        if (expected != picture(after.board())) return "the falling cells are not the piece";
        const bool cameIn = !before.isOver() && !falling(before) && (falling(after) || after.isOver());
        Preview shown;
        for (Point p : cellsOf({piece.kind, Deg0, 1, 1}))
            shown.at(p.x, p.y) = {piece.tile, CellState::Settled};
        if (cameIn && picture(shown) != picture(before.preview())) return "not the piece previewed";
        const int32_t score = after.score(), rows = after.lines() - before.lines();
        if (score < before.score() || score > maxScore || score % 5) return "score";
        if (after.speed() != std::max(startingSpeed, after.lines() / 10)) return "speed";
        const StepReport named{.scoreChanged = score != before.score(),
                               .speedRaised = after.speed() != before.speed(),
                               .rowsCleared = rows,
                               .gameOver = after.isOver() && !before.isOver()};
        if (report != named) return "report " + letters(report) + " for " + letters(named);

        if (cameIn && !fullRows.empty()) {  // each full row out, an empty one on top
            std::string collapsed = was + ' ';
            for (int y : fullRows)
                collapsed.erase(y * (boardWidth + 1), boardWidth + 1)
                    .insert(0, std::string(boardWidth, '.') + ' ');
            fullRows.clear();
            return collapsed == now + ' ' ? "" : "rows removed: " + now;
        }
        for (size_t i = 0; i < was.size(); ++i)
            if (std::isdigit(was[i]) && now[i] != was[i] &&
                !std::ranges::count(fullRows, int(i) / (boardWidth + 1)))
                return "a block went: " + now;
        for (int y = 0; rows && y < boardHeight; ++y)
            if (now.substr(y * (boardWidth + 1), boardWidth).find('.') == std::string::npos)
                fullRows.push_back(y);
        return !rows || int(fullRows.size()) == rows ? "" : "rows found";
    }
};

// Seeded random steering, half the time toward a column left open in the
// bottom rows so that rows are cleared.
TEST_F(Engine, RandomGamesKeepTheInvariantsAfterEveryStep) {
    std::mt19937 rng{20261207};
    int rowsCleared = 0, fours = 0;
    for (int number = 0; number < 250; ++number) {
        const int speed = int(rng() % 13), gap = int(rng() % 10);
        Board settled;
        for (int y = boardHeight - int(rng() % 16); y < boardHeight; ++y)
            for (int x = 0; x < boardWidth; ++x)
                if (x != gap) settled.at(x, y) = {Tile(rng() % 6), CellState::Settled};
        game = Game(speed, random, settled);
        Invariants invariants{speed, {}};
        for (tick = 0; !game.isOver() && tick < 20000;) {
            const int x = game.fallingPiece().x;
            SteerSet keys;
            if (rng() % 2)
                keys.add(x < gap ? Right : x > gap ? Left : Down);
            else if (const int any = int(rng() % 4))
                keys.add(Steer(any - 1));
            if (rng() % 3 == 0) keys.add(rng() % 2 ? TurnClockwise : TurnAnticlockwise);
            const Game before = game;
            const StepReport report = step(keys);
            ASSERT_EQ(invariants.broken(before, game, report), "") << "game " << number << ", tick " << tick;
            fours += report.rowsCleared == 4;
        }
        ASSERT_TRUE(game.isOver()) << "game " << number << " never ended";
        rowsCleared += game.lines();
    }
    EXPECT_TRUE(rowsCleared > 50 && fours > 0) << rowsCleared << " rows cleared, " << fours << " fours";
}

}  // namespace
}  // namespace stonerush
