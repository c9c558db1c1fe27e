#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The about box: program icon, name, version and where to report problems. It has no
// behaviour of its own; OK closes it.
class AboutBox : public QDialog {
    Q_OBJECT

public:
    explicit AboutBox(QWidget* parent = nullptr);

    QLabel* icon;
    QLabel* productName;
    QLabel* version;
    QLabel* credit;
    QLabel* contact;
    QPushButton* okButton;
};
