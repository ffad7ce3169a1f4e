// Block transfers land where they should, clipped at the edges; the painter
// copies only the cells that changed, and paints a picture replaced whole
// (pause, resume, game over) over whole, as a full repaint would.
#include <QPainter>
#include <QTest>

#include "platform/bitblt.h"
#include "platform/picture_box.h"
#include "render/playfield_painter.h"
#include "tests/support/offscreen_main.h"

namespace {

constexpr QRgb kBlack = 0xff000000, kGrey = 0xff808080;

// Every pixel different, so a copy from the wrong place shows; or one colour.
QImage Pattern(int width, int height, QRgb fill = 0) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.setPixel(x, y, fill ? fill : qRgb(x, y, 77));
    return image;
}

// Copies a rectangle of tiles, or a full repaint of a grid: each block's tile, black elsewhere.
QImage Copy(QImage image, QRect to, const QImage& tiles, QPoint from) {
    if (!to.isEmpty()) QPainter(&image).drawImage(to.topLeft(), tiles, QRect(from, to.size()));
    return image;
}
template <typename Grid>
QImage FullRepaint(const Grid& grid, int size, const QImage& tiles) {
    QImage image = Pattern(Grid::Width * size, Grid::Height * size, kBlack);
    for (int y = 0; y < Grid::Height; ++y)
        for (int x = 0; x < Grid::Width; ++x)
            if (grid(x, y).State != stonerush::CellEmpty)
                image =
                    Copy(image, QRect(size * x, size * y, size, size), tiles, {size * grid(x, y).Tile, 0});
    return image;
}

struct NullHost : stonerush::GameHost {
    stonerush::KeyRequests PollKeyboard() override { return {}; }
    void PlayWave(std::string_view) override {}
    void SetCounterText(stonerush::Counter, std::string_view) override {}
    void Redraw() override {}
    void ShowGameOver() override {}
    void EnterHighScore(int32_t) override {}
    float Random() override { return 0; }
};

}  // namespace

class BitBltTest : public QObject {
    Q_OBJECT
private slots:
    void blockTransfer_data() {
        QTest::addColumn<QRect>("to");
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QRect>("landed");
        QTest::newRow("inside") << QRect(16, 8, 16, 16) << QPoint(20, 4) << QRect(16, 8, 16, 16);
        QTest::newRow("off the top left") << QRect(-8, -4, 16, 16) << QPoint(0, 0) << QRect(0, 0, 8, 12);
        QTest::newRow("off the bottom right") << QRect(56, 60, 16, 16) << QPoint(0, 0) << QRect(56, 60, 8, 4);
        QTest::newRow("source runs out") << QRect(0, 0, 16, 16) << QPoint(40, 30) << QRect(0, 0, 8, 10);
        QTest::newRow("source starts before")
            << QRect(10, 10, 16, 16) << QPoint(-3, -5) << QRect(13, 15, 13, 11);
        QTest::newRow("wholly outside") << QRect(64, 0, 16, 16) << QPoint(0, 0) << QRect();
    }
    void blockTransfer() {
        QFETCH(QRect, to);
        QFETCH(QPoint, from);
        QFETCH(QRect, landed);
        PictureBox destination(Pattern(64, 64, kBlack));
        const PictureBox source(Pattern(48, 40));
        BitBlt(destination, to.x(), to.y(), to.width(), to.height(), source, from.x(), from.y());
        QCOMPARE(destination.Picture(), Copy(Pattern(64, 64, kBlack), landed, source.Picture(),
                                             landed.topLeft() + from - to.topLeft()));
        QCOMPARE(destination.PendingChange(), landed);  // what the screen is asked to show again
    }

    void painter_data() {
        QTest::addColumn<bool>("fieldReplaced");
        QTest::addColumn<bool>("previewReplaced");
        QTest::newRow("a tick") << false << false;
        QTest::newRow("game over") << true << false;
        QTest::newRow("pause or resume") << true << true;
    }
    void painter() {
        QFETCH(bool, fieldReplaced);
        QFETCH(bool, previewReplaced);
        NullHost host;
        stonerush::Game game(host);
        game.Board(9, 17) = {3, stonerush::CellSettled};
        game.Board(4, 0) = {5, stonerush::CellFalling};
        game.Board(0, 17) = {2, stonerush::CellEmpty};
        game.PreviewGrid(3, 3) = {1, stonerush::CellSettled};
        PictureBox mainview(Pattern(160, 288)), nextview(Pattern(128, 128));
        const PictureBox mainsrc(Pattern(160, 288, kBlack)), nextsrc(Pattern(128, 128, kBlack));
        const PictureBox bloxsrc(Pattern(96, 16)), nbloxsrc(Pattern(192, 32));
        PlayfieldPainter painter;
        painter.Draw(game, {mainview, nextview, mainsrc, nextsrc, bloxsrc, nbloxsrc});

        // The next tick fills one cell of each grid; a block settling or a stale
        // tile changing is no change. Only what is copied covers the grey.
        game.Board(4, 0).State = stonerush::CellSettled;
        game.Board(0, 17).Tile = 4;
        game.Board(2, 3) = {1, stonerush::CellSettled};
        game.PreviewGrid(0, 1) = {2, stonerush::CellSettled};
        mainview.Picture().fill(kGrey);
        nextview.Picture().fill(kGrey);
        if (fieldReplaced) mainview.SetPicture(Pattern(160, 288));
        if (previewReplaced) nextview.SetPicture(Pattern(128, 128));
        painter.Draw(game, {mainview, nextview, mainsrc, nextsrc, bloxsrc, nbloxsrc});
        const QImage field = FullRepaint(game.Board, 16, bloxsrc.Picture());
        const QImage preview = FullRepaint(game.PreviewGrid, 32, nbloxsrc.Picture());
        const QRect cell(32, 48, 16, 16), bigCell(0, 32, 32, 32);
        QCOMPARE(mainview.Picture(),
                 fieldReplaced ? field : Copy(Pattern(160, 288, kGrey), cell, field, cell.topLeft()));
        QCOMPARE(
            nextview.Picture(),
            previewReplaced ? preview : Copy(Pattern(128, 128, kGrey), bigCell, preview, bigCell.topLeft()));
    }
};

STONERUSH_QTEST_MAIN(BitBltTest)
#include "bitblt_test.moc"
