#include "platform/bitblt.h"

#include <algorithm>
#include <cstring>

#include "platform/picture_box.h"

void BitBlt(PictureBox& destination, int x, int y, int width, int height, const PictureBox& source, int sx,
            int sy, unsigned long rasterOperation) {
    if (rasterOperation != SRCCOPY) return;
    QImage& to = destination.Picture();
    const QImage& from = source.Picture();
    // Clip the rectangle against both pictures.
    if (x < 0) width += x, sx -= x, x = 0;
    if (y < 0) height += y, sy -= y, y = 0;
    if (sx < 0) width += sx, x -= sx, sx = 0;
    if (sy < 0) height += sy, y -= sy, sy = 0;
    width = std::min({width, to.width() - x, from.width() - sx});
    height = std::min({height, to.height() - y, from.height() - sy});
    if (width <= 0 || height <= 0) return;
    // Both pictures are 32-bit RGB, so each row is one memcpy. Writable
    // pixels are fetched once: every non-const scanLine() call would run the
    // image's detach checks again.
    const size_t rowBytes = static_cast<size_t>(width) * 4;
    const qsizetype toStride = to.bytesPerLine();
    const qsizetype fromStride = from.bytesPerLine();
    uchar* out = to.bits() + y * toStride + x * 4;
    const uchar* in = from.constBits() + sy * fromStride + sx * 4;
    for (int row = 0; row < height; ++row, out += toStride, in += fromStride) std::memcpy(out, in, rowBytes);
    destination.MarkChanged(QRect(x, y, width, height));
}
