#include "platform/zoom.h"

#include <QFrame>
#include <QWidget>

namespace stonerush {

QFont Zoom::operator()(QFont font) const {
    if (font.pixelSize() > 0)
        font.setPixelSize(font.pixelSize() * m_step);
    else
        font.setPointSizeF(font.pointSizeF() * m_step);
    return font;
}

QImage Zoom::operator()(const QImage& picture) const {
    if (m_step == 1) return picture;
    return picture.scaled(picture.size() * m_step, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

void ZoomedLayout::place(QWidget* widget, QRect geometry) {
    m_items.emplace_back(widget, geometry);
    widget->setGeometry(geometry);
}

void ZoomedLayout::fix(QWidget* widget, QSize size) {
    m_items.emplace_back(widget, size);
    widget->setFixedSize(size);
}

void ZoomedLayout::setFont(QWidget* widget, const QFont& font) {
    m_items.emplace_back(widget, font);
    widget->setFont(font);
}

void ZoomedLayout::setLineWidth(QFrame* frame, int width) {
    m_items.emplace_back(frame, width);
    frame->setLineWidth(width);
}

void ZoomedLayout::apply(Zoom zoom) const {
    for (const auto& [widget, setting] : m_items) {
        if (const auto* geometry = std::get_if<QRect>(&setting))
            widget->setGeometry(zoom(*geometry));
        else if (const auto* size = std::get_if<QSize>(&setting))
            widget->setFixedSize(zoom(*size));
        else if (const auto* font = std::get_if<QFont>(&setting))
            widget->setFont(zoom(*font));
        else
            static_cast<QFrame*>(widget)->setLineWidth(zoom(std::get<int>(setting)));
    }
}

}  // namespace stonerush
