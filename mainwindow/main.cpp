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
struct Parts {
    stonerush::QtSoundEffects effects;
    stonerush::FluidMusic music;
    stonerush::ScoreKeeper scores;
    std::unique_ptr<stonerush::GameSession> session;
    std::unique_ptr<stonerush::MainWindow> window;
};

}  // namespace

int main(int argc, char** argv) {
    using namespace stonerush;
    if (answeredOnTerminal(argc, argv)) return 0;
    if (const std::string missing = missingDisplay(); !missing.empty()) {
        std::fprintf(stderr, "stonerush: %s; run it from a graphical session\n", missing.c_str());
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("stonerush"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/assets/program_icon.png")));
    // The splash closes before the main window exists; only closing the main
    // window ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    std::unique_ptr<Parts> parts;
    bool ending = false;
    const Zoom zoom = MainWindow::startingZoom();
    auto* splash = new SplashWindow(
        [&] {
            if (parts) return;
            const QString folder = applicationDirectory();
            parts = std::make_unique<Parts>();
            parts->scores.startUp(folder);
            if (ending) return;  // a signal came during a message about the score file
            parts->session = std::make_unique<GameSession>(parts->music, parts->effects, folder);
            parts->window = std::make_unique<MainWindow>(*parts->session, parts->scores, folder, zoom);
            parts->scores.setMessageParent(parts->window.get());
            parts->window->show();
        },
        zoom);
    splash->show();

    // A signal closes the main window as its close box does, so the table is
    // saved, and nothing waits for a person any more. A name being typed is
    // taken as it stands and an open message is closed: the prompt returns,
    // the entry goes into the table and is saved, and only then does the
    // window close. Quitting also ends a message at start-up at once.
    watchTerminationSignals([&] {
        ending = true;
        if (!parts || !parts->window)
            QCoreApplication::quit();
        else if (parts->scores.stopAsking())
            QTimer::singleShot(0, parts->window.get(), [&] { parts->window->close(); });
        else
            parts->window->close();
    });

    const int status = app.exec();
    parts.reset();
    return status;
}
