#pragma once

#include "image/picture.h"
#include "view/view_state.h"

#include <QImage>
#include <QPointF>
#include <QScrollArea>
#include <optional>

class ClientArea;

// The main window's client area: the picture it shows, painted on a canvas where the
// ViewState places it, and scrolled when the picture at its zoom is larger than the
// window. Scroll bars appear then; the wheel, the arrow keys and a drag with the left button
// move the picture, Ctrl with the wheel asks for a zoom (zoomAsked). The canvas fills the
// window and, at a zoom, is never smaller than the zoomed picture, which the scroll bars
// then reach. Left and Right, with nothing to scroll across, go on to the window (the next
// file).
class PictureView : public QScrollArea {
    Q_OBJECT

public:
    explicit PictureView(QWidget* parent);

    // From now on holds picture, rendered at viewMode, and paints it when painted (the
    // render of VRAM before the first file is held, not painted); repaints.
    void showPicture(const tessarin::Picture& picture, tessarin::ViewMode viewMode, bool painted);
    // Holds and paints nothing from now on: the window's background shows.
    void clear();
    // Places the picture as view does: at its fit and zoom, at its pixel shape; repaints.
    void setView(const tessarin::ViewState& view);
    // The picture's size at the zoom, which the canvas keeps at least while at a zoom.
    void setZoomedSize(tessarin::ImageSize size);

    // The picture held; empty when none.
    [[nodiscard]] const tessarin::Picture& picture() const { return picture_; }
    // The picture as the image painted; null when none is held.
    [[nodiscard]] const QImage& image() const { return image_; }
    // The canvas's size now: the client area, or the zoomed picture that scrolls in it.
    [[nodiscard]] tessarin::ImageSize canvasSize() const;
    // Where the picture goes in the canvas now.
    [[nodiscard]] tessarin::ViewRect pictureRect() const;
    // Paints the picture where pictureRect puts it, on a dark background, nearest-neighbour
    // at square pixels and smoothly otherwise; nothing unless one is held to be painted.
    void paint(QPainter& canvas) const;

signals:
    // Ctrl with the wheel turned by steps notches (up is positive).
    void zoomAsked(int steps);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The canvas at least the zoomed picture at a zoom, else as small as the window makes it.
    void sizeCanvas();

    ClientArea* canvas_;
    tessarin::Picture picture_;
    QImage image_;
    bool painted_ = false;
    tessarin::ViewMode viewMode_ = tessarin::ViewMode::plain256x212;
    tessarin::ViewState view_;
    tessarin::ImageSize zoomedSize_{0, 0};
    // Where the pointer was at the last step of a drag; nothing between drags.
    std::optional<QPointF> dragFrom_;
};
