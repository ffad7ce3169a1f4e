// A framed view of a grid of cells, the playfield or the next-piece preview:
// a block's tile where a cell holds a block, black where it is empty; or, in
// their place, one whole picture (the title, the paused or game-over picture).
// It keeps what each cell shows and sends only the cells that changed to the
// screen, so a running game repaints a few cells per tick.
#pragma once

#include <QFrame>
#include <QImage>
#include <span>
#include <vector>

#include "engine/board.h"
#include "platform/zoom.h"

namespace stonerush {

class GridView : public QFrame {
    Q_OBJECT
public:
    // tiles: the six block tiles side by side, each cellSize pixels square.
    GridView(int columns, int rows, const QImage& tiles, QWidget* parent = nullptr);

    template <int W, int H>
    void showGrid(const Grid<W, H>& grid) {
        showCells(grid.cells());
    }
    // Every cell, row after row; only the cells that look different are repainted.
    void showCells(std::span<const Cell> cells);
    // Every cell black, until the next showCells().
    void showBackground();
    // A picture the size of the grid, until the next showCells() or showBackground().
    void showPicture(const QImage& picture);
    // Every length times the zoom's step, the border included; the view takes its new size.
    void setZoom(Zoom zoom);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    static constexpr int8_t background = -1;  // in m_shown: no tile

    QSize pictureSize() const { return QSize(m_columns, m_rows) * m_cellSize; }
    QRect cellRect(int index) const;
    void paintCells(QPainter& painter, QPoint origin, int unit, const QRect& area) const;

    QImage m_tiles;
    int m_columns;
    int m_rows;
    int m_cellSize;
    std::vector<int8_t> m_shown;  // per cell: background or the tile's index
    QImage m_picture;             // shown instead of the cells when not null
    Zoom m_zoom;
};

}  // namespace stonerush
