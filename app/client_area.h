#pragma once

#include <QWidget>

class TfrmMainForm;

// The client area of the main window, below its menu bar: its paints and resizes go to
// the form's FormPaint and FormResize.
class TClientArea : public QWidget {
    Q_OBJECT

public:
    explicit TClientArea(TfrmMainForm& form);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    TfrmMainForm& form_;
};
