// The main window driven as a player drives it: what it shows in each state
// of the game, its shortcuts and side windows, a pad, and a game with
// broken data files and whatever sound the machine has.
#include <fcntl.h>
#include <linux/input.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QWindow>
#include <fstream>

#include "mainwindow/main_window.h"
#include "platform/held_keys.h"
#include "platform/sound/fluid_music.h"
#include "platform/sound/qt_sound_effects.h"
#include "scores/score_keeper.h"
#include "support/fake_sound.h"
#include "support/offscreen_main.h"
#include "windows/help_window.h"

using namespace stonerush;

// Offscreen on a 3840x2160 screen, unless a platform is set.
const bool onLargeScreen = qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
                           qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" LARGE_SCREEN);

class MainWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> folder;
    FakeMusic fakeMusic;
    FakeSoundEffects fakeEffects;
    std::unique_ptr<ScoreKeeper> scores;
    std::unique_ptr<GameSession> session;
    std::unique_ptr<MainWindow> window;
    QStringList log;  // music calls and name prompts

    // A game on a pile with a gap in column 0 up to row 2, and a block at (6, 1):
    // the first piece, whatever it is, lands at once, and the next finds no room.
    void open(Music& music, SoundEffects& effects) {
        scores = std::make_unique<ScoreKeeper>();
        scores->setNamePrompt([this] { return log << "prompt", QStringLiteral("Ada"); });
        scores->startUp(folder->path());
        session = std::make_unique<GameSession>(music, effects, folder->path());
        Board pile;
        for (int y = 2; y < boardHeight; ++y)
            for (int x = 1; x < boardWidth; ++x) pile.at(x, y).state = CellState::Settled;
        pile.at(6, 1).state = CellState::Settled;  // a straight piece lying in row 0 cannot fall
        session->setStartingField(pile);
        window = std::make_unique<MainWindow>(*session, *scores, folder->path());
        window->findChild<HeldKeys*>()->setRepeatGrace(0);
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
    template <class T = QWidget>
    T* control(const char* name) {
        return window->findChild<T*>(QLatin1String(name));
    }
    void click(const char* name) { QTest::mouseClick(control<QPushButton>(name), Qt::LeftButton); }
    // The button, the speed panel, the three counters, and what the playfield shows.
    QString view() {
        const QImage field = control("playfield")->grab(QRect(2, 2, 160, 288)).toImage();
        const auto is = [&](const char* name) {
            return field ==
                   QImage(QStringLiteral(":/assets/%1.png").arg(name)).convertToFormat(field.format());
        };
        return QStringList{control<QPushButton>("startButton")->text(),
                           control("speedPanel")->isVisible() ? "panel" : "no panel",
                           control<QLabel>("scoreValue")->text(),
                           control<QLabel>("linesValue")->text(),
                           control<QLabel>("speedValue")->text(),
                           is("playfield_paused")      ? "title"
                           : is("playfield_game_over") ? "over"
                                                       : "game"}
            .join(' ');
    }
    // Holds Down until the game is over and the name prompt has come and gone.
    void playToTheEnd() {
        QTest::keyPress(window.get(), Qt::Key_Down);
        QTRY_VERIFY(log.contains("prompt"));
        QVERIFY(window->findChild<HeldKeys*>()->held().empty());  // let go when the prompt came
    }
    QWidgetList sideWindows() {
        QWidgetList open;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->isVisible() && top->windowHandle()->transientParent() == window->windowHandle())
                open << top;
        return open;
    }

private slots:
    void initTestCase() {
        static QTemporaryDir config;  // the zoom the tests choose is kept here
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    }
    void init() {
        folder = std::make_unique<QTemporaryDir>();
        qputenv("STONERUSH_PAD_FOLDER", QFile::encodeName(folder->path()));  // where pads plug in
        fakeMusic.log = [this](const QString& call) { log << call; };
        open(fakeMusic, fakeEffects);
        log.clear();
    }
    void cleanup() { window.reset(), session.reset(), scores.reset(); }

    void showsEachStateOfTheGame() {
        QCOMPARE(view(), "START panel 000000 0 0 title");
        control<QScrollBar>("speedSlider")->setValue(12);
        QCOMPARE(control<QLabel>("startingSpeedValue")->text(), "12");
        click("startButton");
        QCOMPARE(view(), "PAUSE no panel 000000 0 12 game");
        click("startButton");
        QCOMPARE(view(), "PLAY no panel 000000 0 12 title");
        click("startButton");
        playToTheEnd();
        QCOMPARE(view(), "START panel 000005 0 12 over");
        QCOMPARE(scores->table().entry(1).playerScore, 5);
        QCOMPARE(log, (QStringList{"play", "pause", "resume", "rewind", "prompt"}));
    }

    // The shortcuts pressed during a game. A side window belongs to the window, pauses the game,
    // disables the window and is the only one; closing it gives the window back, still paused.
    // Closing the program instead closes every window and lets the music go.
    void shortcuts_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("opens");
        QTest::addColumn<bool>("quit");
        QTest::addColumn<QStringList>("log");
        for (const bool quit : {false, true})
            for (const auto& [keys, opens] :
                 {std::pair{"F1", "HelpWindow"}, {"F2", "AboutWindow"}, {"F4", "HighScoreWindow"}})
                QTest::addRow("%s%s", keys, quit ? ", quit" : "")
                    << keys << opens << quit << QStringList{"pause"};
        QTest::newRow("Ctrl+S") << "Ctrl+S"
                                << "" << false << QStringList{};
        QTest::newRow("Ctrl+M") << "Ctrl+M"
                                << "" << false << QStringList{"pause"};
    }
    void shortcuts() {
        QFETCH(QString, keys);
        QFETCH(bool, quit);
        click("startButton");
        QFile(folder->filePath("help.htm")).open(QIODevice::WriteOnly);
        log.clear();
        QTest::keySequence(window.get(), QKeySequence(keys));
        QTEST(log, "log");
        QCOMPARE(session->soundOn(), keys != "Ctrl+S");
        QCOMPARE(session->musicOn(), keys != "Ctrl+M");
        const QWidgetList sides = sideWindows();
        QTEST(sides.isEmpty() ? "" : QString(sides[0]->metaObject()->className()).remove("stonerush::"),
              "opens");
        QCOMPARE(window->isEnabled(), sides.isEmpty());
        if (sides.isEmpty()) return;
        if (auto* help = qobject_cast<HelpWindow*>(sides[0]))  // the page beside the program
            QCOMPARE(help->browser()->source(), QUrl::fromLocalFile(folder->filePath("help.htm")));
        for (QWidget* target : QWidgetList{window.get(), sides[0]})
            for (const Qt::Key again : {Qt::Key_F1, Qt::Key_F2, Qt::Key_F4}) QTest::keyClick(target, again);
        QCOMPARE(sideWindows(), sides);
        const QPointer<QWidget> side = sides[0];
        (quit ? window->windowHandle() : side->windowHandle())->close();  // a close box
        QTRY_VERIFY(side.isNull());
        QCOMPARE(window->isVisible(), !quit);
        QVERIFY(window->isEnabled());
        QCOMPARE(control<QPushButton>("startButton")->text(), "PLAY");  // until resumed
        QCOMPARE(log.last(), quit ? "close" : "pause");
    }

    // A pad, plugged in again after each pull: its Start is the button's, unless a side window is
    // open (h: F4); its D-pad steers (l: left held); pulling it out (o) pauses a running game.
    void pad() {
        session->setStartingField({});  // room to steer
        const QByteArray path = QFile::encodeName(folder->filePath("event0"));
        const input_event start[] = {{{}, EV_KEY, BTN_START, 1}, {{}, EV_KEY, BTN_START, 0}},
                          left[] = {{{}, EV_KEY, BTN_DPAD_LEFT, 1}};
        QStringList captions;
        int fd = -1;
        for (const QChar action : QStringLiteral("oslssoshs")) {
            if (::mkfifo(path, 0600) == 0) ::close(std::exchange(fd, ::open(path, O_RDWR | O_CLOEXEC)));
            if (action == 's') QCOMPARE(::write(fd, start, sizeof start), ssize_t(sizeof start));
            if (action == 'l') QCOMPARE(::write(fd, left, sizeof left), ssize_t(sizeof left));
            if (action == 'l') QTRY_VERIFY(session->game().fallingPiece().x < 4);  // it came in at 4
            if (action == 'o') ::unlink(path);
            if (action == 'h') QTest::keyClick(window.get(), Qt::Key_F4);
            QTest::qWait(40);
            captions << control<QPushButton>("startButton")->text();
        }
        ::close(fd);
        QCOMPARE(captions.join(' '), "START PAUSE PAUSE PLAY PAUSE PLAY PAUSE PLAY PLAY");
    }

    // The step of a first start: the largest at which the window with its frame is at most half the
    // available height; and the largest that fits at all.
    void zoomSteps_data() {
        QTest::addColumn<QSize>("available");
        QTest::addColumn<int>("firstStart");
        QTest::addColumn<int>("largest");
        QTest::newRow("1920x1080, a panel") << QSize(1920, 1048) << 1 << 3;
        QTest::newRow("2560x1440") << QSize(2560, 1440) << 2 << 4;
        QTest::newRow("3840x2160, a panel") << QSize(3840, 2128) << 3 << 6;
        QTest::newRow("1080x1920, portrait") << QSize(1080, 1920) << 2 << 3;
    }
    void zoomSteps() {
        const WindowMeasure window{QSize(319, 302 + 21), QSize(2, 26)};  // a menu bar, a title bar
        QFETCH(QSize, available);
        QTEST(firstStartZoomStep(window, available), "firstStart");
        QTEST(largestZoomStep(window, available), "largest");
    }

    // Zoom In acts up to the largest step at which the window fits the screen (6x) and is greyed
    // there; Zoom Out and Actual Size are greyed at 1x. A game goes on through every step.
    void zoomItemsGreyedWhereTheyCannotAct() {
        QHash<QString, QAction*> item;
        for (QAction* action : window->findChildren<QAction*>()) item[action->text().remove('&')] = action;
        const QSize atOne = window->centralWidget()->size();
        click("startButton");
        QString acts;  // per step: whether Zoom In, Zoom Out and Actual Size act
        for (int step = 1; step <= 7; ++step, item["Zoom In"]->trigger(), acts += ' ') {
            QCOMPARE(window->centralWidget()->size(), atOne * std::min(step, 6));
            for (const char* name : {"Zoom In", "Zoom Out", "Actual Size"})
                acts += item[name]->isEnabled() ? '+' : '-';
        }
        QCOMPARE(acts, "+-- +++ +++ +++ +++ -++ -++ ");
        QVERIFY(window->screen()->availableGeometry().contains(window->frameGeometry()));
        item["Actual Size"]->trigger();
        QCOMPARE(window->centralWidget()->size(), atOne);
        QCOMPARE(view().section(' ', 0, 0), "PAUSE");
    }

    // Real sound on whatever the machine has (CI: no device), every data file broken: the game runs
    // at the speed set before START, ends and keeps its score, in silence.
    void brokenDataFilesAndNoSoundDevice() {
        cleanup();
        for (const char* name : {"rushtune.mid", "gameover.wav", "line.wav", "rushhs.dat"})
            std::ofstream(folder->filePath(name).toStdString()) << "not what its name says";
        FluidMusic music;
        QtSoundEffects effects;
        const auto beforeTheSound = qScopeGuard([this] { cleanup(); });  // also when a check fails
        open(music, effects);
        control<QScrollBar>("speedSlider")->setValue(12);
        click("startButton");
        QCOMPARE(session->game().speed(), 12);
        playToTheEnd();
        QCOMPARE(view().section(' ', 0, 2), "START panel 000005");
    }
};

STONERUSH_QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
