// The main window driven as a player drives it: what it shows in each state
// of the game, its shortcuts and dialogs, the choices it keeps, a pad, and a
// game with broken data files and whatever sound the machine has.
#include <fcntl.h>
#include <linux/input.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QAction>
#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
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
#include "support/fake_sound.h"
#include "support/offscreen_main.h"

using namespace stonerush;

// Offscreen on a 3840x2160 screen, unless a platform is set.
const bool onLargeScreen = qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
                           qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" LARGE_SCREEN);

class MainWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> folder;
    FakeMusic fakeMusic;
    FakeSoundEffects fakeEffects;
    std::unique_ptr<GameSession> session;
    std::unique_ptr<MainWindow> window;
    QStringList log;  // music calls, sounds and name prompts

    // A pile with a gap in column 0 up to row 2, and a block at (6, 1): the first piece,
    // whatever it is, lands at once, and the next finds no room.
    static Board pile() {
        Board pile;
        for (int y = 2; y < boardHeight; ++y)
            for (int x = 1; x < boardWidth; ++x) pile.at(x, y).state = CellState::Settled;
        pile.at(6, 1).state = CellState::Settled;  // a straight piece lying in row 0 cannot fall
        return pile;
    }
    void open(Music& music, SoundEffects& effects, const Board& pile = MainWindowTest::pile()) {
        session = std::make_unique<GameSession>(music, effects, folder->path(), pile);
        window =
            std::make_unique<MainWindow>(*session, GameFolders{folder->path(), folder->filePath("user")});
        window->start();
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
    // Holds Down until the game is over, and answers the name prompt with "Ada".
    void playToTheEnd() {
        QTest::keyPress(window.get(), Qt::Key_Down);
        QTRY_VERIFY(!dialogs().isEmpty());
        auto* prompt = qobject_cast<QInputDialog*>(dialogs()[0]);
        QVERIFY(prompt);
        log << "prompt";
        QVERIFY(window->findChild<HeldKeys*>()->held().empty());  // let go when the prompt came
        QVERIFY(!window->centralWidget()->isEnabled());
        prompt->setTextValue("Ada");
        prompt->accept();
    }
    // The window's dialogs open now: each belongs to it and is modal to it.
    QWidgetList dialogs() {
        QWidgetList open;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->isVisible() && top->windowHandle()->transientParent() == window->windowHandle() &&
                top->parentWidget() == window.get() && top->windowModality() == Qt::WindowModal)
                open << top;
        return open;
    }
    bool greyed() { return !window->centralWidget()->isEnabled() && !window->menuBar()->isEnabled(); }

private slots:
    void initTestCase() {
        static QTemporaryDir config;  // the choices the tests make are kept here
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    }
    void init() {
        QFile::remove(qEnvironmentVariable("XDG_CONFIG_HOME") +
                      "/stonerush/stonerush.conf");  // a first start
        folder = std::make_unique<QTemporaryDir>();
        qputenv("STONERUSH_PAD_FOLDER", QFile::encodeName(folder->path()));  // where pads plug in
        fakeMusic.log = [this](const QString& call) { log << call; };
        fakeEffects.log = [this](const QString& file) { log << QFileInfo(file).fileName(); };
        open(fakeMusic, fakeEffects);
        log.clear();
    }
    void cleanup() { window.reset(), session.reset(); }

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
        QVERIFY(!greyed());
        QCOMPARE(log, (QStringList{"play", "pause", "resume", "gameover.wav", "rewind", "prompt"}));
        control<QAction>("highScoresAction")->trigger();
        QCOMPARE(dialogs().size(), 1);
        const auto line1 = [&] { return dialogs()[0]->findChild<QLabel*>("scoreLine1")->text(); };
        QVERIFY(line1().startsWith("#1: Ada "));
        QTest::mouseClick(dialogs()[0]->findChild<QPushButton*>("resetButton"), Qt::LeftButton);
        QVERIFY(line1().startsWith("#1: None "));
    }

    // The shortcuts pressed during a game. A dialog belongs to the window, is modal to it, pauses
    // the game, greys the window and is the only one; closing it gives the window back, still
    // paused. A signal instead ends the program at once and lets the music go.
    void shortcuts_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("opens");
        QTest::addColumn<bool>("signal");
        QTest::addColumn<QStringList>("log");
        for (const bool signal : {false, true})
            for (const auto& [keys, opens] :
                 {std::pair{"F1", "HelpWindow"}, {"F2", "AboutWindow"}, {"F4", "HighScoreWindow"}})
                QTest::addRow("%s%s", keys, signal ? ", signal" : "")
                    << keys << opens << signal << QStringList{"pause"};
        QTest::newRow("Ctrl+S") << "Ctrl+S"
                                << "" << false << QStringList{};
        QTest::newRow("Ctrl+M") << "Ctrl+M"
                                << "" << false << QStringList{"pause"};
    }
    void shortcuts() {
        QFETCH(QString, keys);
        QFETCH(bool, signal);
        click("startButton");
        QFile(folder->filePath("help.htm")).open(QIODevice::WriteOnly);
        log.clear();
        QTest::keySequence(window.get(), QKeySequence(keys));
        QTEST(log, "log");
        QCOMPARE(control<QAction>("soundAction")->isChecked(), keys != "Ctrl+S");
        QCOMPARE(control<QAction>("musicAction")->isChecked(), keys != "Ctrl+M");
        const QWidgetList sides = dialogs();
        QTEST(sides.isEmpty() ? "" : QString(sides[0]->metaObject()->className()).remove("stonerush::"),
              "opens");
        QCOMPARE(greyed(), !sides.isEmpty());
        if (sides.isEmpty()) return;
        if (sides[0]->inherits("stonerush::HelpWindow"))  // the page beside the program
            QCOMPARE(sides[0]->findChild<QTextBrowser*>("browser")->source(),
                     QUrl::fromLocalFile(folder->filePath("help.htm")));
        for (QWidget* target : QWidgetList{window.get(), sides[0]})
            for (const Qt::Key again : {Qt::Key_F1, Qt::Key_F2, Qt::Key_F4}) QTest::keyClick(target, again);
        QCOMPARE(dialogs(), sides);
        const QPointer<QWidget> side = sides[0];
        if (signal) {
            window->endWithoutAsking();
            QCOMPARE(log.last(), "close");
            QVERIFY(!window->isVisible());
            return;
        }
        side->windowHandle()->close();  // its close box
        QTRY_VERIFY(side.isNull());
        QVERIFY(window->isVisible());
        QVERIFY(!greyed());
        QCOMPARE(control<QPushButton>("startButton")->text(), "PLAY");  // until resumed
        QCOMPARE(log.last(), "pause");
    }

    // Sound, music and the starting speed are kept for the next start, and a game then plays in
    // silence at that speed; a first start has both switches on and speed 0.
    void choicesKept() {
        const auto checked = [this](const char* name) { return control<QAction>(name)->isChecked(); };
        QVERIFY(checked("soundAction") && checked("musicAction"));
        QCOMPARE(control<QScrollBar>("speedSlider")->value(), 0);
        QTest::keySequence(window.get(), QKeySequence("Ctrl+S"));
        QTest::keySequence(window.get(), QKeySequence("Ctrl+M"));
        control<QScrollBar>("speedSlider")->setValue(7);
        cleanup();
        open(fakeMusic, fakeEffects);
        log.clear();
        QVERIFY(!checked("soundAction") && !checked("musicAction"));
        QCOMPARE(control<QLabel>("startingSpeedValue")->text(), "7");
        click("startButton");
        QCOMPARE(view().section(' ', -2, -2), "7");
        playToTheEnd();
        QCOMPARE(log, (QStringList{"rewind", "prompt"}));
    }

    // A pad, plugged in again after each pull: its Start is the button's, unless a side window is
    // open (h: F4); its D-pad steers (l: left held); pulling it out (o) pauses a running game.
    void pad() {
        cleanup();
        open(fakeMusic, fakeEffects, Board());  // room to steer
        const QByteArray path = QFile::encodeName(folder->filePath("event0"));
        const input_event start[] = {{{}, EV_KEY, BTN_START, 1}, {{}, EV_KEY, BTN_START, 0}},
                          left[] = {{{}, EV_KEY, BTN_DPAD_LEFT, 1}};
        QStringList captions;
        int fd = -1, cameIn = -1, leftmost = -1;  // the falling piece's leftmost column
        const auto drawn = connect(session.get(), &GameSession::cellsChanged, [&](const Board& board) {
            leftmost = boardWidth;
            for (int y = 0; y < boardHeight; ++y)
                for (int x = 0; x < boardWidth; ++x)
                    if (board.at(x, y).state == CellState::Falling) leftmost = std::min(leftmost, x);
            if (cameIn < 0) cameIn = leftmost;
        });
        const auto disconnected = qScopeGuard([&] { disconnect(drawn); });
        for (const QChar action : QStringLiteral("oslssoshs")) {
            if (::mkfifo(path, 0600) == 0) ::close(std::exchange(fd, ::open(path, O_RDWR | O_CLOEXEC)));
            if (action == 's') QCOMPARE(::write(fd, start, sizeof start), ssize_t(sizeof start));
            if (action == 'l') QCOMPARE(::write(fd, left, sizeof left), ssize_t(sizeof left));
            if (action == 'l') QTRY_VERIFY(leftmost < cameIn);
            if (action == 'o') ::unlink(path);
            if (action == 'h') QTest::keyClick(window.get(), Qt::Key_F4);
            QTest::qWait(40);
            captions << control<QPushButton>("startButton")->text();
        }
        ::close(fd);
        QCOMPARE(captions.join(' '), "START PAUSE PAUSE PLAY PAUSE PLAY PAUSE PLAY PLAY");
    }

    // A game by pad alone, on the pile where it ends at once: its Start begins it, the name prompt
    // comes, and the name typed on the keyboard goes into the table.
    void aGameByPad() {
        const QByteArray path = QFile::encodeName(folder->filePath("event0"));
        QCOMPARE(::mkfifo(path, 0600), 0);
        const int fd = ::open(path, O_RDWR | O_CLOEXEC);
        const auto closed = qScopeGuard([fd] { ::close(fd); });
        const input_event play[] = {
            {{}, EV_KEY, BTN_START, 1}, {{}, EV_KEY, BTN_START, 0}, {{}, EV_KEY, BTN_DPAD_DOWN, 1}};
        QCOMPARE(::write(fd, play, sizeof play), ssize_t(sizeof play));
        QTRY_COMPARE(dialogs().size(), 1);
        auto* name = dialogs()[0]->findChild<QLineEdit*>();
        QTest::keyClicks(name, "Pad");
        QTest::keyClick(name, Qt::Key_Return);
        QTRY_VERIFY(dialogs().isEmpty());
        control<QAction>("highScoresAction")->trigger();
        QVERIFY(dialogs()[0]->findChild<QLabel*>("scoreLine1")->text().startsWith("#1: Pad "));
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
        const auto item = [this](const char* name) { return control<QAction>(name); };
        const QSize atOne = window->centralWidget()->size();
        click("startButton");
        QString acts;  // per step: whether Zoom In, Zoom Out and Actual Size act
        for (int step = 1; step <= 7; ++step, item("zoomInAction")->trigger(), acts += ' ') {
            QCOMPARE(window->centralWidget()->size(), atOne * std::min(step, 6));
            for (const char* name : {"zoomInAction", "zoomOutAction", "actualSizeAction"})
                acts += item(name)->isEnabled() ? '+' : '-';
        }
        QCOMPARE(acts, "+-- +++ +++ +++ +++ -++ -++ ");
        QVERIFY(window->screen()->availableGeometry().contains(window->frameGeometry()));
        item("actualSizeAction")->trigger();
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
        QCOMPARE(view().section(' ', -2, -2), "12");
        playToTheEnd();
        QCOMPARE(view().section(' ', 0, 2), "START panel 000005");
    }
};

STONERUSH_QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
