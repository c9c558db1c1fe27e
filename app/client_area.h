#pragma once

#include <QWidget>

class PictureView;

// The canvas of the main window's client area, inside its PictureView: its paints go to
// the view's paint, which places the picture in it (Qt repaints after a resize), and Ctrl
// with the wheel asks the view for a zoom; the wheel alone and the mouse's buttons pass to
// the view's scrolling.
class ClientArea : public QWidget {
    Q_OBJECT

public:
    explicit ClientArea(PictureView& view);

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    PictureView& view_;
};
