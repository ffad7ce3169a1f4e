// Block transfers between pictures: exact copies, clipping at the edges, and
// the record of what actually changed, which decides what gets repainted.
#include <QTest>

#include "platform/bitblt.h"
#include "platform/picture_box.h"
#include "render/playfield_painter.h"
#include "tests/support/offscreen_main.h"

namespace {

QImage Filled(int width, int height, QRgb colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A strip of six 16 x 16 tiles, each a different colour with a marked corner.
QImage TileStrip(int size) {
    QImage strip(6 * size, size, QImage::Format_RGB32);
    for (int t = 0; t < 6; ++t) {
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) strip.setPixel(t * size + x, y, qRgb(40 * t, 255 - 40 * t, x + y));
    }
    return strip;
}

}  // namespace

class BitBltTest : public QObject {
    Q_OBJECT

private slots:
    void copiesARectangleExactly() {
        PictureBox destination(Filled(64, 64, qRgb(0, 0, 0)));
        PictureBox source(TileStrip(16));
        BitBlt(destination, 16, 32, 16, 16, source, 32, 0, SRCCOPY);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                QCOMPARE(destination.Picture().pixel(16 + x, 32 + y), source.Picture().pixel(32 + x, y));
        QCOMPARE(destination.Picture().pixel(15, 32), qRgb(0, 0, 0));
        QCOMPARE(destination.Picture().pixel(32, 32), qRgb(0, 0, 0));
        QCOMPARE(destination.PendingChange(), QRect(16, 32, 16, 16));
    }

    void clipsAtEveryEdgeWithoutTouchingOutside() {
        PictureBox destination(Filled(32, 32, qRgb(1, 2, 3)));
        PictureBox source(Filled(16, 16, qRgb(200, 100, 50)));
        BitBlt(destination, -8, -8, 16, 16, source, 0, 0);  // top-left corner
        BitBlt(destination, 24, 24, 16, 16, source, 0, 0);  // bottom-right corner
        BitBlt(destination, 0, 0, 16, 16, source, 8, 8);    // source runs out
        BitBlt(destination, 100, 100, 16, 16, source, 0, 0);
        QCOMPARE(destination.Picture().pixel(0, 0), qRgb(200, 100, 50));
        QCOMPARE(destination.Picture().pixel(31, 31), qRgb(200, 100, 50));
        QCOMPARE(destination.Picture().pixel(7, 7), qRgb(200, 100, 50));
        QCOMPARE(destination.Picture().pixel(8, 8), qRgb(1, 2, 3));
        QCOMPARE(destination.Picture().pixel(23, 23), qRgb(1, 2, 3));
    }

    void onlyOtherRasterOperationsAreIgnored() {
        PictureBox destination(Filled(16, 16, qRgb(0, 0, 0)));
        PictureBox source(Filled(16, 16, qRgb(9, 9, 9)));
        BitBlt(destination, 0, 0, 16, 16, source, 0, 0, 0x00EE0086 /* SRCPAINT */);
        QCOMPARE(destination.Picture().pixel(0, 0), qRgb(0, 0, 0));
    }

    void paintsAKnownBoardCellByCell() {
        struct NullHost : stonerush::GameHost {
            stonerush::KeyRequests PollKeyboard() override { return {}; }
            void PlayWave(std::string_view) override {}
            void SetCounterText(stonerush::Counter, std::string_view) override {}
            void Redraw() override {}
            void ShowGameOver() override {}
            void EnterHighScore(int32_t) override {}
            float Random() override { return 0; }
        } host;
        stonerush::Game game(host);
        game.Board(9, 17) = {3, stonerush::CellSettled};
        game.Board(4, 0) = {5, stonerush::CellFalling};  // falling and settled look alike
        game.Board(0, 17) = {2, stonerush::CellEmpty};   // a stale tile is not drawn
        game.PreviewGrid(3, 3) = {1, stonerush::CellSettled};
        PictureBox mainview(Filled(160, 288, qRgb(7, 7, 7))), nextview(Filled(128, 128, qRgb(7, 7, 7)));
        PictureBox mainsrc(Filled(160, 288, qRgb(0, 0, 0))), nextsrc(Filled(128, 128, qRgb(0, 0, 0)));
        PictureBox bloxsrc(TileStrip(16)), nbloxsrc(TileStrip(32));
        PlayfieldPainter painter;
        const PlayfieldPictures pictures{mainview, nextview, mainsrc, nextsrc, bloxsrc, nbloxsrc};
        painter.Draw(game, pictures);
        const QImage& field = mainview.Picture();
        QCOMPARE(field.pixel(144 + 3, 272 + 5), bloxsrc.Picture().pixel(48 + 3, 5));
        QCOMPARE(field.pixel(64 + 1, 0 + 2), bloxsrc.Picture().pixel(80 + 1, 2));
        QCOMPARE(field.pixel(0 + 4, 272 + 4), qRgb(0, 0, 0));
        QCOMPARE(field.pixel(80, 150), qRgb(0, 0, 0));  // every cell painted
        QCOMPARE(nextview.Picture().pixel(96 + 20, 96 + 7), nbloxsrc.Picture().pixel(32 + 20, 7));
        QCOMPARE(nextview.Picture().pixel(0, 0), qRgb(0, 0, 0));

        // Only cells whose picture changed are copied: a block that settles
        // looks the same, and so does a stale tile in an empty cell.
        game.Board(4, 0).State = stonerush::CellSettled;
        game.Board(0, 17).Tile = 4;
        game.Board(2, 3) = {1, stonerush::CellSettled};
        mainview.Picture().fill(qRgb(9, 9, 9));  // behind the painter's back
        painter.Draw(game, pictures);
        QCOMPARE(field.pixel(64 + 1, 0 + 2), qRgb(9, 9, 9));
        QCOMPARE(field.pixel(0 + 4, 272 + 4), qRgb(9, 9, 9));
        QCOMPARE(field.pixel(32 + 3, 48 + 5), bloxsrc.Picture().pixel(16 + 3, 5));
        // A picture set whole (pause, game over) is painted over whole.
        mainview.SetPicture(Filled(160, 288, qRgb(7, 7, 7)));
        painter.Draw(game, pictures);
        QCOMPARE(field.pixel(80, 150), qRgb(0, 0, 0));
        QCOMPARE(field.pixel(32 + 3, 48 + 5), bloxsrc.Picture().pixel(16 + 3, 5));
        QCOMPARE(field.pixel(144 + 3, 272 + 5), bloxsrc.Picture().pixel(48 + 3, 5));
    }
};

STONERUSH_QTEST_MAIN(BitBltTest)
#include "bitblt_test.moc"
