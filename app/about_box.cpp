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

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("aboutBox"));
    setWindowTitle(QStringLiteral("About Tessarin"));
    setFixedSize(kClientSize);
    const QPixmap image = tessarin::programIcon();
    setWindowIcon(QIcon(image));

    icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("icon"));
    icon->setPixmap(image);
    icon->setGeometry(QRect(kIconAt, image.size()));
    productName = addLabel(this, "productName", QStringLiteral("Tessarin"), kProductNameAt);
    version = addLabel(this, "version",
                       QStringLiteral("Version ") + QLatin1String(TESSARIN_VERSION), kVersionAt);
    credit = addLabel(this, "credit", QStringLiteral("The Tessarin developers"), kCreditAt);
    contact =
        addLabel(this, "contact", QStringLiteral("Report problems on the project's issue tracker"),
                 kContactAt);

    okButton = new QPushButton(QStringLiteral("&OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setGeometry(kOkButton);
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
}
