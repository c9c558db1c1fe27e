#include "app/status_text.h"

#include "vdp/screen_modes.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QStatusBar>
#include <string>

namespace tessarin {

namespace {

const QString kLastFileMessage = QStringLiteral("Last file");
const QString kFirstFileMessage = QStringLiteral("First file");
constexpr int kStatusMessageMilliseconds = 3000;
// Long enough to read an error message naming a file.
constexpr int kSkippedMessageMilliseconds = 8000;

QLabel* addField(QStatusBar* bar, const char* name) {
    auto* label = new QLabel(bar);
    label->setObjectName(QLatin1String(name));
    bar->addWidget(label);
    return label;
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
    : bar_(bar), file_(addField(bar, "statusFile")), mode_(addField(bar, "statusMode")),
      layout_(addField(bar, "statusLayout")), palette_(addField(bar, "statusPalette")),
      size_(addField(bar, "statusSize")), damage_(addField(bar, "statusDamage")) {
    damage_->hide();
}

void StatusText::show(const ScreenDocument& document, ViewFit fit, int zoom) {
    const VdpState& vdp = document.vdp();
    const bool any = document.hasPicture();
    QString file =
        QFileInfo(QFile::decodeName(document.fileName(FileSlot::vram0).c_str())).fileName();
    if (const auto place = document.browsePosition()) {
        file += QStringLiteral("  %1 / %2").arg(place->first).arg(place->second);
    }
    file_->setText(file);
    const std::string_view name = findScreenMode(vdp.screenMode())->name;
    QString mode = QStringLiteral("Screen %1")
                       .arg(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    if (vdp.shownColourModel() != vdp.colourModel()) {
        mode += QStringLiteral(" (V9958 colours: the V9938 has no such mode)");
    }
    mode_->setText(mode);
    // A file opened by name whose bytes are no picture says so beside its layout.
    std::string layout = any ? document.layoutDescription() : std::string();
    if (any && !document.contentDescription().empty()) {
        layout += " (" + document.contentDescription() + ")";
    }
    layout_->setText(QString::fromStdString(layout));
    palette_->setText(any ? QString::fromStdString(document.paletteDescription()) : QString());
    size_->setText(sizeText(document.picture(), fit, zoom));
    showDamage(document.folderDamage());
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
