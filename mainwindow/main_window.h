// The main window: the playfield, the preview, the counters, the START/PAUSE
// button, the starting-speed slider and the menus. It shows what the game
// session tells it and forwards the player's input to it. Its dialogs (high
// scores, help, About from the menus; the name prompt and messages of the
// high scores) are modal to it: while one is open a running game is paused and
// the window is greyed.
#pragma once

#include <QImage>
#include <QMainWindow>
#include <QString>

#include "engine/board.h"
#include "mainwindow/game_session.h"
#include "mainwindow/high_score_flow.h"
#include "mainwindow/zoom_steps.h"
#include "platform/zoom.h"

class QAction;
class QDialog;
class QFrame;
class QLabel;
class QPushButton;
class QScrollBar;

namespace stonerush {

class GridView;
class HeldKeys;
class PadWatcher;

// Where the game finds its files.
struct GameFolders {
    QString program;   // the program's own: the help page, and the high-score file where it may be
    QString userData;  // the player's data folder: the high-score file where the program's will not do
};

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // Every window opens at the zoom given, which Zoom In, Zoom Out and
    // Actual Size change. The window is not shown yet: see start().
    MainWindow(GameSession& session, const GameFolders& folders, Zoom zoom = Zoom());
    ~MainWindow() override;

    // The step every window opens at: the player's last choice, or at a first
    // start the largest step at which this window takes at most half the
    // screen's available height; never more than the screen holds.
    static Zoom startingZoom();

    // Shows the window, once a message about the high-score file, if there
    // is one to tell, has been read.
    void start();

    // The program ends on a signal: a name being typed is taken as it stands,
    // messages close, the table is saved and the program quits, with nothing
    // waiting for a person.
    void endWithoutAsking();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildControls(QWidget* client);
    void buildCounters(QWidget* client);
    void buildSpeedPanel(QWidget* client);
    void buildMenus();
    void keepChoices();
    void connectSession();

    void showState(SessionState state);
    void showCells(const Board& board, const Preview& preview);
    void showPicture(FieldPicture picture);
    void showScore(int32_t score);
    void setZoom(Zoom zoom);
    void showZoomChoices();
    int largestStep() const;  // the largest zoom step that fits the window's screen
    WindowMeasure measure() const;
    void openHighScores();
    void openHelp();
    void openAbout();
    void openSideWindow(QDialog* window);
    void setBlocked(bool blocked);

    GameSession& m_session;
    HighScoreFlow m_scores;
    QString m_programFolder;
    HeldKeys* m_keys = nullptr;
    PadWatcher* m_pads = nullptr;

    QImage m_playfieldPaused;
    QImage m_previewPaused;
    QImage m_playfieldGameOver;

    GridView* m_playfield = nullptr;
    GridView* m_preview = nullptr;
    QFrame* m_speedPanel = nullptr;
    QLabel* m_startingSpeedValue = nullptr;
    QScrollBar* m_speedSlider = nullptr;
    QPushButton* m_startButton = nullptr;
    QLabel* m_scoreValue = nullptr;
    QLabel* m_speedValue = nullptr;
    QLabel* m_linesValue = nullptr;
    QAction* m_highScoresAction = nullptr;
    QAction* m_quitAction = nullptr;
    QAction* m_soundAction = nullptr;
    QAction* m_musicAction = nullptr;
    QAction* m_howToPlayAction = nullptr;
    QAction* m_aboutAction = nullptr;
    QAction* m_zoomInAction = nullptr;
    QAction* m_zoomOutAction = nullptr;
    QAction* m_actualSizeAction = nullptr;
    ZoomedLayout m_layout;  // every control at its 1x place, size and font
    Zoom m_zoom;
    int m_menuBarAtOne = 0;
};

}  // namespace stonerush
