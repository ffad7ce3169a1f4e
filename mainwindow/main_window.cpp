#include "mainwindow/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QWindow>
#include <algorithm>

#include "mainwindow/player_choices.h"
#include "platform/held_keys.h"
#include "platform/pad_watcher.h"
#include "render/grid_view.h"
#include "scores/high_score_window.h"
#include "windows/about_window.h"
#include "windows/help_window.h"

namespace stonerush {

MainWindow::MainWindow(GameSession& session, const GameFolders& folders, Zoom zoom)
    : m_session(session),
      m_scores(this, folders.program, folders.userData),
      m_programFolder(folders.program),
      m_playfieldPaused(QStringLiteral(":/assets/playfield_paused.png")),
      m_previewPaused(QStringLiteral(":/assets/preview_paused.png")),
      m_playfieldGameOver(QStringLiteral(":/assets/playfield_game_over.png")) {
    setWindowTitle(QStringLiteral("Stonerush"));
    // A fixed single border: only the close box, no resizing.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    auto* client = new QWidget(this);
    setCentralWidget(client);
    buildControls(client);
    buildMenus();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    m_menuBarAtOne = menuBar()->sizeHint().height();
    setZoom(Zoom(std::min(zoom.step(), largestStep())));

    m_keys = new HeldKeys(this);
    m_pads = new PadWatcher(this);
    // A key and a pad button of the same meaning hold it together.
    m_session.setSteering([keys = m_keys, pads = m_pads] { return steeringOf(keys->held() | pads->held()); });
    connect(m_pads, &PadWatcher::startPressed, &m_session, &GameSession::pressStartButton);
    connect(m_pads, &PadWatcher::pulledOut, &m_session, &GameSession::pauseIfRunning);
    keepChoices();
    connectSession();
}

MainWindow::~MainWindow() {
    m_session.setSteering(nullptr);
}

void MainWindow::start() {
    m_scores.tellStartUpProblems([this] { show(); });
}

void MainWindow::endWithoutAsking() {
    m_scores.stopAsking();
    close();
}

// The switches and the slider start as the player left them, and every
// change is kept for the next start.
void MainWindow::keepChoices() {
    const PlayerChoices kept = PlayerChoices::kept();
    m_soundAction->setChecked(kept.soundOn);
    m_musicAction->setChecked(kept.musicOn);
    m_speedSlider->setValue(kept.startingSpeed);
    m_startingSpeedValue->setText(QString::number(kept.startingSpeed));
    m_session.setSoundOn(kept.soundOn);
    m_session.setMusicOn(kept.musicOn);
    m_session.setStartingSpeed(kept.startingSpeed);
    connect(m_soundAction, &QAction::toggled, this, &PlayerChoices::keepSoundOn);
    connect(m_musicAction, &QAction::toggled, this, &PlayerChoices::keepMusicOn);
    connect(m_speedSlider, &QScrollBar::valueChanged, this, &PlayerChoices::keepStartingSpeed);
}

void MainWindow::connectSession() {
    connect(m_startButton, &QPushButton::clicked, &m_session, &GameSession::pressStartButton);
    connect(m_speedSlider, &QScrollBar::valueChanged, this, [this](int speed) {
        m_startingSpeedValue->setText(QString::number(speed));
        m_session.setStartingSpeed(speed);
    });
    connect(m_soundAction, &QAction::toggled, &m_session, &GameSession::setSoundOn);
    connect(m_musicAction, &QAction::toggled, &m_session, &GameSession::setMusicOn);
    // Quit leaves the game the same way as the close box: the table is saved.
    connect(m_quitAction, &QAction::triggered, this, &QWidget::close);
    connect(m_highScoresAction, &QAction::triggered, this, &MainWindow::openHighScores);
    connect(m_howToPlayAction, &QAction::triggered, this, &MainWindow::openHelp);
    connect(m_aboutAction, &QAction::triggered, this, &MainWindow::openAbout);
    const auto choose = [this](int step) {
        if (step < 1 || step > largestStep()) return;
        setZoom(Zoom(step));
        PlayerChoices::keepZoomStep(step);
    };
    connect(m_zoomInAction, &QAction::triggered, this, [this, choose] { choose(m_zoom.step() + 1); });
    connect(m_zoomOutAction, &QAction::triggered, this, [this, choose] { choose(m_zoom.step() - 1); });
    connect(m_actualSizeAction, &QAction::triggered, this, [choose] { choose(1); });

    connect(&m_session, &GameSession::stateChanged, this, &MainWindow::showState);
    connect(&m_session, &GameSession::cellsChanged, this, &MainWindow::showCells);
    connect(&m_session, &GameSession::pictureShown, this, &MainWindow::showPicture);
    connect(&m_session, &GameSession::scoreChanged, this, &MainWindow::showScore);
    connect(&m_session, &GameSession::linesChanged, this,
            [this](int32_t lines) { m_linesValue->setText(QString::number(lines)); });
    connect(&m_session, &GameSession::speedChanged, this,
            [this](int speed) { m_speedValue->setText(QString::number(speed)); });
    // The name prompt comes only now that the step has returned.
    connect(&m_session, &GameSession::gameEnded, &m_scores, &HighScoreFlow::enterScore);
}

void MainWindow::showState(SessionState state) {
    static constexpr const char* captions[] = {"START", "PAUSE", "PLAY"};
    m_startButton->setText(QLatin1String(captions[static_cast<int>(state)]));
    // The starting-speed panel covers the preview between games.
    m_speedPanel->setVisible(state == SessionState::Ready);
}

void MainWindow::showCells(const Board& board, const Preview& preview) {
    m_playfield->showGrid(board);
    m_preview->showGrid(preview);
}

void MainWindow::showPicture(FieldPicture picture) {
    switch (picture) {
        case FieldPicture::Black:
            m_playfield->showBackground();
            m_preview->showBackground();
            break;
        case FieldPicture::Paused:
            m_playfield->showPicture(m_playfieldPaused);
            m_preview->showPicture(m_previewPaused);
            break;
        case FieldPicture::GameOver:
            m_playfield->showPicture(m_playfieldGameOver);  // the preview lies under the speed panel
            break;
    }
}

void MainWindow::showScore(int32_t score) {
    m_scoreValue->setText(QStringLiteral("%1").arg(score, 6, 10, QLatin1Char('0')));
}

// Every control at its place, size and font at this zoom; the window takes
// its new size at once, and the game goes on as it was.
void MainWindow::setZoom(Zoom zoom) {
    m_zoom = zoom;
    m_playfield->setZoom(zoom);
    m_preview->setZoom(zoom);
    m_layout.apply(zoom);
    m_scores.setZoom(zoom);
    layout()->activate();
    showZoomChoices();
}

// The zoom items are greyed where they cannot act.
void MainWindow::showZoomChoices() {
    const int step = m_zoom.step();
    m_zoomInAction->setEnabled(step < largestStep());
    m_zoomOutAction->setEnabled(step > 1);
    m_actualSizeAction->setEnabled(step != 1);
}

int MainWindow::largestStep() const {
    return largestZoomStep(measure(), screen()->availableGeometry().size());
}

WindowMeasure MainWindow::measure() const {
    const QSize client = centralWidget()->size() / m_zoom.step();
    const QSize frame = isVisible() ? frameGeometry().size() - geometry().size() : unframedFrame;
    return {QSize(client.width(), client.height() + m_menuBarAtOne), frame};
}

void MainWindow::openHighScores() {
    auto* window = new HighScoreWindow(m_scores.table(), m_zoom, this);
    connect(window, &HighScoreWindow::resetClicked, &m_scores, &HighScoreFlow::reset);
    connect(&m_scores, &HighScoreFlow::tableChanged, window, &HighScoreWindow::showTable);
    openSideWindow(window);
    m_scores.refresh();  // another copy may have saved since
}

void MainWindow::openHelp() {
    openSideWindow(new HelpWindow(m_programFolder + QStringLiteral("/help.htm"), m_zoom, this));
}

void MainWindow::openAbout() {
    openSideWindow(new AboutWindow(m_zoom, this));
}

// A side window opens centred on the screen, modal to this window, and is
// deleted when it closes. Only one can be open: this window's menus and keys
// do not act while it is.
void MainWindow::openSideWindow(QDialog* window) {
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setGeometry(
        QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window->size(), screen()->availableGeometry()));
    window->open();
}

// Whenever one of this window's dialogs is open: a running game pauses (it
// goes on only at PLAY), the keys held count as released, and the window is
// greyed (its own dialogs are not part of what is greyed).
bool MainWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowBlocked) setBlocked(true);
    if (event->type() == QEvent::WindowUnblocked) setBlocked(false);
    return QMainWindow::event(event);
}

void MainWindow::setBlocked(bool blocked) {
    if (blocked) {
        m_session.pauseIfRunning();
        m_keys->releaseAll();
    }
    centralWidget()->setEnabled(!blocked);
    menuBar()->setEnabled(!blocked);
}

// Closing saves the table; the program ends once that is done and, where it
// failed, the player has read why.
void MainWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    m_session.close();
    m_scores.saveAtEnd([this] {
        hide();
        QCoreApplication::quit();
    });
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isActiveWindow()) return;
    showZoomChoices();  // the window is framed by now, and may have moved to another screen
    // A click on the window while one of its dialogs is open gives the keys
    // back to the dialog: its Enter and Escape are the ones that can act.
    if (QWindow* dialog = QGuiApplication::modalWindow()) dialog->requestActivate();
}

}  // namespace stonerush
