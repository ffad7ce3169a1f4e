// The main window driven as a player would: the button's three states and the
// music words, the options, the keys through the real event filter, the menu
// shortcuts and side windows, the end of the program, and broken data files.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QWindow>
#include <fstream>
#include <memory>

#include "mainwindow/form1.h"
#include "platform/keyboard_state.h"
#include "platform/picture_box.h"
#include "platform/sound/fluid_music_control.h"
#include "platform/sound/qt_wave_player.h"
#include "tests/support/fake_sound.h"
#include "tests/support/offscreen_main.h"
#include "windows/help_window.h"

class Form1Test : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> folder;
    FakeMusicControl music;
    FakeWavePlayer waves;
    std::unique_ptr<Form1> form;
    QStringList log;  // music words, wave files and name prompts, each with State()

    const stonerush::Game& game() { return form->GameState(); }

    void Open(MusicControl& withMusic, WavePlayer& withWaves) {
        form = std::make_unique<Form1>(Form1Services{withMusic, withWaves, folder->path()});
        form->Keyboard().SetRepeatGrace(0);
        form->Scores().SetNamePrompt([this] {
            log << "prompt | " + State();
            return QStringLiteral("Ada");
        });
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }

    // Caption, whether the game runs, Timer1's interval, what playfield and preview show, whether the speed
    // is up.
    QString State() {
        const auto shows = [this](PictureBox* view, PictureBox* play, PictureBox* paused) {
            for (const auto& [known, name] :
                 {std::pair{play, "play"}, {paused, "paused"}, {form->game_over_pic, "over"}})
                if (view->Picture() == known->Picture()) return QString(name);
            return QStringLiteral("drawn");
        };
        return QStringLiteral("%1 %2 %3 %4/%5%6")
            .arg(form->Caption(), QString(form->isGameRunning() ? "run" : "stop"),
                 QString::number(form->TimerInterval()), shows(form->mainview, form->mainsrc, form->mainpsrc),
                 shows(form->nextview, form->nextsrc, form->nextpsrc),
                 QString(form->Frame1->isVisible() ? " speed" : ""));
    }

    void EndTheGame() {  // ticks until a piece finds no room, then the name prompt
        for (int tick = 0; form->Caption() == "PAUSE" && tick < 100000; ++tick) form->runTick();
        QTRY_VERIFY(!log.isEmpty() && log.last().startsWith("prompt"));
    }

    // The windows open that belong to the main window (kept above it, out of the task bar).
    QWidgetList SideWindows() {
        QWidgetList open;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible() && window->windowHandle()->transientParent() == form->windowHandle())
                open << window;
        return open;
    }

private slots:
    void init() {
        folder = std::make_unique<QTemporaryDir>();
        music.log = waves.log = [this](QString what) {
            log << what.remove(folder->path() + '/') + (form ? " | " + State() : QString());
        };
        log.clear();
        Open(music, waves);
        QCOMPARE(std::exchange(log, {}), (QStringList{"rushtune.mid", "Open"}));
    }
    void cleanup() { form.reset(); }

    // c: click Command1, m: Menu_Music, s: Menu_Sound, g: the game ends, p:
    // PauseRunningGame (a side window opens), n: the music is not at its end (or
    // nothing is loaded), e: it is.
    void control_data() {
        QTest::addColumn<QString>("actions");
        QTest::addColumn<QStringList>("log");
        QTest::addColumn<QString>("state");
        const QString ready = "START stop 0 paused/paused speed", running = "PAUSE run 30 play/play",
                      over = "START stop 0 over/drawn speed", ending = "PAUSE run 30 drawn/drawn";
        const QString play = "Play | START run 0 paused/paused speed",
                      pause = "Pause | PAUSE stop 0 paused/paused", resume = "Pause | PLAY run 30 play/play";
        const QStringList gameOver{"Stop | " + ending, "Next | " + ending, "prompt | " + over};
        const QStringList ended = QStringList{play, "gameover.wav | " + ending} + gameOver;
        const auto row = [](const char* name, QString actions, QStringList log, QString state) {
            QTest::newRow(name) << actions << log << state;
        };
        row("START, PAUSE, PLAY", "ccc", {play, pause, resume}, running);
        row("music off: the button sends nothing", "mccc", {}, running);
        row("music off, on in a game", "cmm", {play, "Pause | " + running, "Play | " + running}, running);
        row("music off, on while paused", "ccmmc", {play, pause, resume}, running);
        row("game over, sound and music off", "smcg", gameOver, over);
        row("game over, START", "cgc", ended + QStringList{"Play | START run 0 over/drawn speed"}, running);
        row("side windows pause PAUSE only", "pcpp", {play, pause}, "PLAY stop 0 paused/paused");
        row("the music loops at its end only", "ne", {"Next | " + ready, "Play | " + ready}, ready);
    }
    void control() {
        QFETCH(QString, actions);
        for (const QChar action : actions) {
            if (action == 'c') QTest::mouseClick(form->Command1, Qt::LeftButton);
            if (action == 'm') form->Menu_Music->trigger();
            if (action == 's') form->Menu_Sound->trigger();
            if (action == 'g') EndTheGame();
            if (action == 'p') form->PauseRunningGame();
            for (const int32_t position : {0, 999, 1000})  // nothing loaded; near the end; at the end
                if (action == (position < 1000 ? 'n' : 'e')) {
                    music.length = position ? 1000 : 0;
                    music.position = position;
                    emit music.Notify();
                }
        }
        QTEST(log, "log");
        QTEST(State(), "state");
    }

    // Keys held down, sent to a focused scroll bar that would take the arrows
    // itself; then released, or let go of by the window as its keys go elsewhere.
    void keys_data() {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<quint32>("place");        // X key code, for letters of other layouts
        QTest::addColumn<QList<int>>("requests");  // move, turn
        QTest::addColumn<QString>("until");
        const auto row = [](const char* name, QList<int> keys, QList<int> requests, quint32 place = 0,
                            const char* until = "released") {
            QTest::newRow(name) << keys << place << requests << QString(until);
        };
        row("Left beats Right", {Qt::Key_Right, Qt::Key_Left}, {1, 0});
        row("Right beats Down", {Qt::Key_Down, Qt::Key_Right}, {2, 0});
        row("Up beats D", {Qt::Key_D, Qt::Key_Up}, {0, 2});
        row("D beats A", {Qt::Key_A, Qt::Key_D}, {0, 1});
        row("a turn and a move", {Qt::Key_Up, Qt::Key_Down}, {3, 2});
        row("other keys", {Qt::Key_W, Qt::Key_S, Qt::Key_Space, Qt::Key_Shift}, {0, 0});
        row("Russian, the D key", {0x432}, {0, 1}, 40);
        row("Russian, the A key", {0x444}, {0, 2}, 38);
        row("French, the Q key types A", {Qt::Key_A}, {0, 2}, 24);
        row("the window is deactivated", {Qt::Key_Left, Qt::Key_Up}, {1, 2}, 0, "deactivated");
        row("the window is disabled", {Qt::Key_Left, Qt::Key_Up}, {1, 2}, 0, "disabled");
        row("the name prompt opens", {Qt::Key_Left, Qt::Key_Up}, {1, 2}, 0, "prompt");
    }
    void keys() {
        QFETCH(QList<int>, keys);
        QFETCH(quint32, place);
        QFETCH(QString, until);
        const auto send = [&](QEvent::Type type) {  // QEvent::None only polls
            for (const int key : type == QEvent::None ? QList<int>{} : keys) {
                QKeyEvent event(type, key, Qt::NoModifier, place, 0, 0);
                QApplication::sendEvent(form->HScroll1, &event);
            }
            const stonerush::KeyRequests requests = form->PollKeyboard();
            return QList<int>{requests.Move, requests.Turn};
        };
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        form->HScroll1->setFocus();
        QTEST(send(QEvent::KeyPress), "requests");
        QEvent deactivate(QEvent::WindowDeactivate);
        if (until == "deactivated") QApplication::sendEvent(form.get(), &deactivate);
        if (until == "disabled") form->SetMainWindowEnabled(false);
        if (until == "prompt") EndTheGame();
        const QList<int> after = until == "released"   ? send(QEvent::KeyRelease)
                                 : until == "disabled" ? send(QEvent::KeyPress)  // not taken now
                                                       : send(QEvent::None);
        QCOMPARE(after, (QList<int>{0, 0}));
        QCOMPARE(form->HScroll1->value(), 0);  // the arrows steer the piece only
    }

    // The shortcuts pressed on the window during a game. A side window belongs to the window, pauses the
    // game, disables the window and is the only one; closing it gives the window back, paused. Closing
    // the program instead saves the table and closes every window.
    void shortcuts_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("opens");
        QTest::addColumn<bool>("quit");
        QTest::addColumn<QStringList>("log");
        const auto row = [](QString keys, QString opens, bool quit, QStringList log) {
            QTest::addRow("%s%s", qPrintable(keys), quit ? ", quit" : "") << keys << opens << quit << log;
        };
        for (const bool quit : {false, true})
            for (const auto& [keys, window] : {std::pair{"F1", "Form2"}, {"F2", "frmAbout"}, {"F4", "Form3"}})
                row(keys, window, quit, {"Pause | PAUSE stop 0 paused/paused"});
        row("Ctrl+S", "", false, {});
        row("Ctrl+M", "", false, {"Pause | PAUSE run 30 play/play"});
    }
    void shortcuts() {
        QFETCH(QString, keys);
        QFETCH(bool, quit);
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        form->Scores().Table().Entry(1) = {PlayerNameFromText("Ada"), 777};  // in memory only
        QFile(folder->filePath("help.htm")).open(QIODevice::WriteOnly);
        log.clear();
        QTest::keySequence(form.get(), QKeySequence(keys));
        QTEST(log, "log");
        QCOMPARE(form->soundOn(), keys != "Ctrl+S");
        const QWidgetList sides = SideWindows();
        QTEST(QString(sides.isEmpty() ? "" : sides[0]->metaObject()->className()), "opens");
        QCOMPARE(form->isEnabled(), sides.isEmpty());
        if (sides.isEmpty()) return;
        if (auto* help = qobject_cast<Form2*>(sides[0]))  // the page beside the program
            QCOMPARE(help->browser()->source(), QUrl::fromLocalFile(folder->filePath("help.htm")));
        for (QWidget* target : QWidgetList{form.get(), sides[0]})
            for (const Qt::Key again : {Qt::Key_F1, Qt::Key_F2, Qt::Key_F4}) QTest::keyClick(target, again);
        QCOMPARE(SideWindows(), sides);
        const QPointer<QWidget> side = sides[0];
        (quit ? form->windowHandle() : side->windowHandle())->close();  // a close box
        QTRY_VERIFY(side.isNull());
        QCOMPARE(form->isVisible(), !quit);
        QVERIFY(form->isEnabled());
        QCOMPARE(State(), QStringLiteral("PLAY stop 0 paused/paused"));  // until resumed
        if (!quit) return;
        QVERIFY(log.last().startsWith("Close |"));
        QFile file(folder->filePath("rushhs.dat"));
        QVERIFY(file.open(QIODevice::ReadOnly) && file.readAll().startsWith("Ada "));
    }

    // Real sound on whatever the machine has (CI: no device), every data file broken: the game runs at
    // the speed set before START, ends and keeps its scores, in silence.
    void brokenDataFilesAndNoSoundDevice() {
        form.reset();
        for (const char* name : {"rushtune.mid", "gameover.wav", "rushhs.dat"})
            std::ofstream(folder->filePath(name).toStdString()) << "not what its name says";
        FluidMusicControl realMusic;
        QtWavePlayer realWaves;
        Open(realMusic, realWaves);
        form->HScroll1->setValue(12);
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        form->HScroll1->setValue(3);  // hidden during the game
        QCOMPARE(form->speed_select->text(), QStringLiteral("3"));
        QCOMPARE(game().speed(), 12);
        QCOMPARE(form->speed_show->text(), QStringLiteral("12"));
        const int top = game().fallingPiece().y;
        QTRY_VERIFY(game().fallingPiece().y > top + 2);  // Timer1 runs the game
        EndTheGame();
        QCOMPARE(form->Scores().Table().Entry(1).PlayerScore, game().score());
        QCOMPARE(form->scorelabel->text(), QString::number(game().score()).rightJustified(6, '0'));
        form.reset();  // before the sound it uses
    }
};

STONERUSH_QTEST_MAIN(Form1Test)
#include "form1_test.moc"
