#include "render/grid_view.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace stonerush {

namespace {

constexpr int borderWidth = 2;

bool isWhole(qreal value) {
    return std::abs(value - std::round(value)) < 1e-6;
}

}  // namespace

GridView::GridView(int columns, int rows, const QImage& tiles, QWidget* parent)
    : QFrame(parent),
      m_tiles(tiles.convertToFormat(QImage::Format_RGB32)),
      m_columns(columns),
      m_rows(rows),
      m_cellSize(tiles.height()),
      m_shown(static_cast<size_t>(columns * rows), background) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(borderWidth);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(sizeHint());
}

QSize GridView::sizeHint() const {
    return m_zoom(pictureSize() + QSize(2 * borderWidth, 2 * borderWidth));
}

void GridView::setZoom(Zoom zoom) {
    m_zoom = zoom;
    setLineWidth(zoom(borderWidth));
    setFixedSize(sizeHint());
    update();
}

QRect GridView::cellRect(int index) const {
    const int step = m_zoom(m_cellSize);
    return {contentsRect().topLeft() + QPoint(index % m_columns, index / m_columns) * step,
            QSize(step, step)};
}

void GridView::showCells(std::span<const Cell> cells) {
    if (!m_picture.isNull()) {
        m_picture = QImage();
        update();
    }
    for (size_t i = 0; i < cells.size() && i < m_shown.size(); ++i) {
        const int8_t now = cells[i].isEmpty() ? background : static_cast<int8_t>(cells[i].tile);
        if (now == m_shown[i]) continue;
        m_shown[i] = now;
        update(cellRect(static_cast<int>(i)));
    }
}

void GridView::showBackground() {
    std::fill(m_shown.begin(), m_shown.end(), background);
    m_picture = QImage();
    update();
}

void GridView::showPicture(const QImage& picture) {
    m_picture = picture;
    update();
}

// Pixel art is enlarged by whole device pixels only, never smeared: on a
// screen scaled by 1.5 it is drawn with the next whole number of device
// pixels below (1 at 1x, 3 at 2x), centred on black.
void GridView::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);  // the border
    QPainter painter(this);
    const QRect inside = contentsRect();
    const qreal ratio = devicePixelRatioF() * m_zoom.step();
    QPoint origin = inside.topLeft();
    int unit = m_zoom.step();  // painter pixels per picture pixel
    QRect area = event->rect();
    if (!isWhole(ratio)) {
        painter.fillRect(inside, Qt::black);
        const qreal device = devicePixelRatioF();
        painter.scale(1.0 / device, 1.0 / device);
        unit = std::max(1, static_cast<int>(std::floor(ratio + 1e-6)));
        const QSize drawn = pictureSize() * unit;
        origin = QPoint(std::lround(inside.x() * device + (inside.width() * device - drawn.width()) / 2),
                        std::lround(inside.y() * device + (inside.height() * device - drawn.height()) / 2));
        area = QRect(origin, drawn);
    }
    if (!m_picture.isNull())
        painter.drawImage(QRect(origin, pictureSize() * unit), m_picture);
    else
        paintCells(painter, origin, unit, area);
}

void GridView::paintCells(QPainter& painter, QPoint origin, int unit, const QRect& area) const {
    const int step = m_cellSize * unit;
    const QRect cells = area.translated(-origin);
    const int left = std::max(0, cells.left() / step), right = std::min(m_columns - 1, cells.right() / step);
    const int top = std::max(0, cells.top() / step), bottom = std::min(m_rows - 1, cells.bottom() / step);
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            const QRect target(origin + QPoint(x, y) * step, QSize(step, step));
            const int8_t tile = m_shown[static_cast<size_t>(x + m_columns * y)];
            if (tile == background)
                painter.fillRect(target, Qt::black);
            else
                painter.drawImage(target, m_tiles, QRect(tile * m_cellSize, 0, m_cellSize, m_cellSize));
        }
    }
}

}  // namespace stonerush
