#include "app/client_area.h"

#include "app/main_window.h"

#include <QPainter>
#include <QWheelEvent>

ClientArea::ClientArea(MainWindow& form) : QWidget(&form), form_(form) {
    setObjectName(QStringLiteral("clientArea"));
    // Without a picture the client area keeps the window's background.
    setAutoFillBackground(true);
}

void ClientArea::paintEvent(QPaintEvent*) {
    QPainter canvas(this);
    form_.paintClientArea(canvas);
}

void ClientArea::wheelEvent(QWheelEvent* event) {
    const int notches = event->angleDelta().y() / QWheelEvent::DefaultDeltasPerStep;
    if (!(event->modifiers() & Qt::ControlModifier) || notches == 0) {
        event->ignore();
        return;
    }
    event->accept();
    form_.zoomBy(notches);
}
