#pragma once

#include <QWidget>

class MainWindow;

// The client area of the main window, below its menu bar: its paints and resizes go to
// the form's paintClientArea and clientAreaResized.
class ClientArea : public QWidget {
    Q_OBJECT

public:
    explicit ClientArea(MainWindow& form);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    MainWindow& form_;
};
