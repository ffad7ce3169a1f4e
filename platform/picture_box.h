// A box that shows one picture, like a picture control: the picture can be
// read, replaced whole, or drawn into with BitBlt.
#pragma once

#include <QFrame>
#include <QImage>
#include <cstdint>

class PictureBox : public QFrame {
    Q_OBJECT
public:
    // A visible box with a sunken 2-pixel border, sized to its picture.
    explicit PictureBox(const QImage& picture, QWidget* parent = nullptr);

    const QImage& Picture() const { return picture; }
    QImage& Picture() { return picture; }

    // Copies the whole picture of another box (or an image) and repaints.
    void SetPicture(const QImage& image);
    void SetPicture(const PictureBox& other) { SetPicture(other.picture); }

    // Changes whenever the picture is replaced whole (never the same for two
    // boxes), so a painter knows its record of what the box shows is void.
    uint64_t PictureId() const { return pictureId; }

    // Notes pixels that BitBlt changed, in picture coordinates.
    void MarkChanged(const QRect& area) { changed |= area; }
    QRect PendingChange() const { return changed; }

    // Asks for a repaint of what BitBlt changed since the last call; most
    // ticks change few pixels, and sending only those to the screen keeps a
    // running game cheap.
    void Refresh();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture;
    QRect changed;
    uint64_t pictureId;
};
