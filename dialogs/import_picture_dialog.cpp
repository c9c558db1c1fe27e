#include "dialogs/import_picture_dialog.h"

#include "convert/error_heat_map.h"
#include "convert/eye_error.h"
#include "dialogs/picture_image.h"
#include "vdp/rgb.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QSpinBox>
#include <QVBoxLayout>
#include <utility>
#include <vector>

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

// The heat map's legend: its ramp from no error to the top, the two ends named.
QWidget* heatLegend(QWidget* parent) {
    constexpr int kWidth = 160;
    constexpr int kHeight = 12;
    tessarin::Picture ramp;
    ramp.resize(kWidth, kHeight);
    std::ranges::fill(ramp.pixels(), tessarin::RgbTriple{0, 0, 0});
    std::vector<float> error;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            error.push_back(tessarin::kHeatMapTop * static_cast<float>(x) / (kWidth - 1));
        }
    }
    auto* legend = new QWidget(parent);
    legend->setObjectName(QStringLiteral("legend_"));
    auto* strip = new QLabel(legend);
    strip->setPixmap(QPixmap::fromImage(tessarin::imageOf(tessarin::errorHeatMap(ramp, error))));
    auto* layout = new QHBoxLayout(legend);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("Error seen from a distance: 0"), legend));
    layout->addWidget(strip);
    layout->addWidget(new QLabel(
        QStringLiteral("%1 and more").arg(static_cast<double>(tessarin::kHeatMapTop)), legend));
    layout->addStretch();
    return legend;
}

} // namespace

ImportPictureDialog::ImportPictureDialog(const tessarin::SourceImage& source, QWidget* parent)
    : QDialog(parent), source_(source),
      screenBox_(choiceBox(this, "screenBox_",
                           {QStringLiteral("Screen 2"), QStringLiteral("Screen 5"),
                            QStringLiteral("Screen 7"), QStringLiteral("Screen 8"),
                            QStringLiteral("Screen 12"), QStringLiteral("Screen 3"),
                            QStringLiteral("Screen 4"), QStringLiteral("Screen 6"),
                            QStringLiteral("Screen 10"), QStringLiteral("Screen 11")})),
      fitBox_(choiceBox(
          this, "fitBox_",
          {QStringLiteral("Contain"), QStringLiteral("Cover"), QStringLiteral("Stretch")})),
      ditherBox_(choiceBox(this, "ditherBox_",
                           // In Dither's order: the index is the choice.
                           {QStringLiteral("None"), QStringLiteral("Diffuse"),
                            QStringLiteral("Ordered"), QStringLiteral("Eye")})),
      interlaceBox_(new QCheckBox(QStringLiteral("&Interlace (twice the lines)"), this)),
      showErrorBox_(new QCheckBox(QStringLiteral("Show the &error"), this)),
      spritesBox_(new QSpinBox(this)), previewLabel_(new QLabel(this)), legend_(heatLegend(this)),
      errorLabel_(new QLabel(this)) {
    setWindowTitle(QStringLiteral("Import Picture"));
    showErrorBox_->setObjectName(QStringLiteral("showErrorBox_"));
    interlaceBox_->setObjectName(QStringLiteral("interlaceBox_"));
    previewLabel_->setObjectName(QStringLiteral("previewLabel_"));
    errorLabel_->setObjectName(QStringLiteral("errorLabel_"));
    screenBox_->setCurrentIndex(static_cast<int>(MsxScreen::sc5));
    ditherBox_->setCurrentIndex(static_cast<int>(Dither::eye));
    spritesBox_->setObjectName(QStringLiteral("spritesBox_"));
    spritesBox_->setRange(0, tessarin::kMostScreen2Sprites);
    spritesBox_->setEnabled(false);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Mode:"), screenBox_);
    form->addRow(QStringLiteral("&Fit:"), fitBox_);
    form->addRow(QStringLiteral("&Dither:"), ditherBox_);
    form->addRow(QStringLiteral("&Sprites (screen 2):"), spritesBox_);
    form->addRow(interlaceBox_);
    form->addRow(showErrorBox_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(previewLabel_);
    layout->addWidget(legend_);
    layout->addWidget(errorLabel_);
    layout->addWidget(buttons);
    for (QComboBox* box : {screenBox_, fitBox_, ditherBox_}) {
        connect(box, &QComboBox::currentIndexChanged, this, &ImportPictureDialog::preview);
    }
    connect(interlaceBox_, &QCheckBox::toggled, this, &ImportPictureDialog::preview);
    connect(showErrorBox_, &QCheckBox::toggled, this, &ImportPictureDialog::showPreview);
    connect(spritesBox_, &QSpinBox::valueChanged, this, &ImportPictureDialog::preview);
    preview();
}

MsxScreen ImportPictureDialog::screen() const {
    return static_cast<MsxScreen>(screenBox_->currentIndex());
}

bool ImportPictureDialog::placesSprites() const {
    return screen() == MsxScreen::sc2 && spritesBox_->value() > 0;
}

bool ImportPictureDialog::interlaced() const {
    return tessarin::takesInterlace(screen()) && interlaceBox_->isChecked();
}

void ImportPictureDialog::preview() {
    tessarin::MsxChoices choices;
    choices.fit = static_cast<FitMode>(fitBox_->currentIndex());
    choices.dither = static_cast<Dither>(ditherBox_->currentIndex());
    spritesBox_->setEnabled(screen() == MsxScreen::sc2);
    choices.sprites = placesSprites() ? spritesBox_->value() : 0;
    interlaceBox_->setEnabled(tessarin::takesInterlace(screen()));
    choices.interlace = interlaced();
    encoding_ = tessarin::encodeMsx(source_, screen(), choices);
    auto [error, map] = tessarin::colourErrorAndMap(encoding_.fitted, encoding_.preview);
    errorMap_ = std::move(map);
    showPreview();
    errorLabel_->setText(
        QStringLiteral("Colour difference: %1 pixel by pixel, %2 seen from a distance")
            .arg(error.pixel, 0, 'f', 2)
            .arg(error.blurred, 0, 'f', 2));
}

void ImportPictureDialog::showPreview() {
    const bool heat = showErrorBox_->isChecked();
    const QImage shown = tessarin::imageOf(
        heat ? tessarin::errorHeatMap(encoding_.preview, errorMap_) : encoding_.preview);
    // Shown at 512 pixels a line and 2 rows a line (one interlaced): a 256-pixel line's
    // pixels twice.
    const int width = shown.width() == tessarin::kWideWidth ? shown.width() : 2 * shown.width();
    const int rows = interlaced() ? shown.height() : 2 * shown.height();
    previewLabel_->setPixmap(QPixmap::fromImage(shown.scaled(width, rows)));
    legend_->setVisible(heat);
}
