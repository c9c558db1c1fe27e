#include "app/client_area.h"

#include "app/main_form.h"

#include <QPainter>

TClientArea::TClientArea(TfrmMainForm& form) : QWidget(&form), form_(form) {
    setObjectName(QStringLiteral("clientArea"));
    // Without a picture the client area keeps the window's background.
    setAutoFillBackground(true);
}

void TClientArea::paintEvent(QPaintEvent*) {
    QPainter canvas(this);
    form_.FormPaint(canvas);
}

void TClientArea::resizeEvent(QResizeEvent*) {
    form_.FormResize();
}
