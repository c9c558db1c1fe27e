#include "dialogs/import_picture_dialog.h"

#include "dialogs/picture_image.h"
#include "vdp/rgb.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

using tessarin::Dither;
using tessarin::FitMode;
using tessarin::MsxScreen;

QComboBox* choiceBox(QWidget* parent, const char* name, const QStringList& items) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->addItems(items);
    return box;
}

} // namespace

ImportPictureDialog::ImportPictureDialog(const tessarin::SourceImage& source, QWidget* parent)
    : QDialog(parent), source_(source),
      screenBox_(choiceBox(this, "screenBox_",
                           {QStringLiteral("Screen 2"), QStringLiteral("Screen 5"),
                            QStringLiteral("Screen 7"), QStringLiteral("Screen 8"),
                            QStringLiteral("Screen 12")})),
      fitBox_(choiceBox(
          this, "fitBox_",
          {QStringLiteral("Contain"), QStringLiteral("Cover"), QStringLiteral("Stretch")})),
      ditherBox_(choiceBox(
          this, "ditherBox_",
          {QStringLiteral("None"), QStringLiteral("Diffuse"), QStringLiteral("Ordered")})),
      spritesBox_(new QSpinBox(this)), previewLabel_(new QLabel(this)),
      errorLabel_(new QLabel(this)) {
    setWindowTitle(QStringLiteral("Import Picture"));
    previewLabel_->setObjectName(QStringLiteral("previewLabel_"));
    errorLabel_->setObjectName(QStringLiteral("errorLabel_"));
    screenBox_->setCurrentIndex(static_cast<int>(MsxScreen::sc5));
    ditherBox_->setCurrentIndex(static_cast<int>(Dither::diffuse));
    spritesBox_->setObjectName(QStringLiteral("spritesBox_"));
    spritesBox_->setRange(0, tessarin::kMostScreen2Sprites);
    spritesBox_->setEnabled(false);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Mode:"), screenBox_);
    form->addRow(QStringLiteral("&Fit:"), fitBox_);
    form->addRow(QStringLiteral("&Dither:"), ditherBox_);
    form->addRow(QStringLiteral("&Sprites (screen 2):"), spritesBox_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(previewLabel_);
    layout->addWidget(errorLabel_);
    layout->addWidget(buttons);
    for (QComboBox* box : {screenBox_, fitBox_, ditherBox_}) {
        connect(box, &QComboBox::currentIndexChanged, this, &ImportPictureDialog::preview);
    }
    connect(spritesBox_, &QSpinBox::valueChanged, this, &ImportPictureDialog::preview);
    preview();
}

MsxScreen ImportPictureDialog::screen() const {
    return static_cast<MsxScreen>(screenBox_->currentIndex());
}

bool ImportPictureDialog::placesSprites() const {
    return screen() == MsxScreen::sc2 && spritesBox_->value() > 0;
}

void ImportPictureDialog::preview() {
    tessarin::MsxChoices choices;
    choices.fit = static_cast<FitMode>(fitBox_->currentIndex());
    choices.dither = static_cast<Dither>(ditherBox_->currentIndex());
    spritesBox_->setEnabled(screen() == MsxScreen::sc2);
    choices.sprites = placesSprites() ? spritesBox_->value() : 0;
    encoding_ = tessarin::encodeMsx(source_, screen(), choices);
    const QImage shown = tessarin::imageOf(encoding_.preview);
    // Screens of 192 or 212 lines shown 2 lines a line; screen 7's 512 pixels fill the width.
    const int width = shown.width() == tessarin::kWideWidth ? shown.width() : 2 * shown.width();
    previewLabel_->setPixmap(QPixmap::fromImage(shown.scaled(width, 2 * shown.height())));
    const tessarin::ColourErrorFigures error =
        tessarin::colourError(encoding_.fitted, encoding_.preview);
    errorLabel_->setText(QStringLiteral("Colour difference: mean %1, 95th percentile %2")
                             .arg(error.mean, 0, 'f', 2)
                             .arg(error.percentile95, 0, 'f', 2));
}
