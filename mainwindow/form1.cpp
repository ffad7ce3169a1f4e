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
#include "platform/sound/music.h"
#include "platform/sound/sound_effects.h"
#include "render/playfield_painter.h"
#include "scores/high_score_window.h"
#include "windows/about_window.h"
#include "windows/help_window.h"

Form1::Form1(const Form1Services& services)
    : music(services.music),
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
    connect(&Timer1, &QTimer::timeout, this, [this] { game.GameTick(); });

    StartUp();
}

Form1::~Form1() {
    for (QWidget* side : std::initializer_list<QWidget*>{highScoreWindow, helpWindow, aboutWindow})
        delete side;
}

void Form1::StartUp() {
    random.SeedFromClock();  // once per run: games in one run continue the same sequence
    game.InitShapeTable();
    scores.startUp(programDirectory);
    game.SoundOn = true;
    game.SpeedLevel = 0;
    music.open(programDirectory + QStringLiteral("/rushtune.mid"));
}

void Form1::ShutDown() {
    if (shutDownDone) return;
    shutDownDone = true;
    Timer1.stop();
    scores.saveHighScores(/*lastChance=*/true);  // reports a failure itself
    music.close();
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

// --- GameHost ---------------------------------------------------------------

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

void Form1::PlayWave(std::string_view fileName) {
    waves.play(programDirectory + QLatin1Char('/') +
               QString::fromLatin1(fileName.data(), static_cast<qsizetype>(fileName.size())));
}

void Form1::SetCounterText(stonerush::Counter counter, std::string_view text) {
    QLabel* label = counter == stonerush::Counter::Score   ? scorelabel
                    : counter == stonerush::Counter::Lines ? lcounter
                                                           : speed_show;
    label->setText(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
}

void Form1::Redraw() {
    painter.Draw(game, {*mainview, *nextview, *mainsrc, *nextsrc, *bloxsrc, *nbloxsrc});
}

void Form1::ShowGameOver() {
    // The music goes back to its start whether or not it is switched on.
    music.rewind();
    mainview->SetPicture(*game_over_pic);
    SetTimerInterval(0);  // its ticks would do nothing until START starts it again
    Frame1->show();
    Command1->setText(QStringLiteral("START"));
}

void Form1::EnterHighScore(int32_t score) {
    keyboard->ReleaseAll();  // the prompt takes the keys; none may stay held
    scores.enterHighScore(score);
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
    if (!IsOpen(highScoreWindow))
        highScoreWindow = new stonerush::HighScoreWindow(scores, *this);  // shows itself
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
