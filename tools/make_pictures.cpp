// Draws every picture of the game into the assets folder. Run by hand when a
// picture changes; its output is committed, the build never runs it.
//   QT_QPA_PLATFORM=offscreen make_pictures <assets folder>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>

#include "tools/pictures/scenes.h"
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
    ok &= Save(pictures::MakeTileStrip(16), out, "bloxsrc.png");
    ok &= Save(pictures::MakeTileStrip(32), out, "nbloxsrc.png");
    using pictures::kFieldHeight, pictures::kFieldWidth, pictures::kPreviewSize;
    ok &= Save(pictures::MakeBlack(kFieldWidth, kFieldHeight), out, "mainsrc.png");
    ok &= Save(pictures::MakeBlack(kPreviewSize, kPreviewSize), out, "nextsrc.png");
    ok &= Save(pictures::MakeIdleField(), out, "mainpsrc.png");
    ok &= Save(pictures::MakePausedPreview(), out, "nextpsrc.png");
    ok &= Save(pictures::MakeGameOver(), out, "game_over_pic.png");
    return ok ? 0 : 1;
}
