#include "app/status_text.h"

#include "app/elided_label.h"
#include "catalog/file_source.h"
#include "vdp/screen_modes.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QStatusBar>
#include <string>

namespace tessarin {

namespace {

const QString kLastFileMessage = QStringLiteral("Last file");
const QString kFirstFileMessage = QStringLiteral("First file");
constexpr int kStatusMessageMilliseconds = 3000;
// Long enough to read an error message naming a file.
constexpr int kSkippedMessageMilliseconds = 8000;

// Texts as wide as the elided fields show whole: a name of 8.3 characters and more, the
// longest mode, a layout's and a palette's first words.
const QString kFileSample = QStringLiteral("PICTURE_01.SC5");
const QString kModeSample = QStringLiteral("Screen 12");
const QString kLayoutSample = QStringLiteral("BSAVE 0000-69FF");
const QString kPaletteSample = QStringLiteral("none: direct colours");

// The status bar lets its window be narrower than its fields, which then cut their texts
// off unmarked: it is given their width, with the gaps between them and its size grip, so
// that the window is never narrower (wider than the picture at 1x).
constexpr int kFieldGap = 8;
constexpr int kSizeGripWidth = 20;

// Fields whose whole text always reads: the place, the size, the damage.
QLabel* addField(QStatusBar* bar, const char* name) {
    auto* label = new QLabel(bar);
    label->setObjectName(QLatin1String(name));
    bar->addWidget(label);
    return label;
}

// No stretch: each field asks for its whole text (sizeHint) and gets it while the bar has
// room, the room left over staying after the fields; short of room, the fields whose texts
// run past their samples are cut, as far as they run past.
ElidedLabel* addElidedField(QStatusBar* bar, const char* name, Qt::TextElideMode elide,
                            const QString& sample) {
    auto* label = new ElidedLabel(name, elide, sample, bar);
    bar->addWidget(label);
    return label;
}

// The chip whose colours a model shows.
QString chipOf(ColourModel model) {
    switch (model) {
    case ColourModel::msx1:
        return QStringLiteral("TMS9918");
    case ColourModel::msx2plus:
        return QStringLiteral("V9958");
    case ColourModel::msx2:
    case ColourModel::levels:
        break;
    }
    return QStringLiteral("V9938");
}

QString sizeText(const Picture& picture, ViewFit fit, int zoom) {
    if (picture.empty()) {
        return {};
    }
    const QString size = QStringLiteral("%1x%2").arg(picture.width()).arg(picture.height());
    switch (fit) {
    case ViewFit::zoom:
        return size + QStringLiteral(" at %1x").arg(zoom);
    case ViewFit::window:
        return size + QStringLiteral(" fitted");
    case ViewFit::stretch:
        return size + QStringLiteral(" stretched");
    }
    return size;
}

} // namespace

StatusText::StatusText(QStatusBar* bar)
    : bar_(bar), place_(addField(bar, "statusPlace")),
      file_(addElidedField(bar, "statusFile", Qt::ElideMiddle, kFileSample)),
      mode_(addElidedField(bar, "statusMode", Qt::ElideRight, kModeSample)),
      layout_(addElidedField(bar, "statusLayout", Qt::ElideRight, kLayoutSample)),
      palette_(addElidedField(bar, "statusPalette", Qt::ElideRight, kPaletteSample)),
      size_(addField(bar, "statusSize")), damage_(addField(bar, "statusDamage")) {
    damage_->hide();
}

void StatusText::show(const ScreenDocument& document, ViewFit fit, int zoom) {
    const VdpState& vdp = document.vdp();
    const bool any = document.hasPicture();
    const auto place = document.browsePosition();
    place_->setText(place ? QStringLiteral("%1 / %2").arg(place->first).arg(place->second)
                          : QString());
    file_->setFullText(
        QFileInfo(QFile::decodeName(document.fileName(FileSlot::vram0).c_str())).fileName());
    QString mode = QString::fromStdString(screenCaption(vdp.screenMode()));
    if (vdp.shownColourModel() != vdp.colourModel()) {
        mode += QStringLiteral(" (%1 colours: the %2 has no such mode)")
                    .arg(chipOf(vdp.shownColourModel()), chipOf(vdp.colourModel()));
    } else if (vdp.colourModel() == ColourModel::msx1) {
        mode += QStringLiteral(" (MSX1 (TMS9918) colours)");
    }
    if (any && document.spritesDrawn() && vdp.spritesShown()) {
        mode += QStringLiteral(", sprites");
    }
    mode_->setFullText(mode);
    // A file opened by name whose bytes are no picture says so beside its layout.
    std::string layout = any ? document.layoutDescription() : std::string();
    if (const std::string note = describe(document.contentNote()); any && !note.empty()) {
        layout +=
            " (" + note + (document.contentImportable() ? ": use File > Import Picture" : "") + ")";
    }
    layout_->setFullText(QString::fromStdString(layout));
    palette_->setFullText(any ? QString::fromStdString(describe(document.paletteChoice()))
                              : QString());
    size_->setText(sizeText(document.picture(), fit, zoom));
    const std::vector<FileError> damage = document.folderDamage();
    showDamage(damage);
    keepFieldsReadable(!damage.empty());
}

void StatusText::showGrid(const std::string& folder, const std::string& selected, int place,
                          int count) {
    place_->setText(place > 0 ? QStringLiteral("%1 / %2").arg(place).arg(count) : QString());
    file_->setFullText(
        QFileInfo(QFile::decodeName((selected.empty() ? folder : selected).c_str())).fileName());
    for (ElidedLabel* field : {mode_, layout_, palette_}) {
        field->setFullText({});
    }
    size_->clear();
    std::vector<FileError> damage;
    try {
        damage = fileSource().damageOf(Location::of(folder));
    } catch (const FileError&) {
        // A place that cannot be listed shows no grid either.
    }
    showDamage(damage);
    keepFieldsReadable(!damage.empty());
}

void StatusText::keepFieldsReadable(bool damaged) {
    // Counted whether shown or not: a message hides the fields for a while.
    int width = kSizeGripWidth;
    for (const QLabel* field :
         {place_, static_cast<QLabel*>(file_), static_cast<QLabel*>(mode_),
          static_cast<QLabel*>(layout_), static_cast<QLabel*>(palette_), size_}) {
        width += field->minimumSizeHint().width() + kFieldGap;
    }
    if (damaged) {
        width += damage_->minimumSizeHint().width() + kFieldGap;
    }
    bar_->setMinimumWidth(width);
    // The fields take the widths of their new texts now, not at the next event: a text
    // is elided to its field's width.
    if (QLayout* fields = bar_->layout()) {
        fields->activate();
    }
}

void StatusText::showDamage(const std::vector<FileError>& damage) {
    damage_->setVisible(!damage.empty());
    if (damage.empty()) {
        return;
    }
    QString text =
        QStringLiteral("this disk is damaged: ") + QString::fromUtf8(damage.front().what());
    QStringList all;
    for (const FileError& problem : damage) {
        all += QString::fromUtf8(problem.what());
    }
    if (damage.size() > 1) {
        text += QStringLiteral(" (and %1 more)").arg(damage.size() - 1);
    }
    damage_->setText(text);
    damage_->setToolTip(all.join(u'\n'));
}

void StatusText::showSkipped(const std::vector<FileError>& skipped, bool atEnd, bool last) {
    QString text = skipped.size() == 1
                       ? QStringLiteral("Stepped over a file that cannot be read: %1")
                             .arg(QString::fromUtf8(skipped.front().what()))
                       : QStringLiteral("Stepped over %1 files that cannot be read, the first: %2")
                             .arg(skipped.size())
                             .arg(QString::fromUtf8(skipped.front().what()));
    if (atEnd) {
        text += QStringLiteral("; ") + (last ? kLastFileMessage : kFirstFileMessage);
    }
    bar_->showMessage(text, kSkippedMessageMilliseconds);
}

void StatusText::showEndOfFolder(bool last) {
    bar_->showMessage(last ? kLastFileMessage : kFirstFileMessage, kStatusMessageMilliseconds);
}

} // namespace tessarin
