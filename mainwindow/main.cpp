// Stonerush starts at its splash picture; dismissing it brings up the game:
// the sound, the high-score table, the game session and the main window.
#include <QApplication>
#include <QIcon>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <memory>

#include "mainwindow/game_session.h"
#include "mainwindow/main_window.h"
#include "platform/app_dir.h"
#include "platform/app_info.h"
#include "platform/sound/fluid_music.h"
#include "platform/sound/qt_sound_effects.h"
#include "platform/termination_signals.h"
#include "scores/name_prompt.h"
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
                "Ctrl+S sound effects on/off, Ctrl+M music on/off.\n\n"
                "More, and where the high scores are kept: man 6 stonerush\n");
            return true;
        }
    }
    return false;
}

// Everything the game is made of, brought up when the splash goes.
struct Game {
    explicit Game(const QString& folder) : session(music, effects, folder), window(session, scores, folder) {}
    stonerush::QtSoundEffects effects;
    stonerush::FluidMusic music;
    stonerush::ScoreKeeper scores;
    stonerush::GameSession session;
    stonerush::MainWindow window;
};

}  // namespace

int main(int argc, char** argv) {
    if (answeredOnTerminal(argc, argv)) return 0;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("stonerush"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/assets/program_icon.png")));
    // The splash closes before the main window exists; only closing the main
    // window ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    std::unique_ptr<Game> game;
    auto* splash = new stonerush::SplashWindow([&] {
        if (game) return;
        game = std::make_unique<Game>(stonerush::applicationDirectory());
        game->window.show();
    });
    splash->show();

    // A signal closes the main window as its close box does, so the table is
    // saved. A name being typed is taken as it stands: the prompt returns, the
    // entry goes into the table and is saved, and only then does the window close.
    stonerush::watchTerminationSignals([&] {
        if (!game)
            QCoreApplication::quit();
        else if (stonerush::acceptOpenPrompt())
            QTimer::singleShot(0, &game->window, [&] { game->window.close(); });
        else
            game->window.close();
    });

    const int status = app.exec();
    game.reset();
    return status;
}
