// Block transfers land where they should, clipped at the edges; the painter
// copies only the cells that changed, and all of them into a new picture.
#include <QPainter>

#include "platform/bitblt.h"
#include "platform/picture_box.h"
#include "render/playfield_painter.h"
#include "tests/support/offscreen_main.h"

namespace {
constexpr QRgb kBlack = 0xff000000, kGrey = 0xff808080;

// One colour, or every pixel different so that a copy from the wrong place shows.
QImage Pattern(int width, int height, QRgb fill = 0) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(fill);
    for (int i = 0; !fill && i < width * height; ++i) image.setPixel(i % width, i / width, kBlack + i);
    return image;
}

QImage Copy(QImage image, QRect to, const QImage& source, QPoint from) {
    if (!to.isEmpty()) QPainter(&image).drawImage(to.topLeft(), source, QRect(from, to.size()));
    return image;
}
}  // namespace

class BitBltTest : public QObject {
    Q_OBJECT
private slots:
    void blockTransfer_data() {
        QTest::addColumn<QRect>("to");
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QRect>("landed");
        QTest::newRow("off the top left") << QRect(-8, -4, 16, 16) << QPoint(0, 0) << QRect(0, 0, 8, 12);
        QTest::newRow("off the bottom right") << QRect(56, 60, 16, 16) << QPoint(0, 0) << QRect(56, 60, 8, 4);
        QTest::newRow("source runs out") << QRect(0, 0, 16, 16) << QPoint(40, 30) << QRect(0, 0, 8, 10);
        QTest::newRow("source before") << QRect(10, 10, 16, 16) << QPoint(-3, -5) << QRect(13, 15, 13, 11);
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

    void painter() {
        using stonerush::CellState, stonerush::Tile;
        stonerush::Board board;
        stonerush::Preview preview;
        board.at(4, 0) = {Tile::Yellow, CellState::Falling};
        const QImage grey = Pattern(160, 288, kGrey), black = Pattern(160, 288, kBlack);
        PictureBox mainview(black), nextview(black);
        const PictureBox background(black), blox(Pattern(96, 16)), nblox(Pattern(192, 32));
        const PlayfieldPictures pictures{mainview, nextview, background, background, blox, nblox};
        PlayfieldPainter painter;
        painter.Draw(board, preview, pictures);
        // A tick fills one cell of each grid; a block settling or a stale tile changing is
        // no change. Only what is copied covers the grey, in views as large as the field.
        board.at(4, 0).state = CellState::Settled;
        board.at(0, 17).tile = Tile::Red;
        board.at(2, 3) = {Tile::Cyan, CellState::Settled};
        preview.at(0, 1) = {Tile::Green, CellState::Settled};
        for (PictureBox* view : {&mainview, &nextview}) view->Picture().fill(kGrey);
        painter.Draw(board, preview, pictures);
        const QRect cell(32, 48, 16, 16), bigCell(0, 32, 32, 32);
        QCOMPARE(mainview.Picture(), Copy(grey, cell, blox.Picture(), {16, 0}));
        QCOMPARE(nextview.Picture(), Copy(grey, bigCell, nblox.Picture(), {64, 0}));
        // Game over (as pause and resume) replaces a view's picture whole.
        mainview.SetPicture(grey);
        painter.Draw(board, preview, pictures);
        const QImage field = Copy(black, {64, 0, 16, 16}, blox.Picture(), {80, 0});
        QCOMPARE(mainview.Picture(), Copy(field, cell, blox.Picture(), {16, 0}));
        QCOMPARE(nextview.Picture(), Copy(grey, bigCell, nblox.Picture(), {64, 0}));  // the preview kept
    }
};

STONERUSH_QTEST_MAIN(BitBltTest)
#include "bitblt_test.moc"
