// The main window driven as a player drives it: what it shows in each state
// of the game, its menu shortcuts and side windows, the keys, the end of the
// program, and a game with broken data files and whatever sound the machine has.
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

#include "mainwindow/game_session.h"
#include "mainwindow/main_window.h"
#include "platform/held_keys.h"
#include "platform/sound/fluid_music.h"
#include "platform/sound/qt_sound_effects.h"
#include "scores/score_keeper.h"
#include "support/fake_sound.h"
#include "support/offscreen_main.h"
#include "windows/help_window.h"

using namespace stonerush;

namespace {

// A pile with a gap in column 0 up to row 2: the first piece, pushed down,
// lands at once, and the next finds no room.
Board pile() {
    Board board;
    for (int y = 2; y < boardHeight; ++y)
        for (int x = 1; x < boardWidth; ++x) board.at(x, y).state = CellState::Settled;
    return board;
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> folder;
    FakeMusic fakeMusic;
    FakeSoundEffects fakeEffects;
    std::unique_ptr<ScoreKeeper> scores;
    std::unique_ptr<GameSession> session;
    std::unique_ptr<MainWindow> window;
    QStringList log;  // music calls and name prompts

    template <class T>
    T* control(const char* name) {
        return window->findChild<T*>(QLatin1String(name));
    }
    void open(Music& music, SoundEffects& effects) {
        scores = std::make_unique<ScoreKeeper>();
        scores->setNamePrompt([this] {
            log << "prompt";
            return QStringLiteral("Ada");
        });
        scores->startUp(folder->path());
        session = std::make_unique<GameSession>(music, effects, folder->path());
        session->setStartingField(pile());
        window = std::make_unique<MainWindow>(*session, *scores, folder->path());
        window->findChild<HeldKeys*>()->setRepeatGrace(0);
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
    void close() {
        window.reset();
        session.reset();
        scores.reset();
    }
    // The button, the speed panel, the three counters; whether the playfield
    // shows one of the pictures (title, game over) or the game.
    QString view() {
        const QImage field = control<QWidget>("playfield")->grab(QRect(2, 2, 160, 288)).toImage();
        const QString shows =
            field == QImage(":/assets/playfield_paused.png").convertToFormat(field.format())      ? "title"
            : field == QImage(":/assets/playfield_game_over.png").convertToFormat(field.format()) ? "over"
                                                                                                  : "game";
        return QStringList{control<QPushButton>("startButton")->text(),
                           control<QWidget>("speedPanel")->isVisible() ? "panel" : "no panel",
                           control<QLabel>("scoreValue")->text(),
                           control<QLabel>("linesValue")->text(),
                           control<QLabel>("speedValue")->text(),
                           shows}
            .join(' ');
    }
    // Holds Down until the game is over and the name prompt has come and gone.
    void playToTheEnd() {
        QTest::keyPress(window.get(), Qt::Key_Down);
        QTRY_VERIFY(log.contains("prompt"));
        QVERIFY(window->findChild<HeldKeys*>()->steering().empty());  // let go when the prompt came
        QTest::keyRelease(window.get(), Qt::Key_Down);
    }
    QWidgetList sideWindows() {
        QWidgetList open;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->isVisible() && top->windowHandle()->transientParent() == window->windowHandle())
                open << top;
        return open;
    }

private slots:
    void init() {
        folder = std::make_unique<QTemporaryDir>();
        fakeMusic.log = [this](const QString& call) {
            if (!call.startsWith("open")) log << call;
        };
        log.clear();
        open(fakeMusic, fakeEffects);
    }
    void cleanup() { close(); }

    void showsEachStateOfTheGame() {
        QCOMPARE(view(), "START panel 000000 0 0 title");
        control<QScrollBar>("speedSlider")->setValue(12);
        QCOMPARE(control<QLabel>("startingSpeedValue")->text(), "12");
        QTest::mouseClick(control<QPushButton>("startButton"), Qt::LeftButton);
        QCOMPARE(view(), "PAUSE no panel 000000 0 12 game");
        QTest::mouseClick(control<QPushButton>("startButton"), Qt::LeftButton);
        QCOMPARE(view(), "PLAY no panel 000000 0 12 title");
        QTest::mouseClick(control<QPushButton>("startButton"), Qt::LeftButton);
        playToTheEnd();
        QCOMPARE(view(), "START panel 000005 0 12 over");
        QCOMPARE(scores->table().entry(1).playerScore, 5);
        QCOMPARE(log, (QStringList{"play", "pause", "resume", "rewind", "prompt"}));
    }

    // Arrows steer only: a focused slider never takes them.
    void arrowsSteerOnly() {
        QScrollBar* slider = control<QScrollBar>("speedSlider");
        slider->setFocus();
        QTest::keyPress(slider, Qt::Key_Right);
        QCOMPARE(window->findChild<HeldKeys*>()->steering(), SteerSet{Steer::Right});
        QTest::keyRelease(slider, Qt::Key_Right);
        QCOMPARE(slider->value(), 0);
    }

    // The shortcuts pressed on the window during a game. A side window belongs to the window, pauses the
    // game, disables the window and is the only one; closing it gives the window back, paused. Closing
    // the program instead saves the table and closes every window.
    void shortcuts_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("opens");
        QTest::addColumn<bool>("quit");
        QTest::addColumn<QStringList>("log");
        const auto row = [](QString keys, QString opens, bool quit, QStringList calls) {
            QTest::addRow("%s%s", qPrintable(keys), quit ? ", quit" : "") << keys << opens << quit << calls;
        };
        for (const bool quit : {false, true})
            for (const auto& [keys, window] : {std::pair{"F1", "stonerush::HelpWindow"},
                                               {"F2", "stonerush::AboutWindow"},
                                               {"F4", "stonerush::HighScoreWindow"}})
                row(keys, window, quit, {"pause"});
        row("Ctrl+S", "", false, {});
        row("Ctrl+M", "", false, {"pause"});
    }
    void shortcuts() {
        QFETCH(QString, keys);
        QFETCH(bool, quit);
        QTest::mouseClick(control<QPushButton>("startButton"), Qt::LeftButton);
        QFile(folder->filePath("help.htm")).open(QIODevice::WriteOnly);
        log.clear();
        QTest::keySequence(window.get(), QKeySequence(keys));
        QTEST(log, "log");
        QCOMPARE(session->soundOn(), keys != "Ctrl+S");
        QCOMPARE(session->musicOn(), keys != "Ctrl+M");
        const QWidgetList sides = sideWindows();
        QTEST(QString(sides.isEmpty() ? "" : sides[0]->metaObject()->className()), "opens");
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
        if (quit) QCOMPARE(log.last(), "close");
    }

    // Real sound on whatever the machine has (CI: no device), every data file broken: the game runs at
    // the speed set before START, ends and keeps its score, in silence.
    void brokenDataFilesAndNoSoundDevice() {
        close();
        for (const char* name : {"rushtune.mid", "gameover.wav", "line.wav", "rushhs.dat"})
            std::ofstream(folder->filePath(name).toStdString()) << "not what its name says";
        FluidMusic music;
        QtSoundEffects effects;
        open(music, effects);
        control<QScrollBar>("speedSlider")->setValue(12);
        QTest::mouseClick(control<QPushButton>("startButton"), Qt::LeftButton);
        QCOMPARE(session->game().speed(), 12);
        playToTheEnd();
        QCOMPARE(view().section(' ', 0, 2), "START panel 000005");
        close();  // before the sound it uses
    }
};

STONERUSH_QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
