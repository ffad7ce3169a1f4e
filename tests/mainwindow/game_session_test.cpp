// The game session as the main window drives it: the button's three states
// with the music calls and sounds in their order, the options, side windows
// pausing a running game, and the end of a game.
#include <QTest>
#include <QTimer>

#include "mainwindow/game_session.h"
#include "support/fake_sound.h"
#include "support/offscreen_main.h"

using namespace stonerush;

class GameSessionTest : public QObject {
    Q_OBJECT

    FakeMusic music;
    FakeSoundEffects effects;
    std::unique_ptr<GameSession> session;
    QStringList log;  // music calls, sounds and the end of a game, each with state()
    SessionState button = SessionState::Ready;  // as the last stateChanged said
    QString picture;  // what the views show: paused (the title), black, drawn or over
    bool musicOn = true, soundOn = true;
    SteerSet held;

    // The button's caption, whether the timer runs, what the playfield shows.
    QString state() const {
        static const char* captions[] = {"START", "PAUSE", "PLAY"};
        const bool ticking = session->findChild<QTimer*>("tickTimer")->isActive();
        return QStringLiteral("%1 %2 %3")
            .arg(captions[int(button)], ticking ? "ticking" : "stopped", picture);
    }

    // A pile with a gap in column 0 up to row 2, and a block at (6, 1): the first piece,
    // whatever it is, lands at once where it came in, and the next finds no room.
    static Board pile() {
        Board board;
        for (int y = 2; y < boardHeight; ++y)
            for (int x = 1; x < boardWidth; ++x) board.at(x, y).state = CellState::Settled;
        board.at(6, 1).state = CellState::Settled;  // a straight piece lying in row 0 cannot fall
        return board;
    }
    void endTheGame() {
        held = {Steer::Down};
        for (int ticks = 0; ticks < 10 && button != SessionState::Ready; ++ticks) session->tick();
        held = {};
        QCOMPARE(button, SessionState::Ready);
    }

    void open(const Board& field) {
        session.reset();
        log.clear();
        picture = "paused";
        button = SessionState::Ready;
        musicOn = soundOn = true;
        music.log = [this](const QString& call) { log << call + " | " + (session ? state() : "new"); };
        effects.log = [this](QString file) { log << file.remove("data/") + " | " + state(); };
        session = std::make_unique<GameSession>(music, effects, "data", field);
        session->setSteering([this] { return held; });
        connect(session.get(), &GameSession::stateChanged, this, [this](SessionState now) { button = now; });
        connect(session.get(), &GameSession::pictureShown, this, [this](FieldPicture shown) {
            picture = shown == FieldPicture::Black    ? "black"
                      : shown == FieldPicture::Paused ? "paused"
                                                      : "over";
        });
        connect(session.get(), &GameSession::cellsChanged, this, [this] { picture = "drawn"; });
        connect(session.get(), &GameSession::gameEnded, this,
                [this](int32_t score) { log << QString("ended %1 | ").arg(score) + state(); });
        QCOMPARE(std::exchange(log, {}), QStringList{"open data/rushtune.mid | new"});
    }

private slots:
    void init() { open(pile()); }
    void cleanup() { session.reset(); }

    // c: the button, m: the music switch, s: the sound switch, p: a side window
    // opens, t: a tick, g: the game runs to its end.
    void control_data() {
        QTest::addColumn<QString>("actions");
        QTest::addColumn<QStringList>("log");
        QTest::addColumn<QString>("state");
        const QString running = "PAUSE ticking black", play = "play | START stopped paused",
                      pause = "pause | PAUSE stopped paused", resume = "resume | PLAY ticking black";
        const QStringList gameOver{"rewind | PAUSE ticking drawn", "ended 5 | START stopped over"};
        const auto row = [](const char* name, QString actions, QStringList log, QString state) {
            QTest::newRow(name) << actions << log << state;
        };
        row("START, PAUSE, PLAY, a tick draws", "ccct", {play, pause, resume}, "PAUSE ticking drawn");
        row("music off: the button calls nothing", "mccc", {}, running);
        row("music off, on in a game", "cmm", {play, "pause | " + running, "play | " + running}, running);
        row("music off, on while paused", "ccmmc", {play, pause, resume}, running);
        row("game over, sound and music off", "smcg", gameOver, "START stopped over");
        row("game over, START", "cgc",
            QStringList{play, "gameover.wav | PAUSE ticking drawn"} + gameOver +
                QStringList{"play | START stopped over"},
            running);
        row("side windows pause PAUSE only", "pcpp", {play, pause}, "PLAY stopped paused");
    }
    void control() {
        QFETCH(QString, actions);
        for (const QChar action : actions) {
            if (action == 'c') session->pressStartButton();
            if (action == 'm') session->setMusicOn(musicOn = !musicOn);
            if (action == 's') session->setSoundOn(soundOn = !soundOn);
            if (action == 'p') session->pauseIfRunning();
            if (action == 't') session->tick();
            if (action == 'g') endTheGame();
        }
        QTEST(log, "log");
        QTEST(state(), "state");
    }

    // The rows a landing completes are heard at once, as the lines counter takes them: one to
    // three rows with the line sound, four with the four-row sound.
    void soundOfTheRows_data() {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("sound");
        for (int rows = 1; rows <= 4; ++rows)
            QTest::addRow("%d", rows) << rows << (rows == 4 ? "quad" : "line");
    }
    void soundOfTheRows() {
        QFETCH(int, rows);
        Board field = pile();  // the first piece lands at once on full rows at the bottom
        for (int y = boardHeight - rows; y < boardHeight; ++y) field.at(0, y).state = CellState::Settled;
        open(field);
        QString lines;
        connect(session.get(), &GameSession::linesChanged, this,
                [&](int32_t n) { lines = QString::number(n); });
        session->pressStartButton();
        held = {Steer::Down};
        for (int ticks = 0; ticks < 4 && log.size() < 2; ++ticks) session->tick();
        QFETCH(QString, sound);
        QCOMPARE(log.mid(1), QStringList{sound + ".wav | PAUSE ticking drawn"});
        QCOMPARE(lines, QString::number(rows));
    }

    // The counters shown at START and after a landing; ticks change nothing
    // unless a game runs; the starting speed is the one set before START.
    void countersAndTicks() {
        QStringList counters;
        const auto note = [&](const char* name) {
            return [&, name](int v) { counters << name + QString::number(v); };
        };
        connect(session.get(), &GameSession::scoreChanged, note("score "));
        connect(session.get(), &GameSession::linesChanged, note("lines "));
        connect(session.get(), &GameSession::speedChanged, note("speed "));
        session->tick();  // no game yet
        QCOMPARE(picture, "paused");
        session->setStartingSpeed(12);
        session->pressStartButton();
        session->setStartingSpeed(3);  // for the next game
        QCOMPARE(counters, (QStringList{"speed 12", "score 0", "lines 0"}));
        session->pressStartButton();  // paused
        for (int i = 0; i < 5; ++i) session->tick();
        QCOMPARE(picture, "paused");
        session->pressStartButton();
        endTheGame();
        session->pressStartButton();
        QCOMPARE(counters.mid(3), (QStringList{"score 5", "speed 3", "score 0", "lines 0"}));
    }
};

STONERUSH_QTEST_MAIN(GameSessionTest)
#include "game_session_test.moc"
