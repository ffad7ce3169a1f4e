// Draws every picture of the game into the assets folder. Run by hand when a
// picture changes; its output is committed, the build never runs it.
//   QT_QPA_PLATFORM=offscreen make_pictures <assets folder>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>

#include "tools/pictures/icons.h"
#include "tools/pictures/scenes.h"
#include "tools/pictures/splash.h"
#include "tools/pictures/tiles.h"

namespace {

bool Save(const QImage& image, const QString& folder, const QString& name, int quality = -1) {
    const QString path = folder + "/" + name;
    QDir().mkpath(QFileInfo(path).path());
    if (image.save(path, nullptr, quality)) return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <assets folder>\n", argv[0]);
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    bool ok = true;
    ok &= Save(pictures::MakeTileStrip(16), out, "tiles_16.png");
    ok &= Save(pictures::MakeTileStrip(32), out, "tiles_32.png");
    ok &= Save(pictures::MakeIdleField(), out, "playfield_paused.png");
    ok &= Save(pictures::MakePausedPreview(), out, "preview_paused.png");
    ok &= Save(pictures::MakeGameOver(), out, "playfield_game_over.png");
    ok &= Save(pictures::MakeProgramIcon(), out, "program_icon.png");
    for (int size : {16, 32, 48}) {
        ok &= Save(pictures::MakeHelpIcon(size), out, QStringLiteral("help_icon_%1.png").arg(size));
    }
    ok &= Save(pictures::MakeSplash(), out, "splash.jpg", 85);
    // Desktop menu icons, installed beside the program rather than compiled in.
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString name = QStringLiteral("icons/hicolor/%1x%1/apps/stonerush.png").arg(size);
        ok &= Save(pictures::MakeAppIcon(size), out, name);
    }
    return ok ? 0 : 1;
}
