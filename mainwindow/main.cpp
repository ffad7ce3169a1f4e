// Stonerush starts at its splash picture; dismissing it brings up the game:
// the sound, the high-score table, the game session and the main window.
#include <QApplication>
#include <QIcon>
#include <QStandardPaths>
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
                "A gamepad: D-pad or left stick to move, south button (A) to turn clockwise,\n"
                "east button (B) anticlockwise, Start for START/PAUSE/PLAY.\n"
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
// sound, the game session and the main window (which reads the high-score
// table, and may first tell of a problem with its file).
class Program {
public:
    void bringUp(const stonerush::GameFolders& folders, stonerush::Zoom zoom) {
        using namespace stonerush;
        if (m_window) return;
        m_effects = std::make_unique<QtSoundEffects>();
        m_music = std::make_unique<FluidMusic>();
        m_session = std::make_unique<GameSession>(*m_music, *m_effects, folders.program);
        m_window = std::make_unique<MainWindow>(*m_session, folders, zoom);
        m_window->start();
    }

    // A signal ends the program as the close box does, so the table is saved,
    // but nothing waits for a person any more.
    void end() {
        if (m_window)
            m_window->endWithoutAsking();
        else
            QCoreApplication::quit();
    }

private:
    // Destroyed in the reverse order: the window before what it shows.
    std::unique_ptr<stonerush::QtSoundEffects> m_effects;
    std::unique_ptr<stonerush::FluidMusic> m_music;
    std::unique_ptr<stonerush::GameSession> m_session;
    std::unique_ptr<stonerush::MainWindow> m_window;
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
    const GameFolders folders{applicationDirectory(),
                              QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)};
    auto* splash = new SplashWindow([&] { program.bringUp(folders, zoom); }, zoom);
    splash->show();
    watchTerminationSignals([&] { program.end(); });
    return app.exec();
}
