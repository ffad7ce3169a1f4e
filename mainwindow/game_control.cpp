// The START/PAUSE button and the options.
#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

#include "mainwindow/form1.h"
#include "platform/picture_box.h"
#include "platform/sound/music.h"

namespace {
constexpr int TickMilliseconds = 30;
}

void Form1::Command1_Click() {
    // The caption is the game's state: "START", "PAUSE" (running) or "PLAY" (paused).
    const QString caption = Command1->text();
    if (caption == QLatin1String("START"))
        StartNewGame();
    else if (caption == QLatin1String("PAUSE"))
        PauseGame();
    else
        ResumeGame();
}

void Form1::StartNewGame() {
    game.SpeedLevel = static_cast<int16_t>(HScroll1->value());
    game.InitNewGame();
    if (MusicOn()) music.play();
    ShowPictures(*mainsrc, *nextsrc);
    SetTimerInterval(TickMilliseconds);
    Command1->setText(QStringLiteral("PAUSE"));
    Frame1->hide();
}

void Form1::PauseGame() {
    game.GameRunning = false;
    ShowPictures(*mainpsrc, *nextpsrc);
    SetTimerInterval(0);
    if (MusicOn()) music.pause();
    Command1->setText(QStringLiteral("PLAY"));
}

void Form1::ResumeGame() {
    // Backgrounds only; the next tick draws the board and the preview again.
    ShowPictures(*mainsrc, *nextsrc);
    game.GameRunning = true;
    SetTimerInterval(TickMilliseconds);
    if (MusicOn()) music.resume();
    Command1->setText(QStringLiteral("PAUSE"));
}

void Form1::PauseRunningGame() {
    if (Command1->text() == QLatin1String("PAUSE")) PauseGame();
}

void Form1::ShowPictures(const PictureBox& playfield, const PictureBox& preview) {
    mainview->SetPicture(playfield);
    nextview->SetPicture(preview);
}

void Form1::SetTimerInterval(int milliseconds) {
    // An interval of 0 stops the timer.
    if (milliseconds == 0) {
        Timer1.stop();
    } else if (!Timer1.isActive() || Timer1.interval() != milliseconds) {
        Timer1.start(milliseconds);
    }
}

bool Form1::MusicOn() const {
    return Menu_Music->isChecked();
}

void Form1::HScroll1_Change(int value) {
    speed_select->setText(QString::number(value));
}

void Form1::Menu_Sound_Click(bool checked) {
    game.SoundOn = checked;
}

void Form1::Menu_Music_Click(bool checked) {
    // The check mark has already moved. While a game runs the music follows at
    // once; otherwise the next START or resume takes it up.
    if (Command1->text() != QLatin1String("PAUSE")) return;
    if (checked)
        music.play();
    else
        music.pause();
}
