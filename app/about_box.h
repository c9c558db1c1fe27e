#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The about box: program icon, name, version and where to report problems. It has no
// behaviour of its own; OK closes it.
class TdlgAboutBox : public QDialog {
    Q_OBJECT

public:
    explicit TdlgAboutBox(QWidget* parent = nullptr);

    QLabel* ProgramIcon;
    QLabel* lblProductName;
    QLabel* lblVersion;
    QLabel* lblCredit;
    QLabel* lblContact;
    QPushButton* btnOK;
};
