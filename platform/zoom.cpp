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
    m_items.push_back({widget, What::Geometry, geometry, {}});
    widget->setGeometry(geometry);
}

void ZoomedLayout::fix(QWidget* widget, QSize size) {
    m_items.push_back({widget, What::FixedSize, QRect(QPoint(), size), {}});
    widget->setFixedSize(size);
}

void ZoomedLayout::setFont(QWidget* widget, const QFont& font) {
    m_items.push_back({widget, What::Font, {}, font});
    widget->setFont(font);
}

void ZoomedLayout::setLineWidth(QFrame* frame, int width) {
    m_items.push_back({frame, What::LineWidth, QRect(0, 0, width, 0), {}});
    frame->setLineWidth(width);
}

void ZoomedLayout::apply(Zoom zoom) const {
    for (const Item& item : m_items) {
        switch (item.what) {
            case What::Geometry:
                item.widget->setGeometry(zoom(item.geometry));
                break;
            case What::FixedSize:
                item.widget->setFixedSize(zoom(item.geometry.size()));
                break;
            case What::Font:
                item.widget->setFont(zoom(item.font));
                break;
            case What::LineWidth:
                static_cast<QFrame*>(item.widget)->setLineWidth(zoom(item.geometry.width()));
                break;
        }
    }
}

}  // namespace stonerush
