#include "app/picture_view.h"

#include "app/client_area.h"
#include "dialogs/picture_image.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

namespace {

// Around the picture when the window is larger, or of another shape.
const QColor kLetterboxColour(24, 24, 24);

} // namespace

PictureView::PictureView(QWidget* parent) : QScrollArea(parent), canvas_(new ClientArea(*this)) {
    setObjectName(QStringLiteral("pictureScroller"));
    // Without a frame the client area is exactly the canvas while the picture fits.
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setWidget(canvas_);
    setFocusPolicy(Qt::StrongFocus);
}

void PictureView::showPicture(const tessarin::Picture& picture, tessarin::ViewMode viewMode,
                              bool painted) {
    picture_ = picture;
    image_ = tessarin::imageOf(picture_);
    viewMode_ = viewMode;
    painted_ = painted;
    canvas_->update();
}

void PictureView::clear() {
    picture_ = {};
    image_ = {};
    painted_ = false;
    canvas_->update();
}

void PictureView::setView(const tessarin::ViewState& view) {
    view_ = view;
    sizeCanvas();
    canvas_->update();
}

void PictureView::setZoomedSize(tessarin::ImageSize size) {
    zoomedSize_ = size;
    sizeCanvas();
}

void PictureView::sizeCanvas() {
    canvas_->setMinimumSize(view_.fit() == tessarin::ViewFit::zoom
                                ? QSize(zoomedSize_.width, zoomedSize_.height)
                                : QSize(0, 0));
}

tessarin::ImageSize PictureView::canvasSize() const {
    return {canvas_->width(), canvas_->height()};
}

tessarin::ViewRect PictureView::pictureRect() const {
    return view_.placedIn(viewMode_, {picture_.width(), picture_.height()}, canvasSize());
}

void PictureView::paint(QPainter& canvas) const {
    if (!painted_) {
        return;
    }
    const tessarin::ViewRect place = pictureRect();
    const QRect target(place.x, place.y, place.width, place.height);
    // Only the border: the picture covers the rest.
    canvas.setClipRegion(QRegion(canvas_->rect()).subtracted(target));
    canvas.fillRect(canvas_->rect(), kLetterboxColour);
    canvas.setClipping(false);
    // Whole pixels stay sharp; the TV's pixel shapes blend their columns.
    canvas.setRenderHint(QPainter::SmoothPixmapTransform,
                         view_.pixelAspect() != tessarin::PixelAspect::square);
    canvas.drawImage(target, image_);
}

// The canvas ignores the mouse's buttons: they reach the viewport, whose events come here.
void PictureView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QScrollArea::mousePressEvent(event);
        return;
    }
    // Screen positions: the canvas moves under the pointer while it drags.
    dragFrom_ = event->globalPosition();
    viewport()->setCursor(Qt::ClosedHandCursor);
    event->accept();
}

void PictureView::mouseMoveEvent(QMouseEvent* event) {
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

void PictureView::mouseReleaseEvent(QMouseEvent* event) {
    if (!dragFrom_ || event->button() != Qt::LeftButton) {
        QScrollArea::mouseReleaseEvent(event);
        return;
    }
    dragFrom_.reset();
    viewport()->unsetCursor();
    event->accept();
}

void PictureView::keyPressEvent(QKeyEvent* event) {
    const bool across = event->key() == Qt::Key_Left || event->key() == Qt::Key_Right;
    if (across && event->modifiers() == Qt::NoModifier && horizontalScrollBar()->maximum() == 0) {
        event->ignore(); // the parent's to use
        return;
    }
    QScrollArea::keyPressEvent(event);
}
