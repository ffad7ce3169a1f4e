// The game's windows enlarged by a whole step: 1x as designed, 2x, 3x...
// Every length of a layout is multiplied by the step, a picture is enlarged by
// whole pixels (each pixel an n x n block, never smoothed) and text is drawn
// by the font engine at the larger size.
#pragma once

#include <QFont>
#include <QImage>
#include <QRect>
#include <algorithm>
#include <utility>
#include <variant>
#include <vector>

class QFrame;
class QWidget;

namespace stonerush {

class Zoom {
public:
    constexpr Zoom() = default;
    constexpr explicit Zoom(int step) : m_step(std::max(1, step)) {}

    constexpr int step() const { return m_step; }
    constexpr int operator()(int length) const { return length * m_step; }
    QPoint operator()(QPoint point) const { return point * m_step; }
    QSize operator()(QSize size) const { return size * m_step; }
    QRect operator()(QRect rect) const { return {rect.topLeft() * m_step, rect.size() * m_step}; }
    QFont operator()(QFont font) const;
    QImage operator()(const QImage& picture) const;

    bool operator==(const Zoom&) const = default;

private:
    int m_step = 1;
};

// Widgets placed by the lengths of a 1x layout, and placed again at each zoom.
class ZoomedLayout {
public:
    void place(QWidget* widget, QRect geometry);
    void fix(QWidget* widget, QSize size);
    void setFont(QWidget* widget, const QFont& font);
    void setLineWidth(QFrame* frame, int width);
    void apply(Zoom zoom) const;

private:
    // What was set at 1x: a geometry, a fixed size, a font or a frame's line width.
    using Setting = std::variant<QRect, QSize, QFont, int>;
    std::vector<std::pair<QWidget*, Setting>> m_items;
};

}  // namespace stonerush
