// A grid view shows a tile where a cell holds a block and black where it is
// empty, or a whole picture; a change repaints the cells that changed only.
#include <QPaintEvent>
#include <QPainter>
#include <QTest>

#include "render/grid_view.h"
#include "support/offscreen_main.h"

using namespace stonerush;

namespace {

constexpr int cell = 4;
using Small = Grid<3, 2>;

// Six tiles of one colour each, then pictures of one colour.
QImage tiles() {
    QImage image(6 * cell, cell, QImage::Format_RGB32);
    for (int t = 0; t < 6; ++t)
        QPainter(&image).fillRect(t * cell, 0, cell, cell, QColor::fromHsv(t * 60, 255, 255));
    return image;
}

// Each cell's middle as the view draws it, row after row: the tile's number,
// '.' black, 'g' grey.
QString shown(GridView& view) {
    const QImage image = view.grab().toImage();
    QString cells;
    for (int i = 0; i < Small::width * Small::height; ++i) {
        const QPoint middle(i % Small::width * cell + 2, i / Small::width * cell + 2);
        const QColor colour = image.pixelColor(view.contentsRect().topLeft() + middle);
        cells += colour == Qt::black ? '.' : colour == Qt::gray ? 'g' : QChar('0' + colour.hue() / 60);
    }
    return cells;
}

// Collects the regions the view is asked to paint.
struct PaintSpy : QObject {
    QRegion painted;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

}  // namespace

class GridViewTest : public QObject {
    Q_OBJECT
private slots:
    void showsTilesBlackAndPictures() {
        GridView view(Small::width, Small::height, tiles());
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        Small grid;
        grid.at(0, 0) = {Tile::Cyan, CellState::Falling};
        grid.at(2, 1) = {Tile::Yellow, CellState::Settled};
        grid.at(1, 1) = {Tile::Red, CellState::Empty};  // an old tile: not drawn
        view.showGrid(grid);
        QCOMPARE(shown(view), "1....5");
        // A change repaints only the cells that look different.
        QCoreApplication::processEvents();
        PaintSpy spy;
        view.installEventFilter(&spy);
        grid.at(0, 0).state = CellState::Settled;  // looks the same
        grid.at(1, 0) = {Tile::Blue, CellState::Settled};
        view.showGrid(grid);
        QTRY_VERIFY(!spy.painted.isEmpty());
        QCOMPARE(spy.painted,
                 QRegion(QRect(view.contentsRect().topLeft() + QPoint(cell, 0), QSize(cell, cell))));
        QImage grey(3 * cell, 2 * cell, QImage::Format_RGB32);
        grey.fill(Qt::gray);
        view.showPicture(grey);
        QCOMPARE(shown(view), "gggggg");
        view.showGrid(grid);  // the same cells as before the picture, all of them back
        QCOMPARE(shown(view), "10...5");
        view.showBackground();
        QCOMPARE(shown(view), "......");
        // Zoomed, each pixel of a picture or a tile becomes a block of pixels, never a blur.
        for (const bool picture : {true, false}) {
            if (picture) view.showPicture(tiles().copy(0, 0, 3 * cell, 2 * cell).mirrored(true, false));
            if (!picture) view.showGrid(grid);
            const QImage actual = view.grab(view.contentsRect()).toImage();
            view.setZoom(Zoom(3));
            QCOMPARE(view.grab(view.contentsRect()).toImage(), Zoom(3)(actual));
            view.setZoom(Zoom(1));
        }
    }
};

STONERUSH_QTEST_MAIN(GridViewTest)
#include "grid_view_test.moc"
