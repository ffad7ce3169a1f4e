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

namespace stonerush {
namespace {

bool save(const QImage& image, const QString& folder, const QString& name, int quality = -1) {
    const QString path = folder + "/" + name;
    QDir().mkpath(QFileInfo(path).path());
    if (image.save(path, nullptr, quality)) return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

}  // namespace
}  // namespace stonerush

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <assets folder>\n", argv[0]);
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    using namespace stonerush;
    bool ok = true;
    ok &= save(pictures::makeTileStrip(16), out, "tiles_16.png");
    ok &= save(pictures::makeTileStrip(32), out, "tiles_32.png");
    ok &= save(pictures::makeIdleField(), out, "playfield_paused.png");
    ok &= save(pictures::makePausedPreview(), out, "preview_paused.png");
    ok &= save(pictures::makeGameOver(), out, "playfield_game_over.png");
    ok &= save(pictures::makeProgramIcon(), out, "program_icon.png");
    for (int size : {16, 32, 48}) {
        ok &= save(pictures::makeHelpIcon(size), out, QStringLiteral("help_icon_%1.png").arg(size));
    }
    ok &= save(pictures::makeSplash(), out, "splash.jpg", 85);
    // Desktop menu icons, installed beside the program rather than compiled in.
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString name = QStringLiteral("icons/hicolor/%1x%1/apps/stonerush.png").arg(size);
        ok &= save(pictures::makeAppIcon(size), out, name);
    }
    return ok ? 0 : 1;
}
