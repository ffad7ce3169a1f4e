#include "platform/picture_box.h"

#include <QPainter>
#include <atomic>
#include <cmath>
#include <cstring>

namespace {
constexpr int BorderWidth = 2;
std::atomic<uint64_t> nextPictureId{1};
}  // namespace

PictureBox::PictureBox(const QImage& image, QWidget* parent)
    : QFrame(parent), picture(image.convertToFormat(QImage::Format_RGB32)), pictureId(nextPictureId++) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(BorderWidth);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(sizeHint());
}

void PictureBox::SetPicture(const QImage& image) {
    // Copy into the pixels we already own: a shared copy would be detached
    // (allocated) by the next BitBlt on the following tick.
    if (image.size() == picture.size() && image.format() == QImage::Format_RGB32 &&
        image.bytesPerLine() == picture.bytesPerLine()) {
        std::memcpy(picture.bits(), image.constBits(), static_cast<size_t>(picture.sizeInBytes()));
    } else {
        picture = image.convertToFormat(QImage::Format_RGB32);
    }
    changed = QRect();
    pictureId = nextPictureId++;
    update();
}

void PictureBox::Refresh() {
    if (changed.isEmpty()) return;
    const qreal ratio = devicePixelRatioF();
    if (std::abs(ratio - std::round(ratio)) < 1e-6)
        update(changed.translated(contentsRect().topLeft()));
    else
        update();  // centred and scaled: repaint it all
    changed = QRect();
}

QSize PictureBox::sizeHint() const {
    return picture.size() + QSize(2 * BorderWidth, 2 * BorderWidth);
}

void PictureBox::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);  // the border
    QPainter painter(this);
    const QRect inside = contentsRect();
    // Pixel art scales by a whole number of device pixels, never blurred:
    // on a 1.5x screen it is drawn 1:1 and centred rather than smeared.
    const qreal ratio = devicePixelRatioF();
    const int factor = std::max(1, static_cast<int>(std::floor(ratio + 1e-6)));
    if (std::abs(ratio - factor) < 1e-6) {
        painter.drawImage(inside.topLeft(), picture);
        return;
    }
    painter.fillRect(inside, Qt::black);
    painter.save();
    painter.scale(1.0 / ratio, 1.0 / ratio);
    const QSize scaled = picture.size() * factor;
    const QPoint origin(std::lround(inside.x() * ratio + (inside.width() * ratio - scaled.width()) / 2),
                        std::lround(inside.y() * ratio + (inside.height() * ratio - scaled.height()) / 2));
    painter.drawImage(QRect(origin, scaled), picture);
    painter.restore();
}
