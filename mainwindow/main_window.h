// The main window: the playfield, the preview, the counters, the START/PAUSE
// button, the starting-speed slider and the menus. It shows what the game
// session tells it and forwards the player's input to it; the side windows
// (high scores, help, About) open from its menus.
#pragma once

#include <QImage>
#include <QMainWindow>
#include <QPointer>
#include <QString>

#include "engine/board.h"
#include "mainwindow/game_session.h"
#include "mainwindow/zoom_steps.h"
#include "platform/zoom.h"
#include "windows/side_window_host.h"

class QAction;
class QFrame;
class QLabel;
class QPushButton;
class QScrollBar;

namespace stonerush {

class AboutWindow;
class GridView;
class HeldKeys;
class HelpWindow;
class HighScoreWindow;
class PadWatcher;
class ScoreKeeper;

class MainWindow : public QMainWindow, public SideWindowHost {
    Q_OBJECT
public:
    // dataFolder holds the help page. Every window opens at the zoom given,
    // which Zoom In, Zoom Out and Actual Size change.
    MainWindow(GameSession& session, ScoreKeeper& scores, const QString& dataFolder, Zoom zoom = Zoom());
    ~MainWindow() override;

    // The step every window opens at: the player's last choice, or at a first
    // start the largest step at which this window takes at most half the
    // screen's available height; never more than the screen holds.
    static Zoom startingZoom();

    // SideWindowHost
    void pauseRunningGame() override;
    void setMainWindowEnabled(bool enabled) override;
    QWidget* mainWindow() override { return this; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildControls(QWidget* client);
    void buildCounters(QWidget* client);
    void buildSpeedPanel(QWidget* client);
    void buildMenus();
    void connectSession();

    void showState(SessionState state);
    void showCells(const Board& board, const Preview& preview);
    void showPicture(FieldPicture picture);
    void showScore(int32_t score);
    void enterHighScore(int32_t score);
    void setZoom(Zoom zoom);
    void showZoomChoices();
    int largestStep() const;  // the largest zoom step that fits the window's screen
    WindowMeasure measure() const;
    void openHighScores();
    void openHelp();
    void openAbout();
    QWidgetList openSideWindows() const;

    GameSession& m_session;
    ScoreKeeper& m_scores;
    QString m_dataFolder;
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

    // Each side window exists at most once.
    QPointer<HighScoreWindow> m_highScoreWindow;
    QPointer<HelpWindow> m_helpWindow;
    QPointer<AboutWindow> m_aboutWindow;
    bool m_closed = false;
};

}  // namespace stonerush
