#include "mainwindow/form1.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QScrollBar>

#include "platform/keyboard_state.h"
#include "platform/picture_box.h"
#include "platform/sound/music_control.h"
#include "platform/sound/wave_player.h"
#include "render/playfield_painter.h"
#include "scores/form3.h"
#include "windows/about_window.h"
#include "windows/help_window.h"

Form1::Form1(const Form1Services& services)
    : MMControl1(services.music),
      waves(services.waves),
      programDirectory(services.programDirectory),
      scores(this) {
    setWindowTitle(QStringLiteral("Stonerush"));
    // A fixed single border: only the close box, no resizing.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    auto* client = new QWidget(this);
    setCentralWidget(client);
    BuildControls(client);
    BuildMenus();
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    keyboard = new KeyboardState(this);
    Timer1.setTimerType(Qt::PreciseTimer);

    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(HScroll1, &QScrollBar::valueChanged, this, &Form1::HScroll1_Change);
    connect(Menu_Sound, &QAction::triggered, this, &Form1::Menu_Sound_Click);
    connect(Menu_Music, &QAction::triggered, this, &Form1::Menu_Music_Click);
    connect(Menu_Hiscore, &QAction::triggered, this, &Form1::Menu_Hiscore_Click);
    connect(how_to_play, &QAction::triggered, this, &Form1::how_to_play_Click);
    connect(Menu_About, &QAction::triggered, this, &Form1::Menu_About_Click);
    // Quit leaves the game the same way as the close box: the table is saved.
    connect(Menu_Quit, &QAction::triggered, this, &QWidget::close);
    connect(&Timer1, &QTimer::timeout, this, &Form1::runTick);
    connect(&MMControl1, &MusicControl::Notify, this, &Form1::MMControl1_Notify);

    StartUp();
}

Form1::~Form1() {
    for (QWidget* side : std::initializer_list<QWidget*>{highScoreWindow, helpWindow, aboutWindow})
        delete side;
}

void Form1::StartUp() {
    scores.StartUp(programDirectory);
    MMControl1.SetNotify(false);
    MMControl1.SetWait(false);
    MMControl1.SetFileName(programDirectory + QStringLiteral("/rushtune.mid"));
    SendMusic("Open");
}

void Form1::ShutDown() {
    if (shutDownDone) return;
    shutDownDone = true;
    Timer1.stop();
    scores.SaveHighScores(/*lastChance=*/true);  // reports a failure itself
    SendMusic("Close");
}

void Form1::closeEvent(QCloseEvent* event) {
    ShutDown();
    event->accept();
    // The program ends with its main window, side windows included.
    for (QWidget* side : std::initializer_list<QWidget*>{highScoreWindow, helpWindow, aboutWindow})
        if (side) side->close();
    QCoreApplication::quit();
}

// A click on the disabled window activates the side window that disabled it,
// as its keys (Enter, Escape) are the ones that can act.
void Form1::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isActiveWindow() || isEnabled()) return;
    for (QWidget* side : std::initializer_list<QWidget*>{highScoreWindow, helpWindow, aboutWindow})
        if (side && side->isVisible()) side->activateWindow();
}

QString Form1::Caption() const {
    return Command1->text();
}

void Form1::SetMainWindowEnabled(bool enabled) {
    setEnabled(enabled);
    if (!enabled) keyboard->ReleaseAll();
}

// --- The game on the timer ----------------------------------------------------

void Form1::runTick() {
    if (!m_running) return;  // paused or over: no input, no drawing
    applyReport(game.step(steering(), random));
}

stonerush::KeyRequests Form1::PollKeyboard() {
    uint8_t keys[256];
    keyboard->GetKeyboardState(keys);
    auto isDown = [&](int code) { return (keys[code] & 0x80) != 0; };
    stonerush::KeyRequests requests;
    // Up beats D beats A; Left beats Right beats Down.
    if (isDown(vk::Up))
        requests.Turn = 2;
    else if (isDown(vk::D))
        requests.Turn = 1;
    else if (isDown(vk::A))
        requests.Turn = 2;
    if (isDown(vk::Left))
        requests.Move = 1;
    else if (isDown(vk::Right))
        requests.Move = 2;
    else if (isDown(vk::Down))
        requests.Move = 3;
    return requests;
}

stonerush::SteerSet Form1::steering() {
    using stonerush::Steer;
    const stonerush::KeyRequests keys = PollKeyboard();
    stonerush::SteerSet held;
    if (keys.Turn != 0) held.add(keys.Turn == 2 ? Steer::TurnClockwise : Steer::TurnAnticlockwise);
    if (keys.Move != 0) held.add(keys.Move == 1 ? Steer::Left : keys.Move == 2 ? Steer::Right : Steer::Down);
    return held;
}

void Form1::applyReport(const stonerush::StepReport& report) {
    using stonerush::Event;
    for (const Event event : report.events()) {
        if (event == Event::ScoreChanged || event == Event::LinesChanged || event == Event::SpeedRaised)
            showCounters();
        else if (event == Event::LineSound || event == Event::QuadSound)
            playWave(event == Event::LineSound ? "line.wav" : "quad.wav");
    }
    // Every tick: a view whose picture was replaced (pause, resume) is drawn whole again.
    Redraw();
    if (report.has(Event::GameOver)) endGame();
}

void Form1::showCounters() {
    // The score always with six digits, "000000" to "999999".
    scorelabel->setText(QStringLiteral("%1").arg(game.score(), 6, 10, QLatin1Char('0')));
    lcounter->setText(QString::number(game.lines()));
    speed_show->setText(QString::number(game.speed()));
}

void Form1::playWave(const char* fileName) {
    if (m_soundOn) waves.Play(programDirectory + QLatin1Char('/') + QLatin1String(fileName));
}

void Form1::Redraw() {
    painter.Draw(game.board(), game.preview(),
                 {*mainview, *nextview, *mainsrc, *nextsrc, *bloxsrc, *nbloxsrc});
}

void Form1::endGame() {
    playWave("gameover.wav");
    // The music goes back to its start whether or not it is switched on.
    SendMusic("Stop");
    SendMusic("Next");
    mainview->SetPicture(*game_over_pic);
    SetTimerInterval(0);  // its ticks would do nothing until START starts it again
    Frame1->show();
    Command1->setText(QStringLiteral("START"));
    m_running = false;
    // The name prompt runs an event loop of its own: it opens once this tick
    // is over, and takes the keys, so none may stay held.
    QMetaObject::invokeMethod(
        this,
        [this, score = game.score()] {
            keyboard->ReleaseAll();
            scores.EnterHighScore(score);
        },
        Qt::QueuedConnection);
}

// --- Side windows -------------------------------------------------------------

namespace {
bool IsOpen(QWidget* window) {
    return window && window->isVisible();
}
}  // namespace

void Form1::Menu_Hiscore_Click() {
    if (!isEnabled()) return;
    // A window that is closing may still wait for its deletion: it counts as gone.
    if (!IsOpen(highScoreWindow)) {
        highScoreWindow = new Form3(scores.Table(), *this);  // shows itself
        connect(highScoreWindow, &Form3::TableReset, this, [this] { scores.SaveHighScores(); });
    }
}

void Form1::how_to_play_Click() {
    if (!isEnabled()) return;
    if (!IsOpen(helpWindow)) helpWindow = new Form2(*this, programDirectory + QStringLiteral("/help.htm"));
    helpWindow->show();
}

void Form1::Menu_About_Click() {
    if (!isEnabled()) return;
    if (!IsOpen(aboutWindow)) aboutWindow = new frmAbout(*this);
    aboutWindow->show();
}
