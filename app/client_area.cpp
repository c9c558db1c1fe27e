#include "app/client_area.h"

#include "app/picture_view.h"

#include <QPainter>
#include <QWheelEvent>

ClientArea::ClientArea(PictureView& view) : QWidget(&view), view_(view) {
    setObjectName(QStringLiteral("clientArea"));
    // Without a picture the client area keeps the window's background.
    setAutoFillBackground(true);
}

void ClientArea::paintEvent(QPaintEvent*) {
    QPainter canvas(this);
    view_.paint(canvas);
}

void ClientArea::wheelEvent(QWheelEvent* event) {
    const int notches = event->angleDelta().y() / QWheelEvent::DefaultDeltasPerStep;
    if (!(event->modifiers() & Qt::ControlModifier) || notches == 0) {
        event->ignore();
        return;
    }
    event->accept();
    emit view_.zoomAsked(notches);
}
