#pragma once

#include <QPointF>
#include <QScrollArea>
#include <optional>

// The main window's client area as the user reaches it: the canvas the picture is painted
// on, scrolled when the picture at its zoom is larger than the window. Scroll bars appear
// then; the wheel, the arrow keys and a drag with the left button move the picture. The
// canvas fills the window and is never smaller than its minimum size, which the window sets
// to the zoomed picture (and to nothing when the picture fits or stretches to the window).
// Left and Right, with nothing to scroll across, go on to the window (the next file).
class PictureScroller : public QScrollArea {
    Q_OBJECT

public:
    // Takes canvas as its one widget.
    PictureScroller(QWidget* canvas, QWidget* parent);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Where the pointer was at the last step of a drag; nothing between drags.
    std::optional<QPointF> dragFrom_;
};
