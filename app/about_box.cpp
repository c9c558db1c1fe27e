#include "app/about_box.h"

#include "app/program_icon.h"

#include <QIcon>
#include <QLabel>
#include <QPushButton>

namespace {

// The box's fixed client size and the places of its controls, in client pixels.
constexpr QSize kClientSize{337, 97};
constexpr QPoint kIconAt{14, 14};
constexpr QPoint kProductNameAt{64, 8};
constexpr QPoint kVersionAt{64, 32};
constexpr QPoint kCreditAt{16, 56};
constexpr QPoint kContactAt{16, 80};
constexpr QRect kOkButton{259, 14, 71, 27};

QLabel* addLabel(QWidget* parent, const char* name, const QString& text, QPoint at) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->move(at);
    label->adjustSize();
    return label;
}

} // namespace

TdlgAboutBox::TdlgAboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("dlgAboutBox"));
    setWindowTitle(QStringLiteral("About Tessarin"));
    setFixedSize(kClientSize);
    const QPixmap icon = tessarin::programIcon();
    setWindowIcon(QIcon(icon));

    ProgramIcon = new QLabel(this);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setPixmap(icon);
    ProgramIcon->setGeometry(QRect(kIconAt, icon.size()));
    lblProductName = addLabel(this, "lblProductName", QStringLiteral("Tessarin"), kProductNameAt);
    lblVersion = addLabel(this, "lblVersion", QStringLiteral("Version 0.32"), kVersionAt);
    lblCredit = addLabel(this, "lblCredit", QStringLiteral("The Tessarin developers"), kCreditAt);
    lblContact =
        addLabel(this, "lblContact",
                 QStringLiteral("Report problems on the project's issue tracker"), kContactAt);

    btnOK = new QPushButton(QStringLiteral("&OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setGeometry(kOkButton);
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
}
