// Checks the pictures as the game loads them from its resources: the sizes
// the windows are laid out for, the black play backgrounds the drawing copies
// from, and the tile strips whose order and shading the game depends on.
#include <QImage>
#include <QImageReader>
#include <QSet>
#include <QtTest>
#include <cmath>

#include "tests/support/offscreen_main.h"
#include "tools/pictures/tiles.h"

namespace {

QImage Load(const QString& name) {
    QImage image(QStringLiteral(":/assets/") + name);
    if (image.isNull()) qWarning("cannot load %s", qPrintable(name));
    return image;
}

enum class Facet { kLeft, kRight, kTop, kBottom };

// Mean colour of one facet of tile `tile` in a strip, taken well inside the
// facet: clear of the rim and of the diagonal lines.
QColor FacetMean(const QImage& strip, int tile, Facet facet) {
    const int size = strip.height();
    const int margin = size / 8;
    double r = 0, g = 0, b = 0;
    int count = 0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const int u = 2 * x + 1 - size, v = 2 * y + 1 - size;
            if (std::abs(std::abs(u) - std::abs(v)) < 6) continue;  // near a diagonal
            if (x < margin || y < margin || x >= size - margin || y >= size - margin) continue;
            const bool horizontal = std::abs(u) > std::abs(v);
            const Facet here =
                horizontal ? (u < 0 ? Facet::kLeft : Facet::kRight) : (v < 0 ? Facet::kTop : Facet::kBottom);
            if (here != facet) continue;
            const QColor c = strip.pixelColor(tile * size + x, y);
            r += c.red(), g += c.green(), b += c.blue();
            ++count;
        }
    }
    if (count == 0) return {};
    return QColor(int(r / count), int(g / count), int(b / count));
}

double Brightness(const QColor& c) {
    return 0.299 * c.red() + 0.587 * c.green() + 0.114 * c.blue();
}

// The named hue a colour is closest to: 0 red, 60 yellow, 120 green, 180
// cyan, 240 blue, 300 magenta.
int NearestNamedHue(const QColor& c) {
    const int hue = c.hsvHue();
    int best = 0;
    for (int named = 0; named < 360; named += 60) {
        const int d = std::min(std::abs(hue - named), 360 - std::abs(hue - named));
        const int bestD = std::min(std::abs(hue - best), 360 - std::abs(hue - best));
        if (d < bestD) best = named;
    }
    return best;
}

bool AllBlack(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xffffff) != 0) return false;
    return true;
}

int DistinctColours(const QImage& image) {
    QSet<QRgb> seen;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) seen.insert(image.pixel(x, y));
    return static_cast<int>(seen.size());
}

}  // namespace

class AssetsTest : public QObject {
    Q_OBJECT

private slots:
    void everyPictureLoadsAtItsSize_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size");
        QTest::newRow("bloxsrc") << "bloxsrc.png" << QSize(96, 16);
        QTest::newRow("nbloxsrc") << "nbloxsrc.png" << QSize(192, 32);
        QTest::newRow("mainsrc") << "mainsrc.png" << QSize(160, 288);
        QTest::newRow("nextsrc") << "nextsrc.png" << QSize(128, 128);
        QTest::newRow("mainpsrc") << "mainpsrc.png" << QSize(160, 288);
        QTest::newRow("nextpsrc") << "nextpsrc.png" << QSize(128, 128);
        QTest::newRow("game_over_pic") << "game_over_pic.png" << QSize(160, 288);
        QTest::newRow("program_icon") << "program_icon.png" << QSize(32, 32);
        QTest::newRow("help_icon_16") << "help_icon_16.png" << QSize(16, 16);
        QTest::newRow("help_icon_32") << "help_icon_32.png" << QSize(32, 32);
        QTest::newRow("help_icon_48") << "help_icon_48.png" << QSize(48, 48);
        QTest::newRow("splash") << "splash.jpg" << QSize(300, 300);
    }
    void everyPictureLoadsAtItsSize() {
        QFETCH(QString, name);
        QFETCH(QSize, size);
        QCOMPARE(Load(name).size(), size);
    }

    void playfieldPicturesAreOpaque() {
        for (const char* name : {"bloxsrc.png", "nbloxsrc.png", "mainsrc.png", "nextsrc.png", "mainpsrc.png",
                                 "nextpsrc.png", "game_over_pic.png"}) {
            QVERIFY2(!Load(name).hasAlphaChannel(), name);
        }
    }

    void playBackgroundsAreAllBlack() {
        QVERIFY(AllBlack(Load("mainsrc.png")));
        QVERIFY(AllBlack(Load("nextsrc.png")));
    }

    // Guards against a generator run that lost its font or painter and
    // produced blank or identical pictures.
    void pausedAndGameOverPicturesAreDrawn() {
        const QImage idle = Load("mainpsrc.png"), over = Load("game_over_pic.png");
        const QImage preview = Load("nextpsrc.png"), splash = Load("splash.jpg");
        for (const QImage& image : {idle, over, preview, splash}) QVERIFY(DistinctColours(image) > 40);
        QVERIFY(idle != over);
    }

    void tilesHaveBrightSidesAndDarkTopAndBottom_data() {
        QTest::addColumn<QString>("strip");
        QTest::newRow("16 px") << "bloxsrc.png";
        QTest::newRow("32 px") << "nbloxsrc.png";
    }
    void tilesHaveBrightSidesAndDarkTopAndBottom() {
        QFETCH(QString, strip);
        const QImage image = Load(strip);
        for (int tile = 0; tile < 6; ++tile) {
            const double left = Brightness(FacetMean(image, tile, Facet::kLeft));
            const double right = Brightness(FacetMean(image, tile, Facet::kRight));
            const double darkest_side = std::min(left, right);
            const double top = Brightness(FacetMean(image, tile, Facet::kTop));
            const double bottom = Brightness(FacetMean(image, tile, Facet::kBottom));
            QVERIFY2(darkest_side > 1.15 * std::max(top, bottom), qPrintable(QString::number(tile)));
        }
    }

    void tilesFollowBlueCyanGreenMagentaRedYellow_data() { tilesHaveBrightSidesAndDarkTopAndBottom_data(); }
    void tilesFollowBlueCyanGreenMagentaRedYellow() {
        QFETCH(QString, strip);
        const QImage image = Load(strip);
        const int expected[] = {240, 180, 120, 300, 0, 60};
        for (int tile = 0; tile < 6; ++tile) {
            for (Facet facet : {Facet::kLeft, Facet::kRight, Facet::kTop, Facet::kBottom}) {
                QCOMPARE(NearestNamedHue(FacetMean(image, tile, facet)), expected[tile]);
            }
        }
    }

    // The diagonal lines are lighter than every facet they cross.
    void tilesHaveLightDiagonals() {
        for (const char* name : {"bloxsrc.png", "nbloxsrc.png"}) {
            const QImage image = Load(name);
            const int size = image.height();
            for (int tile = 0; tile < 6; ++tile) {
                const double left = Brightness(FacetMean(image, tile, Facet::kLeft));
                for (int i = size / 4; i < size * 3 / 4; ++i) {
                    QVERIFY(Brightness(image.pixelColor(tile * size + i, i)) > left);
                    QVERIFY(Brightness(image.pixelColor(tile * size + size - 1 - i, i)) > left);
                }
            }
        }
    }

    // The committed strips are exactly what the generator draws today, so a
    // change to the tile art cannot be left half-done.
    void committedTilesMatchTheGenerator() {
        QCOMPARE(Load("bloxsrc.png").convertToFormat(QImage::Format_RGB888), pictures::MakeTileStrip(16));
        QCOMPARE(Load("nbloxsrc.png").convertToFormat(QImage::Format_RGB888), pictures::MakeTileStrip(32));
    }

    void programIconUsesAtMostSixteenVgaColours() {
        static const QSet<QRgb> vga = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                       0x008080, 0xc0c0c0, 0x808080, 0xff0000, 0x00ff00, 0xffff00,
                                       0x0000ff, 0xff00ff, 0x00ffff, 0xffffff};
        const QImage icon = Load("program_icon.png").convertToFormat(QImage::Format_ARGB32);
        QSet<QRgb> used;
        for (int y = 0; y < icon.height(); ++y) {
            for (int x = 0; x < icon.width(); ++x) {
                const QRgb pixel = icon.pixel(x, y);
                if (qAlpha(pixel) == 0) continue;
                QCOMPARE(qAlpha(pixel), 255);
                used.insert(pixel & 0xffffff);
            }
        }
        QVERIFY(used.size() <= 16);
        QVERIFY(used.size() >= 4);
        for (QRgb colour : used) QVERIFY2(vga.contains(colour), qPrintable(QString::number(colour, 16)));
    }

    void helpIconIsNotTheProgramIcon() {
        const QImage help = Load("help_icon_32.png").convertToFormat(QImage::Format_ARGB32);
        const QImage program = Load("program_icon.png").convertToFormat(QImage::Format_ARGB32);
        QVERIFY(help != program);
    }

    void splashIsAColourJpeg() {
        QImageReader reader(QStringLiteral(":/assets/splash.jpg"));
        QCOMPARE(reader.format(), QByteArray("jpeg"));
        QVERIFY(!Load("splash.jpg").isGrayscale());
    }

    // Installed beside the program for the desktop menu, not compiled in.
    void desktopIconsExistAtEverySize() {
        for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
            const QString path =
                QStringLiteral(STONERUSH_ASSETS_DIR "/icons/hicolor/%1x%1/apps/stonerush.png").arg(size);
            const QImage icon(path);
            QVERIFY2(!icon.isNull(), qPrintable(path));
            QCOMPARE(icon.size(), QSize(size, size));
            QVERIFY(icon.hasAlphaChannel());
        }
    }
};

STONERUSH_QTEST_MAIN(AssetsTest)
#include "assets_test.moc"
