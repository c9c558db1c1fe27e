#include "app/picture_scroller.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

PictureScroller::PictureScroller(QWidget* canvas, QWidget* parent) : QScrollArea(parent) {
    setObjectName(QStringLiteral("pictureScroller"));
    // Without a frame the client area is exactly the canvas while the picture fits.
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setWidget(canvas);
    setFocusPolicy(Qt::StrongFocus);
}

// The canvas ignores the mouse's buttons: they reach the viewport, whose events come here.
void PictureScroller::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QScrollArea::mousePressEvent(event);
        return;
    }
    // Screen positions: the canvas moves under the pointer while it drags.
    dragFrom_ = event->globalPosition();
    viewport()->setCursor(Qt::ClosedHandCursor);
    event->accept();
}

void PictureScroller::mouseMoveEvent(QMouseEvent* event) {
    if (!dragFrom_) {
        QScrollArea::mouseMoveEvent(event);
        return;
    }
    const QPointF moved = event->globalPosition() - *dragFrom_;
    dragFrom_ = event->globalPosition();
    // The picture follows the pointer: the view moves the other way.
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() - qRound(moved.x()));
    verticalScrollBar()->setValue(verticalScrollBar()->value() - qRound(moved.y()));
    event->accept();
}

void PictureScroller::mouseReleaseEvent(QMouseEvent* event) {
    if (!dragFrom_ || event->button() != Qt::LeftButton) {
        QScrollArea::mouseReleaseEvent(event);
        return;
    }
    dragFrom_.reset();
    viewport()->unsetCursor();
    event->accept();
}

void PictureScroller::keyPressEvent(QKeyEvent* event) {
    const bool across = event->key() == Qt::Key_Left || event->key() == Qt::Key_Right;
    if (across && event->modifiers() == Qt::NoModifier && horizontalScrollBar()->maximum() == 0) {
        event->ignore(); // the parent's to use
        return;
    }
    QScrollArea::keyPressEvent(event);
}
