// Stonerush starts at its splash picture; dismissing it brings up the main
// window, whose construction runs the start-up.
#include <QApplication>
#include <QIcon>
#include <QTimer>
#include <memory>

#include "mainwindow/form1.h"
#include "platform/app_dir.h"
#include "platform/prompt.h"
#include "platform/sound/fluid_music_control.h"
#include "platform/sound/qt_wave_player.h"
#include "platform/termination_signals.h"
#include "windows/splash_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("stonerush"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/assets/program_icon.png")));
    // The splash closes before the main window exists; only closing the main
    // window ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    // Sound comes up only when the main window does: the splash shows first.
    std::unique_ptr<QtWavePlayer> waves;
    std::unique_ptr<FluidMusicControl> music;
    std::unique_ptr<Form1> form1;

    auto* splash = new frmSplash([&] {
        if (form1) return;
        waves = std::make_unique<QtWavePlayer>();
        music = std::make_unique<FluidMusicControl>();
        form1 = std::make_unique<Form1>(Form1Services{*music, *waves, ApplicationDirectory()});
        form1->show();
    });
    splash->show();

    // A signal closes the main window as its close box does, so the table is
    // saved. A name being typed is taken as it stands: the prompt returns, the
    // entry goes into the table and is saved, and only then does the window close.
    WatchTerminationSignals([&] {
        if (!form1)
            QCoreApplication::quit();
        else if (AcceptOpenPrompt())
            QTimer::singleShot(0, form1.get(), [&] { form1->close(); });
        else
            form1->close();
    });

    const int status = app.exec();
    form1.reset();
    return status;
}
