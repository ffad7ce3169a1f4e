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
#include <algorithm>

#include "platform/held_keys.h"
#include "platform/pad_watcher.h"
#include "render/grid_view.h"
#include "scores/high_score_window.h"
#include "scores/score_keeper.h"
#include "windows/about_window.h"
#include "windows/help_window.h"

namespace stonerush {

MainWindow::MainWindow(GameSession& session, ScoreKeeper& scores, const QString& dataFolder, Zoom zoom)
    : m_session(session),
      m_scores(scores),
      m_dataFolder(dataFolder),
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
    m_session.setSteering(
        [keys = m_keys, pads = m_pads] { return (keys->held() | pads->held()).steering(); });
    connect(m_pads, &PadWatcher::startPressed, &m_session, &GameSession::pressStartButton);
    connect(m_pads, &PadWatcher::pulledOut, &m_session, &GameSession::pauseIfRunning);
    connectSession();
}

MainWindow::~MainWindow() {
    m_session.setSteering(nullptr);
    for (QWidget* side : openSideWindows()) delete side;
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
        saveZoomStep(step);
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
    connect(&m_session, &GameSession::gameEnded, this, &MainWindow::enterHighScore);
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

void MainWindow::enterHighScore(int32_t score) {
    m_keys->releaseAll();  // the prompt takes the keys; none may stay held
    m_scores.enterHighScore(score);
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

void MainWindow::pauseRunningGame() {
    m_session.pauseIfRunning();
}

void MainWindow::setMainWindowEnabled(bool enabled) {
    setEnabled(enabled);
    if (!enabled) m_keys->releaseAll();
}

QWidgetList MainWindow::openSideWindows() const {
    QWidgetList open;
    for (QWidget* side : std::initializer_list<QWidget*>{m_highScoreWindow, m_helpWindow, m_aboutWindow})
        if (side) open << side;
    return open;
}

namespace {
// A window that is closing may still wait for its deletion: it counts as gone.
bool isOpen(QWidget* window) {
    return window && window->isVisible();
}
}  // namespace

void MainWindow::openHighScores() {
    if (!isEnabled() || isOpen(m_highScoreWindow)) return;
    m_highScoreWindow = new HighScoreWindow(m_scores, *this, m_zoom);  // shows itself
}

void MainWindow::openHelp() {
    if (!isEnabled()) return;
    if (!isOpen(m_helpWindow))
        m_helpWindow = new HelpWindow(*this, m_dataFolder + QStringLiteral("/help.htm"), m_zoom);
    m_helpWindow->show();
}

void MainWindow::openAbout() {
    if (!isEnabled()) return;
    if (!isOpen(m_aboutWindow)) m_aboutWindow = new AboutWindow(*this, m_zoom);
    m_aboutWindow->show();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!m_closed) {
        m_closed = true;
        m_scores.saveHighScores(/*lastChance=*/true);  // tells the player itself when it fails
        m_session.close();
    }
    event->accept();
    // The program ends with its main window, side windows included.
    for (QWidget* side : openSideWindows()) side->close();
    QCoreApplication::quit();
}

// A click on the disabled window activates the side window that disabled it,
// as its keys (Enter, Escape) are the ones that can act.
void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isActiveWindow()) return;
    showZoomChoices();  // the window is framed by now, and may have moved to another screen
    if (isEnabled()) return;
    for (QWidget* side : openSideWindows())
        if (side->isVisible()) side->activateWindow();
}

}  // namespace stonerush
