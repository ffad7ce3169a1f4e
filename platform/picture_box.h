// A box that shows one picture, like a picture control: the picture can be
// read, replaced whole, or drawn into with BitBlt.
#pragma once

#include <QFrame>
#include <QImage>

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

    // Asks for a repaint after BitBlt drew into the picture.
    void Refresh() { update(); }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture;
};
