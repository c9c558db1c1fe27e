#pragma once

#include <QDialog>

class QMenuBar;
class QTableWidget;

// Help > Keys: every key of the window in one table, each with what it does. The commands'
// keys are read from the menus' actions as they are when the window is shown, so a new
// command or key shows without a second list to keep; the keys no command carries (the
// scrolling of the picture) come from one table of their own.
class KeysWindow : public QDialog {
    Q_OBJECT

public:
    explicit KeysWindow(QWidget* parent);

    // Fills the table from the menus of bar (the menu's path, the item's caption without its
    // access letter, its keys as the system writes them), then the keys of the picture.
    void listKeys(const QMenuBar& bar);

private:
    QTableWidget* table_;
};
