// The main window: the playfield, the preview, the counters, the START/PAUSE
// button, the starting-speed selector and the menus. It owns the game and
// runs it from its timer; the game talks back through GameHost.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <memory>
#include <string_view>

#include "engine/game.h"
#include "platform/random.h"
#include "platform/side_window_host.h"
#include "render/playfield_painter.h"
#include "scores/score_keeper.h"

class QAction;
class QFrame;
class QLabel;
class QPushButton;
class QScrollBar;
class KeyboardState;
class PictureBox;
class Form2;
namespace stonerush {
class HighScoreWindow;
}  // namespace stonerush
class frmAbout;
namespace stonerush {
class Music;
class SoundEffects;
}  // namespace stonerush

// What the main window plays sounds and music with, and where its data files lie.
struct Form1Services {
    stonerush::Music& music;
    stonerush::SoundEffects& waves;
    QString programDirectory;
};

class Form1 : public QMainWindow, public stonerush::GameHost, public SideWindowHost {
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
    stonerush::Game& GameState() { return game; }
    stonerush::ScoreKeeper& Scores() { return scores; }
    KeyboardState& Keyboard() { return *keyboard; }
    QString Caption() const;
    int TimerInterval() const { return Timer1.isActive() ? Timer1.interval() : 0; }

    // GameHost
    stonerush::KeyRequests PollKeyboard() override;
    void PlayWave(std::string_view fileName) override;
    void SetCounterText(stonerush::Counter counter, std::string_view text) override;
    void Redraw() override;
    void ShowGameOver() override;
    void EnterHighScore(int32_t score) override;
    float Random() override { return random.Next(); }

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
    stonerush::Music& music;

    // The side windows, each at most once.
    QPointer<stonerush::HighScoreWindow> highScoreWindow;
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
    bool MusicOn() const;

    // Menu and control handlers.
    void HScroll1_Change(int value);
    void Menu_Sound_Click(bool checked);
    void Menu_Music_Click(bool checked);
    void Menu_Hiscore_Click();
    void how_to_play_Click();
    void Menu_About_Click();

    stonerush::SoundEffects& waves;
    QString programDirectory;
    stonerush::Game game{*this};
    RandomGenerator random;
    PlayfieldPainter painter;
    stonerush::ScoreKeeper scores;
    KeyboardState* keyboard = nullptr;
    bool shutDownDone = false;
};
