// The main window: the playfield, the preview, the counters, the START/PAUSE
// button, the starting-speed selector and the menus. It owns the game and
// steps it from its timer, then shows what the step reports.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <memory>
#include <string_view>

#include "engine/game.h"
#include "engine/random.h"
#include "platform/side_window_host.h"
#include "render/playfield_painter.h"
#include "scores/score_keeper.h"

class QAction;
class QFrame;
class QLabel;
class QPushButton;
class QScrollBar;
class KeyboardState;
class MusicControl;
class PictureBox;
class WavePlayer;
class Form2;
class Form3;
class frmAbout;

namespace stonerush {
// What the keyboard asks for at one poll.
struct KeyRequests {
    int16_t Move = 0;  // 0 none, 1 left, 2 right, 3 down
    int16_t Turn = 0;  // 0 none, 1 turn anticlockwise, 2 turn clockwise
};
}  // namespace stonerush

// What the main window plays sounds and music with, and where its data files lie.
struct Form1Services {
    MusicControl& music;
    WavePlayer& waves;
    QString programDirectory;
};

class Form1 : public QMainWindow, public SideWindowHost {
    Q_OBJECT
public:
    // Building the window is its Load: the controls, then the start-up.
    explicit Form1(const Form1Services& services);
    ~Form1() override;

    // Click on Command1: START, PAUSE or PLAY, chosen by its caption.
    void Command1_Click();

    // SideWindowHost
    void PauseRunningGame() override;
    void SetMainWindowEnabled(bool enabled) override;
    QWidget* MainWindow() override { return this; }

    // The controls and state, reachable for tests.
    const stonerush::Game& GameState() const { return game; }
    bool isGameRunning() const { return m_running; }  // started and not paused
    bool soundOn() const { return m_soundOn; }
    ScoreKeeper& Scores() { return scores; }
    KeyboardState& Keyboard() { return *keyboard; }
    QString Caption() const;
    int TimerInterval() const { return Timer1.isActive() ? Timer1.interval() : 0; }

    // One tick of the timer: a step of the running game, then what it reports.
    void runTick();
    // The keys held down at this moment.
    stonerush::KeyRequests PollKeyboard();
    // Repaints the playfield and the preview from the game's grids.
    void Redraw();

    // The named controls.
    PictureBox* mainview = nullptr;
    PictureBox* nextview = nullptr;
    PictureBox* mainsrc = nullptr;
    PictureBox* mainpsrc = nullptr;
    PictureBox* game_over_pic = nullptr;
    PictureBox* nextsrc = nullptr;
    PictureBox* nextpsrc = nullptr;
    PictureBox* bloxsrc = nullptr;
    PictureBox* nbloxsrc = nullptr;
    QFrame* Frame1 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* speed_select = nullptr;
    QScrollBar* HScroll1 = nullptr;
    QPushButton* Command1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* scorelabel = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* speed_show = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* lcounter = nullptr;
    QAction* Menu_Hiscore = nullptr;
    QAction* Menu_Quit = nullptr;
    QAction* Menu_Sound = nullptr;
    QAction* Menu_Music = nullptr;
    QAction* how_to_play = nullptr;
    QAction* Menu_About = nullptr;
    QTimer Timer1;
    MusicControl& MMControl1;

    // The side windows, each at most once.
    QPointer<Form3> highScoreWindow;
    QPointer<Form2> helpWindow;
    QPointer<frmAbout> aboutWindow;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void BuildControls(QWidget* client);
    void BuildMenus();
    void StartUp();
    void ShutDown();
    void StartNewGame();
    void PauseGame();
    void ResumeGame();
    void ShowPictures(const PictureBox& playfield, const PictureBox& preview);
    void SetTimerInterval(int milliseconds);
    void SendMusic(std::string_view word);
    bool MusicOn() const;
    stonerush::SteerSet steering();
    void applyReport(const stonerush::StepReport& report);
    void showCounters();
    void playWave(const char* fileName);
    void endGame();

    // Menu and control handlers.
    void HScroll1_Change(int value);
    void Menu_Sound_Click(bool checked);
    void Menu_Music_Click(bool checked);
    void Menu_Hiscore_Click();
    void how_to_play_Click();
    void Menu_About_Click();
    void MMControl1_Notify();

    WavePlayer& waves;
    QString programDirectory;
    stonerush::Game game;
    stonerush::SeededRandom random = stonerush::SeededRandom::fromClock();  // games in one run continue it
    PlayfieldPainter painter;
    ScoreKeeper scores;
    KeyboardState* keyboard = nullptr;
    bool shutDownDone = false;
    bool m_running = false;
    bool m_soundOn = true;
};
