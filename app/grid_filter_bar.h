#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class ThumbnailGrid;

// The thumbnail grid's filter field, over the grid, hidden until asked for: typing filters
// the grid as the text changes (ThumbnailGrid::setFilter), beside it the count shown of all
// ("3 of 120"); Enter opens the first file shown, Escape clears the field, hides it and
// gives the grid the focus back. The field is named gridFilter, the count gridFilterCount.
class GridFilterBar : public QWidget {
    Q_OBJECT

public:
    GridFilterBar(ThumbnailGrid& grid, QWidget* parent = nullptr);

    // Shows the field with the focus in it, its text selected to be typed over.
    void open();
    // Clears the field and the grid's filter and hides the field; the grid takes the focus
    // when the field had it.
    void close();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The count of the rows shown, of all.
    void showCount();

    ThumbnailGrid& grid_;
    QLineEdit* field_;
    QLabel* count_;
};
