// The main window driven as a player would: the button's three states, the
// options, the keyboard through the real event filter, the drawing of the
// board, and the end of a game.
#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <memory>

#include "mainwindow/form1.h"
#include "platform/keyboard_state.h"
#include "platform/picture_box.h"
#include "platform/termination_signals.h"
#include "scores/form3.h"
#include "tests/support/fake_sound.h"
#include "tests/support/offscreen_main.h"
#include "windows/about_window.h"
#include "windows/help_window.h"

using stonerush::CellEmpty;
using stonerush::CellSettled;

namespace {

// The first record of a high-score file: 25 name bytes and the score.
std::pair<QByteArray, int32_t> FirstRecord(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = file.read(29);
    int32_t score = 0;
    for (int i = 3; i >= 0; --i) score = score * 256 + static_cast<uint8_t>(bytes[25 + i]);
    return {bytes.left(25), score};
}

bool SamePicture(const PictureBox* a, const PictureBox* b) {
    return a->Picture() == b->Picture();
}

// Fills board rows from the bottom with settled blocks, leaving one gap column.
void FillRows(stonerush::Game& game, int fromRow, int gapColumn) {
    for (int y = fromRow; y < stonerush::BoardHeight; ++y)
        for (int x = 0; x < stonerush::BoardWidth; ++x)
            if (x != gapColumn) game.Board(x, y) = {static_cast<int16_t>(x % 6), CellSettled};
}

}  // namespace

class Form1Test : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<FakeMusicControl> music;
    std::unique_ptr<FakeWavePlayer> waves;
    std::unique_ptr<Form1> form;
    QStringList prompts;  // captions of Command1 seen when the name prompt opened

    stonerush::Game& game() { return form->GameState(); }
    void click() { QTest::mouseClick(form->Command1, Qt::LeftButton); }

private slots:
    void init() {
        folder = std::make_unique<QTemporaryDir>();
        music = std::make_unique<FakeMusicControl>();
        waves = std::make_unique<FakeWavePlayer>();
        form = std::make_unique<Form1>(Form1Services{*music, *waves, folder->path()});
        form->Keyboard().SetRepeatGrace(0);
        form->Scores().SetNamePrompt([this] {
            prompts << form->Caption() + (game().GameRunning ? " running" : " stopped");
            return QStringLiteral("Ada");
        });
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }

    void cleanup() {
        form.reset();
        prompts.clear();
    }

    void startUpLeavesTheWindowReadyForAGame() {
        QCOMPARE(form->windowTitle(), QStringLiteral("Stonerush"));
        QCOMPARE(form->centralWidget()->size(), QSize(319, 302));
        QCOMPARE(form->Caption(), QStringLiteral("START"));
        QCOMPARE(form->scorelabel->text(), QStringLiteral("000000"));
        QCOMPARE(form->speed_show->text(), QStringLiteral("0"));
        QCOMPARE(form->lcounter->text(), QStringLiteral("0"));
        QVERIFY(form->Frame1->isVisible());
        QVERIFY(!form->TimerRunning());
        QVERIFY(SamePicture(form->mainview, form->mainpsrc));
        QVERIFY(SamePicture(form->nextview, form->nextpsrc));
        QVERIFY(form->Menu_Sound->isChecked() && form->Menu_Music->isChecked());
        QVERIFY(game().SoundOn);
        QCOMPARE(music->fileName, folder->path() + "/rushtune.mid");
        QCOMPARE(music->words, QStringList{"Open"});
        QVERIFY(QFile::exists(folder->path() + "/rushhs.dat"));
        // The pictures are in place: six tiles, black backgrounds.
        QCOMPARE(form->bloxsrc->Picture().size(), QSize(96, 16));
        QCOMPARE(form->nbloxsrc->Picture().size(), QSize(192, 32));
        QCOMPARE(form->mainsrc->Picture().pixel(80, 100), qRgb(0, 0, 0));
    }

    void textsFitTheirLabels() {
        for (QLabel* label : {form->Label1, form->Label3, form->Label5, form->scorelabel, form->Label4}) {
            const int needed = QFontMetrics(label->font()).horizontalAdvance(label->text());
            QVERIFY2(needed <= label->width(), qPrintable(label->text()));
        }
    }

    void buttonCycleStartPausePlay() {
        form->HScroll1->setValue(12);
        QCOMPARE(form->speed_select->text(), QStringLiteral("12"));
        click();
        QCOMPARE(form->Caption(), QStringLiteral("PAUSE"));
        QVERIFY(game().GameRunning);
        QCOMPARE(form->TimerInterval(), 30);
        QVERIFY(!form->Frame1->isVisible());
        QCOMPARE(game().SpeedLevel, 12);
        QCOMPARE(game().FallDelay, 1);
        QCOMPARE(form->speed_show->text(), QStringLiteral("12"));
        QVERIFY(SamePicture(form->mainview, form->mainsrc));

        click();  // pause
        QCOMPARE(form->Caption(), QStringLiteral("PLAY"));
        QVERIFY(!game().GameRunning);
        QVERIFY(!form->TimerRunning());
        QVERIFY(!form->Frame1->isVisible());
        QVERIFY(SamePicture(form->mainview, form->mainpsrc));
        QVERIFY(SamePicture(form->nextview, form->nextpsrc));
        const stonerush::PieceRecord held = game().ActivePiece;
        QTest::qWait(100);  // no tick runs while paused
        QCOMPARE(game().ActivePiece, held);

        click();  // resume
        QCOMPARE(form->Caption(), QStringLiteral("PAUSE"));
        QVERIFY(game().GameRunning);
        QCOMPARE(form->TimerInterval(), 30);
        QVERIFY(SamePicture(form->mainview, form->mainsrc));
        QCOMPARE(music->words, (QStringList{"Open", "Play", "Pause", "Pause"}));
    }

    void startWithTheSelectorUntouchedIsSpeedZero() {
        click();
        QCOMPARE(game().SpeedLevel, 0);
        QCOMPARE(game().FallDelay, 25);
    }

    void musicFollowsItsCheckMark() {
        click();                      // START: Play
        form->Menu_Music->trigger();  // off while running: Pause
        form->Menu_Music->trigger();  // on while running: Play
        click();                      // pause: Pause
        form->Menu_Music->trigger();  // off while paused: nothing
        click();                      // resume with music off: nothing
        QCOMPARE(music->words, (QStringList{"Open", "Play", "Pause", "Play", "Pause"}));
        music->words.clear();
        form->Menu_Music->trigger();  // on while running
        QCOMPARE(music->words, QStringList{"Play"});
    }

    void musicOffAtStartSendsNothing() {
        form->Menu_Music->trigger();
        music->words.clear();
        click();
        click();
        click();
        QVERIFY(music->words.isEmpty());
    }

    void soundMenuMirrorsSoundOn() {
        form->Menu_Sound->trigger();
        QVERIFY(!form->Menu_Sound->isChecked());
        QVERIFY(!game().SoundOn);
        form->Menu_Sound->trigger();
        QVERIFY(game().SoundOn);
    }

    void musicLoopsOnlyAtARealEnd() {
        music->words.clear();
        emit music->Notify();  // nothing loaded: length and position are 0
        music->length = 1000;
        music->position = 999;
        emit music->Notify();
        QVERIFY(music->words.isEmpty());
        music->position = 1000;
        emit music->Notify();
        QCOMPARE(music->words, (QStringList{"Next", "Play"}));
    }

    void pauseRunningGameOnlyPausesARunningGame() {
        form->PauseRunningGame();  // before the first game
        QCOMPARE(form->Caption(), QStringLiteral("START"));
        click();
        form->PauseRunningGame();
        QCOMPARE(form->Caption(), QStringLiteral("PLAY"));
        QVERIFY(SamePicture(form->mainview, form->mainpsrc));
        form->PauseRunningGame();  // already paused: stays paused
        QCOMPARE(form->Caption(), QStringLiteral("PLAY"));
        QCOMPARE(music->words, (QStringList{"Open", "Play", "Pause"}));
    }

    void keysReachTheTableWhateverHasFocus() {
        form->Command1->setFocus();
        QTest::keyPress(form->Command1, Qt::Key_Left);
        QTest::keyPress(form->Command1, Qt::Key_Right);
        QTest::keyPress(form->Command1, Qt::Key_Down);
        stonerush::KeyRequests keys = form->PollKeyboard();
        QCOMPARE(keys.Move, 1);  // Left beats Right and masks Down
        QTest::keyRelease(form->Command1, Qt::Key_Left);
        QCOMPARE(form->PollKeyboard().Move, 2);
        QTest::keyRelease(form->Command1, Qt::Key_Right);
        QCOMPARE(form->PollKeyboard().Move, 3);
        QTest::keyRelease(form->Command1, Qt::Key_Down);
        QCOMPARE(form->PollKeyboard().Move, 0);

        QTest::keyPress(form->Command1, Qt::Key_D);
        QCOMPARE(form->PollKeyboard().Turn, 1);
        QTest::keyPress(form->Command1, Qt::Key_Up);
        QCOMPARE(form->PollKeyboard().Turn, 2);  // Up beats D
        QTest::keyRelease(form->Command1, Qt::Key_Up);
        QTest::keyRelease(form->Command1, Qt::Key_D);
        QTest::keyPress(form->Command1, Qt::Key_A, Qt::ShiftModifier);  // by key, not by character
        QCOMPARE(form->PollKeyboard().Turn, 2);
        QTest::keyRelease(form->Command1, Qt::Key_A, Qt::ShiftModifier);
        QCOMPARE(form->PollKeyboard().Turn, 0);
        QVERIFY(form->Command1->hasFocus());
    }

    // A and D are keys, not letters: on a layout whose letters are not Latin
    // they count by their place; a Latin layout's letter counts as typed.
    void lettersOfNonLatinLayoutsCountByPlace_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<quint32>("keyCode");  // X key code of the key pressed
        QTest::addColumn<int>("turn");
        QTest::newRow("Russian, the D key") << 0x432 << 40u << 1;
        QTest::newRow("Russian, the A key") << 0x444 << 38u << 2;
        QTest::newRow("Greek, the D key") << 0x3b4 << 40u << 1;
        QTest::newRow("French, the A key types Q") << int(Qt::Key_Q) << 38u << 0;
        QTest::newRow("French, the Q key types A") << int(Qt::Key_A) << 24u << 2;
    }
    void lettersOfNonLatinLayoutsCountByPlace() {
        QFETCH(int, key);
        QFETCH(quint32, keyCode);
        QFETCH(int, turn);
        for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent event(type, key, Qt::NoModifier, keyCode, 0, 0, QString(QChar(key)));
            QApplication::sendEvent(form->Command1, &event);
            QCOMPARE(form->PollKeyboard().Turn, type == QEvent::KeyPress ? turn : 0);
        }
    }

    void arrowKeysNeverChangeAWidget() {
        form->HScroll1->setFocus();
        QTest::keyClick(form->HScroll1, Qt::Key_Right);
        QTest::keyClick(form->HScroll1, Qt::Key_Up);
        QCOMPARE(form->HScroll1->value(), 0);
        QVERIFY(form->HScroll1->hasFocus());
        form->Command1->setFocus();
        QTest::keyClick(form->Command1, Qt::Key_Left);
        QTest::keyClick(form->Command1, Qt::Key_Down);
        QVERIFY(form->Command1->hasFocus());
    }

    void disablingTheWindowReleasesEveryKey() {
        QTest::keyPress(form->Command1, Qt::Key_Left);
        QCOMPARE(form->PollKeyboard().Move, 1);
        form->SetMainWindowEnabled(false);
        QCOMPARE(form->PollKeyboard().Move, 0);
        QTest::keyPress(form->Command1, Qt::Key_Right);  // ignored while disabled
        QCOMPARE(form->PollKeyboard().Move, 0);
        form->SetMainWindowEnabled(true);
        QTest::keyPress(form->Command1, Qt::Key_Left);
        QEvent deactivate(QEvent::WindowDeactivate);
        QApplication::sendEvent(form.get(), &deactivate);
        QCOMPARE(form->PollKeyboard().Move, 0);
    }

    void aHeldKeyRepeatsEverySixthTick() {
        click();
        game().FallDelay = 1000;  // keep gravity out of the way
        game().FallCounter = 0;
        QTest::keyPress(form->Command1, Qt::Key_Right);
        QList<int> moves;
        int lastX = game().ActivePiece.X;
        for (int tick = 0; tick < 13; ++tick) {
            game().GameTick();
            if (game().ActivePiece.X != lastX) moves << tick;
            lastX = game().ActivePiece.X;
        }
        QCOMPARE(moves, (QList<int>{0, 6, 12}));
        QTest::keyRelease(form->Command1, Qt::Key_Right);
    }

    void redrawCopiesTilesAndBackground() {
        click();
        form->PauseRunningGame();
        game().Board(9, 17) = {4, CellSettled};  // bottom-right: red tile
        game().Board(0, 17) = {4, CellEmpty};    // empty with a stale tile
        game().PreviewGrid(3, 3) = {1, CellSettled};
        form->Redraw();
        const QImage& field = form->mainview->Picture();
        const QImage& tiles = form->bloxsrc->Picture();
        for (int dy = 0; dy < 16; ++dy)
            for (int dx = 0; dx < 16; ++dx) {
                QCOMPARE(field.pixel(144 + dx, 272 + dy), tiles.pixel(64 + dx, dy));
                QCOMPARE(field.pixel(dx, 272 + dy), qRgb(0, 0, 0));
            }
        const QImage& preview = form->nextview->Picture();
        QCOMPARE(preview.pixel(96 + 5, 96 + 16), form->nbloxsrc->Picture().pixel(32 + 5, 16));
    }

    void rowsClearedPlayTheLineSound() {
        click();
        FillRows(game(), 17, -1);
        game().PieceFalling = false;
        game().PlayPhase = 1;
        game().GameTick();
        QCOMPARE(waves->played, QStringList{folder->path() + "/line.wav"});
        QCOMPARE(form->scorelabel->text(), QStringLiteral("000100"));
        QCOMPARE(form->lcounter->text(), QStringLiteral("1"));
    }

    void gameOverRunsItsStepsInOrder() {
        click();
        music->words.clear();
        FillRows(game(), 0, 0);  // a spawn at the top now overlaps blocks
        game().PieceFalling = false;
        game().PlayPhase = 0;
        game().Score = 1234;
        game().GameTick();
        QCOMPARE(waves->played, QStringList{folder->path() + "/gameover.wav"});
        QCOMPARE(music->words, (QStringList{"Stop", "Next"}));
        QVERIFY(SamePicture(form->mainview, form->game_over_pic));
        QVERIFY(form->Frame1->isVisible());
        QCOMPARE(form->Caption(), QStringLiteral("START"));
        QVERIFY(!game().GameRunning);
        QVERIFY(!form->TimerRunning());  // START starts it again
        // The prompt came after the caption was back to START and the game stopped.
        QCOMPARE(prompts, QStringList{"START stopped"});
        QCOMPARE(form->Scores().Table().Entry(1).PlayerScore, 1234);

        // Music switched off: the game over still sends Stop and Next.
        form->Menu_Music->trigger();
        click();
        music->words.clear();
        FillRows(game(), 0, 0);
        game().PieceFalling = false;
        game().PlayPhase = 0;
        game().GameTick();
        QCOMPARE(music->words, (QStringList{"Stop", "Next"}));
    }

    void sideWindowsOpenOncePauseAndReleaseTheWindow() {
        click();  // a game runs
        form->Menu_Hiscore->trigger();
        QVERIFY(form->highScoreWindow);
        QPointer<Form3> first = form->highScoreWindow;
        QCOMPARE(form->Caption(), QStringLiteral("PLAY"));
        QVERIFY(!form->isEnabled());
        form->Menu_Hiscore->trigger();  // a second press while open opens nothing
        form->how_to_play->trigger();
        form->Menu_About->trigger();
        QCOMPARE(form->highScoreWindow, first);
        QVERIFY(!form->helpWindow && !form->aboutWindow);
        first->close();
        QVERIFY(form->isEnabled());
        QCOMPARE(form->Caption(), QStringLiteral("PLAY"));  // closing never resumes
        QVERIFY(SamePicture(form->mainview, form->mainpsrc));

        form->how_to_play->trigger();
        QVERIFY(form->helpWindow && form->helpWindow->isVisible());
        QVERIFY(!form->isEnabled());
        form->helpWindow->close();
        QVERIFY(form->isEnabled());

        form->Menu_About->trigger();
        QVERIFY(form->aboutWindow && form->aboutWindow->isVisible());
        QVERIFY(!form->isEnabled());
        form->activateWindow();  // a click on the disabled window
        QTRY_VERIFY(form->aboutWindow->isActiveWindow());
        QTest::keyClick(form->aboutWindow, Qt::Key_Escape);
        QVERIFY(form->isEnabled());
        QCOMPARE(form->Caption(), QStringLiteral("PLAY"));
        QCOMPARE(music->words, (QStringList{"Open", "Play", "Pause"}));
    }

    void sideWindowsBeforeAGameChangeNothing() {
        form->Menu_About->trigger();
        QCOMPARE(form->Caption(), QStringLiteral("START"));
        QVERIFY(form->Frame1->isVisible());
        form->aboutWindow->close();
        QVERIFY(form->isEnabled());
    }

    void quitSavesTheTableAndClosesTheMusic() {
        form->Scores().EnterHighScore(777);  // prompt answers "Ada"
        form->Menu_Quit->trigger();
        QCOMPARE(music->words.last(), QStringLiteral("Close"));
        const auto [name, score] = FirstRecord(folder->path() + "/rushhs.dat");
        QCOMPARE(name, QByteArray("Ada                      "));
        QCOMPARE(score, 777);
    }

    void terminationSignalClosesAndSaves() {
        WatchTerminationSignals([this] { form->close(); });
        form->Scores().EnterHighScore(4321);
        std::raise(SIGTERM);
        QTRY_VERIFY(!form->isVisible());
        QCOMPARE(FirstRecord(folder->path() + "/rushhs.dat").second, 4321);
        QCOMPARE(music->words.last(), QStringLiteral("Close"));
    }

    void aNewGameAfterGameOverStartsClean() {
        click();
        FillRows(game(), 0, 0);
        game().PieceFalling = false;
        game().PlayPhase = 0;
        game().GameTick();
        QCOMPARE(form->Caption(), QStringLiteral("START"));
        click();
        QCOMPARE(form->Caption(), QStringLiteral("PAUSE"));
        QVERIFY(!form->Frame1->isVisible());
        QVERIFY(SamePicture(form->mainview, form->mainsrc));
        QCOMPARE(form->scorelabel->text(), QStringLiteral("000000"));
        int settled = 0;
        for (const stonerush::Cell& cell : game().Board.cells) settled += cell.State == CellSettled;
        QCOMPARE(settled, 0);
        QVERIFY(!game().GameOver);
    }
};

STONERUSH_QTEST_MAIN(Form1Test)
#include "form1_test.moc"
