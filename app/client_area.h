#pragma once

#include <QWidget>

class MainWindow;

// The client area of the main window, below its menu bar: its paints go to the window's
// paintClientArea, which places the picture in it (Qt repaints after a resize), and
// Ctrl with the wheel zooms.
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
