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

    stonerush::Game& game() { return form->GameState(); }

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

    // Caption, GameRunning, Timer1's interval, what the playfield and the
    // preview show, and whether the speed selector is up.
    QString State() {
        const auto shows = [this](PictureBox* view, PictureBox* play, PictureBox* paused) -> QString {
            const QImage& shown = view->Picture();
            return shown == play->Picture()                  ? "play"
                   : shown == paused->Picture()              ? "paused"
                   : shown == form->game_over_pic->Picture() ? "over"
                                                             : "drawn";
        };
        return QStringList{form->Caption(), game().GameRunning ? "run" : "stop",
                           QString::number(form->TimerInterval()),
                           shows(form->mainview, form->mainsrc, form->mainpsrc) + '/' +
                               shows(form->nextview, form->nextsrc, form->nextpsrc)}
                   .join(' ') +
               (form->Frame1->isVisible() ? " speed" : "");
    }

    void EndTheGame() {  // the next piece finds the board full
        for (int y = 0; y < stonerush::BoardHeight; ++y)
            for (int x = 1; x < stonerush::BoardWidth; ++x) game().Board(x, y).State = stonerush::CellSettled;
        game().PieceFalling = false;
        game().PlayPhase = 0;
        game().Score = 1234;
        game().GameTick();
    }

    // The windows open that belong to the main window (kept above it, out of the task bar).
    QWidgetList SideWindows() {
        QWidgetList open;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window != form.get() && window->isVisible() && window->windowHandle() &&
                window->windowHandle()->transientParent() == form->windowHandle())
                open << window;
        return open;
    }

private slots:
    void init() {
        folder = std::make_unique<QTemporaryDir>();
        music.log = waves.log = [this](QString what) {
            log << what.remove(folder->path() + '/') + (form ? " | " + State() : QString());
        };
        Open(music, waves);
        QCOMPARE(log, (QStringList{"rushtune.mid", "Open"}));
        log.clear();
    }
    void cleanup() {
        form.reset();
        log.clear();
    }

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
        QTest::newRow("START, PAUSE, PLAY") << "ccc" << QStringList{play, pause, resume} << running;
        QTest::newRow("music off: the button sends nothing") << "mccc" << QStringList{} << running;
        QTest::newRow("music off, on in a game")
            << "cmm" << QStringList{play, "Pause | " + running, "Play | " + running} << running;
        QTest::newRow("music on in a game") << "mcm" << QStringList{"Play | " + running} << running;
        QTest::newRow("music off while paused") << "ccmc" << QStringList{play, pause} << running;
        QTest::newRow("music off, on while paused") << "ccmmc" << QStringList{play, pause, resume} << running;
        QTest::newRow("game over") << "cg" << ended << over;
        QTest::newRow("game over, sound and music off") << "smcg" << gameOver << over;
        QTest::newRow("START after a game")
            << "cgc" << ended + QStringList{"Play | START run 0 over/drawn speed"} << running;
        QTest::newRow("side windows pause PAUSE only")
            << "pcpp" << QStringList{play, pause} << "PLAY stop 0 paused/paused";
        QTest::newRow("the music loops at its end only")
            << "ne" << QStringList{"Next | " + ready, "Play | " + ready} << ready;
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
        QCOMPARE(game().SoundOn, form->Menu_Sound->isChecked());
    }

    void theSpeedIsReadAtStartOnly() {
        form->HScroll1->setValue(12);
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        form->HScroll1->setValue(3);  // hidden during the game
        QCOMPARE(form->speed_select->text(), QStringLiteral("3"));
        QCOMPARE(game().SpeedLevel, 12);
        QCOMPARE(game().FallDelay, 1);
    }

    // Keys held down, sent to a focused scroll bar that would take the arrows
    // itself; then released, or let go of by the window as its keys go elsewhere.
    void keys_data() {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<quint32>("place");  // X key code, for letters of other layouts
        QTest::addColumn<int>("move");
        QTest::addColumn<int>("turn");
        QTest::addColumn<QString>("until");
        const auto row = [](const char* name, QList<int> keys, int move, int turn, quint32 place = 0,
                            const char* until = "released") {
            QTest::newRow(name) << keys << place << move << turn << QString(until);
        };
        row("Left beats Right", {Qt::Key_Right, Qt::Key_Left}, 1, 0);
        row("Right beats Down", {Qt::Key_Down, Qt::Key_Right}, 2, 0);
        row("Down", {Qt::Key_Down}, 3, 0);
        row("Up beats D", {Qt::Key_D, Qt::Key_Up}, 0, 2);
        row("D beats A", {Qt::Key_A, Qt::Key_D}, 0, 1);
        row("A with Shift", {Qt::Key_Shift, Qt::Key_A}, 0, 2);
        row("a turn and a move", {Qt::Key_Up, Qt::Key_Left}, 1, 2);
        row("other keys", {Qt::Key_W, Qt::Key_S, Qt::Key_Space}, 0, 0);
        row("Russian, the D key", {0x432}, 0, 1, 40);
        row("Russian, the A key", {0x444}, 0, 2, 38);
        row("Greek, the D key", {0x3b4}, 0, 1, 40);
        row("French, the A key types Q", {Qt::Key_Q}, 0, 0, 38);
        row("French, the Q key types A", {Qt::Key_A}, 0, 2, 24);
        row("the window is deactivated", {Qt::Key_Left, Qt::Key_Up}, 1, 2, 0, "deactivated");
        row("the window is disabled", {Qt::Key_Left, Qt::Key_Up}, 1, 2, 0, "disabled");
        row("the name prompt opens", {Qt::Key_Left, Qt::Key_Up}, 1, 2, 0, "prompt");
    }
    void keys() {
        QFETCH(QList<int>, keys);
        QFETCH(quint32, place);
        QFETCH(int, move);
        QFETCH(int, turn);
        QFETCH(QString, until);
        const auto poll = [this] {
            const stonerush::KeyRequests requests = form->PollKeyboard();
            return QList<int>{requests.Move, requests.Turn};
        };
        const auto send = [&](QEvent::Type type) {
            for (const int key : keys) {
                QKeyEvent event(type, key, Qt::NoModifier, place, 0, 0);
                QApplication::sendEvent(form->HScroll1, &event);
            }
            return poll();
        };
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        form->HScroll1->setFocus();
        QCOMPARE(send(QEvent::KeyPress), (QList<int>{move, turn}));
        QEvent deactivate(QEvent::WindowDeactivate);
        if (until == "deactivated") QApplication::sendEvent(form.get(), &deactivate);
        if (until == "disabled") form->SetMainWindowEnabled(false);
        if (until == "prompt") EndTheGame();
        const QList<int> after = until == "released"   ? send(QEvent::KeyRelease)
                                 : until == "disabled" ? send(QEvent::KeyPress)  // not taken now
                                                       : poll();
        QCOMPARE(after, (QList<int>{0, 0}));
        QCOMPARE(form->HScroll1->value(), 0);  // the arrows steer the piece only
    }

    // The shortcuts pressed on the window during a game. A side window belongs
    // to the window, pauses the game, disables the window and is the only one;
    // closing it gives the window back, paused. Closing the program instead
    // saves the table and closes every window.
    void shortcuts_data() {
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<QString>("opens");
        QTest::addColumn<bool>("quit");
        QTest::addColumn<QStringList>("log");
        const QList<std::pair<Qt::Key, QString>> windows{
            {Qt::Key_F1, "Form2"}, {Qt::Key_F2, "frmAbout"}, {Qt::Key_F4, "Form3"}};
        for (const bool quit : {false, true})
            for (const auto& [key, window] : windows)
                QTest::addRow("%s%s", qPrintable(QKeySequence(key).toString() + ", " + window),
                              quit ? ", quit" : "")
                    << QKeySequence(key) << window << quit
                    << QStringList{"Pause | PAUSE stop 0 paused/paused"};
        QTest::newRow("Ctrl+S") << QKeySequence(Qt::CTRL | Qt::Key_S) << "" << false << QStringList{};
        QTest::newRow("Ctrl+M") << QKeySequence(Qt::CTRL | Qt::Key_M) << "" << false
                                << QStringList{"Pause | PAUSE run 30 play/play"};
    }
    void shortcuts() {
        QFETCH(QKeySequence, keys);
        QFETCH(QString, opens);
        QFETCH(bool, quit);
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        form->Scores().Table().Entry(1) = {PlayerNameFromText("Ada"), 777};  // in memory only
        QFile(folder->filePath("help.htm")).open(QIODevice::WriteOnly);
        log.clear();
        QTest::keySequence(form.get(), keys);
        QTEST(log, "log");
        QCOMPARE(game().SoundOn, keys != QKeySequence(Qt::CTRL | Qt::Key_S));
        QCOMPARE(form->Menu_Sound->isChecked(), game().SoundOn);
        const QWidgetList sides = SideWindows();
        QCOMPARE(sides.isEmpty() ? "" : sides[0]->metaObject()->className(), opens);
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

    // Real sound on whatever the machine has (CI: no device), every data file
    // broken: the game runs, ends and keeps its scores, in silence.
    void brokenDataFilesAndNoSoundDevice() {
        form.reset();
        for (const char* name : {"rushtune.mid", "gameover.wav", "rushhs.dat"}) {
            QFile file(folder->filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("not what its name says") > 0);
        }
        FluidMusicControl realMusic;
        QtWavePlayer realWaves;
        Open(realMusic, realWaves);
        form->HScroll1->setValue(12);
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        const int top = game().ActivePiece.Y;
        QTRY_VERIFY(game().ActivePiece.Y > top + 2);  // Timer1 runs the game
        EndTheGame();
        QCOMPARE(form->Caption(), QStringLiteral("START"));
        QCOMPARE(form->Scores().Table().Entry(1).PlayerScore, 1234);
        form.reset();  // before the sound it uses
    }
};

STONERUSH_QTEST_MAIN(Form1Test)
#include "form1_test.moc"
