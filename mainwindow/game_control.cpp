// The START/PAUSE button, the options and the music loop.
#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

#include "mainwindow/form1.h"
#include "platform/picture_box.h"
#include "platform/sound/music_control.h"

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
    game = stonerush::Game(HScroll1->value(), random);
    m_running = true;
    showCounters();
    if (MusicOn()) SendMusic("Play");
    ShowPictures(*mainsrc, *nextsrc);
    SetTimerInterval(TickMilliseconds);
    Command1->setText(QStringLiteral("PAUSE"));
    Frame1->hide();
}

void Form1::PauseGame() {
    m_running = false;
    ShowPictures(*mainpsrc, *nextpsrc);
    SetTimerInterval(0);
    if (MusicOn()) SendMusic("Pause");
    Command1->setText(QStringLiteral("PLAY"));
}

void Form1::ResumeGame() {
    // Backgrounds only; the next tick draws the board and the preview again.
    ShowPictures(*mainsrc, *nextsrc);
    m_running = true;
    SetTimerInterval(TickMilliseconds);
    if (MusicOn()) SendMusic("Pause");  // "Pause" is a toggle: it resumes paused music
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

void Form1::SendMusic(std::string_view word) {
    MMControl1.SetCommand(word);
}

void Form1::HScroll1_Change(int value) {
    speed_select->setText(QString::number(value));
}

void Form1::Menu_Sound_Click(bool checked) {
    m_soundOn = checked;
}

void Form1::Menu_Music_Click(bool checked) {
    // The check mark has already moved. While a game runs the music follows at
    // once; otherwise the next START or resume takes it up.
    if (Command1->text() != QLatin1String("PAUSE")) return;
    SendMusic(checked ? "Play" : "Pause");
}

void Form1::MMControl1_Notify() {
    const int32_t length = MMControl1.Length();
    const int32_t position = MMControl1.Position();
    // With nothing loaded both are 0; only a real end starts the music again.
    if (length > 0 && position >= length) {
        SendMusic("Next");
        SendMusic("Play");
    }
}
