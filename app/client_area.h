#pragma once

#include <QWidget>

class MainWindow;

// The canvas of the main window's client area, inside its PictureScroller: its paints go
// to the window's paintClientArea, which places the picture in it (Qt repaints after a
// resize), and Ctrl with the wheel zooms; the wheel alone and the mouse's buttons pass to
// the scroller.
class ClientArea : public QWidget {
    Q_OBJECT

public:
    explicit ClientArea(MainWindow& form);

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    MainWindow& form_;
};
