// Stonerush starts at its splash picture; dismissing it brings up the game:
// the sound, the high-score table, the game session and the main window.
#include <QApplication>
#include <QIcon>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "mainwindow/game_session.h"
#include "mainwindow/main_window.h"
#include "platform/app_dir.h"
#include "platform/app_info.h"
#include "platform/display.h"
#include "platform/sound/fluid_music.h"
#include "platform/sound/qt_sound_effects.h"
#include "platform/termination_signals.h"
#include "scores/score_keeper.h"
#include "windows/splash_window.h"

namespace {

// --help and --version answer on the terminal and end the program before any
// window (or X display) is needed.
bool answeredOnTerminal(int argc, char** argv) {
    using namespace stonerush;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("%s %d.%d.%d\n%s\n", appinfo::title, appinfo::versionMajor, appinfo::versionMinor,
                        appinfo::versionRevision, appinfo::legalNotice);
            return true;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::printf(
                "Usage: stonerush [--help | --version]\n"
                "A falling-block puzzle game: steer the falling pieces into full rows.\n\n"
                "Left, Right  move the piece          Up or A  turn it clockwise\n"
                "Down         push it down a row      D        turn it anticlockwise\n"
                "F1 how to play, F2 about, F3 quit, F4 high scores,\n"
                "Ctrl+S sound effects on/off, Ctrl+M music on/off,\n"
                "Ctrl++ zoom in, Ctrl+- zoom out, Ctrl+0 actual size.\n\n"
                "More, and where the high scores are kept: man 6 stonerush\n");
            return true;
        }
    }
    return false;
}

// Everything the game is made of, brought up when the splash goes: the
// sound, the high-score table (which may first tell of a problem with its
// file), the game session and the main window.
class Program {
public:
    void bringUp(const QString& folder, stonerush::Zoom zoom) {
        using namespace stonerush;
        if (m_scores) return;
        m_effects = std::make_unique<QtSoundEffects>();
        m_music = std::make_unique<FluidMusic>();
        m_scores = std::make_unique<ScoreKeeper>();
        m_scores->startUp(folder);
        if (m_ending) return;  // a signal came during a message about the score file
        m_session = std::make_unique<GameSession>(*m_music, *m_effects, folder);
        m_window = std::make_unique<MainWindow>(*m_session, *m_scores, folder, zoom);
        m_scores->setMessageParent(m_window.get());
        m_window->show();
    }

    // A signal closes the main window as its close box does, so the table is
    // saved, and nothing waits for a person any more. A name being typed is
    // taken as it stands and an open message is closed: the prompt returns,
    // the entry goes into the table and is saved, and only then does the
    // window close. Quitting also ends a message at start-up at once.
    void end() {
        m_ending = true;
        if (!m_window)
            QCoreApplication::quit();
        else if (m_scores->stopAsking())
            QTimer::singleShot(0, m_window.get(), [this] { m_window->close(); });
        else
            m_window->close();
    }

private:
    // Destroyed in the reverse order: the window before what it shows.
    std::unique_ptr<stonerush::QtSoundEffects> m_effects;
    std::unique_ptr<stonerush::FluidMusic> m_music;
    std::unique_ptr<stonerush::ScoreKeeper> m_scores;
    std::unique_ptr<stonerush::GameSession> m_session;
    std::unique_ptr<stonerush::MainWindow> m_window;
    bool m_ending = false;
};

}  // namespace

int main(int argc, char** argv) {
    using namespace stonerush;
    if (answeredOnTerminal(argc, argv)) return 0;
    if (const std::string missing = prepareDisplay(); !missing.empty()) {
        std::fprintf(stderr, "stonerush: %s; run it from a graphical session\n", missing.c_str());
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("stonerush"));
    // On Wayland the windows carry this name, and the desktop finds its entry by it.
    QApplication::setDesktopFileName(QString::fromLatin1(appinfo::desktopEntry));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/assets/program_icon.png")));
    // The splash closes before the main window exists; only closing the main
    // window ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    Program program;
    const Zoom zoom = MainWindow::startingZoom();
    auto* splash = new SplashWindow([&] { program.bringUp(applicationDirectory(), zoom); }, zoom);
    splash->show();
    watchTerminationSignals([&] { program.end(); });
    return app.exec();
}
