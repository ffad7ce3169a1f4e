// Stonerush starts at its splash picture; dismissing it brings up the main
// window, whose construction runs the start-up.
#include <QApplication>
#include <QIcon>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "mainwindow/form1.h"
#include "platform/app_dir.h"
#include "platform/app_info.h"
#include "platform/display.h"
#include "platform/sound/fluid_music.h"
#include "platform/sound/qt_sound_effects.h"
#include "platform/termination_signals.h"
#include "scores/score_keeper.h"
#include "windows/splash_window.h"

// --help and --version answer on the terminal and end the program before any
// window (or X display) is needed.
static bool AnsweredOnTerminal(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("%s %d.%d.%d\n%s\n", app_info::Title, app_info::VersionMajor, app_info::VersionMinor,
                        app_info::VersionRevision, app_info::LegalNotice);
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

int main(int argc, char** argv) {
    if (AnsweredOnTerminal(argc, argv)) return 0;
    if (const std::string missing = stonerush::missingDisplay(); !missing.empty()) {
        std::fprintf(stderr, "stonerush: %s; run it from a graphical session\n", missing.c_str());
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("stonerush"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/assets/program_icon.png")));
    // The splash closes before the main window exists; only closing the main
    // window ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    // Sound comes up only when the main window does: the splash shows first.
    std::unique_ptr<stonerush::QtSoundEffects> waves;
    std::unique_ptr<stonerush::FluidMusic> music;
    std::unique_ptr<Form1> form1;
    bool ending = false;

    auto* splash = new frmSplash([&] {
        if (form1) return;
        waves = std::make_unique<stonerush::QtSoundEffects>();
        music = std::make_unique<stonerush::FluidMusic>();
        form1 = std::make_unique<Form1>(Form1Services{*music, *waves, ApplicationDirectory()});
        if (!ending) form1->show();  // a signal came during the start-up message
    });
    splash->show();

    // A signal closes the main window as its close box does, so the table is
    // saved, and nothing waits for a person any more. A name being typed is
    // taken as it stands and an open message is closed: the prompt returns,
    // the entry goes into the table and is saved, and only then does the
    // window close. Quitting also ends any message of the start-up at once.
    WatchTerminationSignals([&] {
        ending = true;
        if (!form1)
            QCoreApplication::quit();
        else if (form1->Scores().stopAsking())
            QTimer::singleShot(0, form1.get(), [&] { form1->close(); });
        else
            form1->close();
    });

    const int status = app.exec();
    form1.reset();
    return status;
}
