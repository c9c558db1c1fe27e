#pragma once

#include <QWidget>

class MainWindow;

// The client area of the main window, below its menu bar: its paints go to the window's
// paintClientArea, which stretches the picture over it (Qt repaints after a resize).
class ClientArea : public QWidget {
    Q_OBJECT

public:
    explicit ClientArea(MainWindow& form);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    MainWindow& form_;
};
