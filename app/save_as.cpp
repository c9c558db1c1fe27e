#include "app/save_as.h"

#include "app/file_filters.h"
#include "catalog/file_source.h"
#include "convert/encode.h"
#include "document/picture_recipe.h"
#include "formats/screen_layout.h"
#include "image/image_format.h"
#include "names/file_name_rule.h"
#include "platform/file_error.h"
#include "platform/target_file.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <algorithm>
#include <array>

namespace tessarin {

namespace {

const QString kTitle = QStringLiteral("Save As");

QString suffixOf(ImageFormat format) {
    return QString::fromLatin1(extensionOf(format));
}

// The formats of the filters, in the filter list's order from kBitmapFilter on.
constexpr std::array kFilterFormats{ImageFormat::bmp,  ImageFormat::png,  ImageFormat::sc2,
                                    ImageFormat::sc3,  ImageFormat::sc4,  ImageFormat::sc5,
                                    ImageFormat::sc6,  ImageFormat::sc7,  ImageFormat::sc8,
                                    ImageFormat::sc10, ImageFormat::sc11, ImageFormat::sc12};

// The format of the filter the dialog shows chosen; BMP for every file.
ImageFormat chosenFormat(const QFileDialog* dialog, const QString& filter) {
    for (std::size_t i = 0; i < kFilterFormats.size(); ++i) {
        if (isFilter(dialog, filter, kBitmapFilter + static_cast<int>(i))) {
            return kFilterFormats[i];
        }
    }
    return ImageFormat::bmp;
}

} // namespace

SaveAs::SaveAs(QWidget* parent, ViewSettings& settings) : parent_(parent), settings_(settings) {}

bool SaveAs::run(const ScreenDocument& document, PixelAspect aspect, const QString& folder,
                 const Start& start) {
    QFileDialog* files = dialog();
    const auto* listed = std::ranges::find(kFilterFormats, start.format);
    selectFilter(files, kBitmapFilter + static_cast<int>(listed == kFilterFormats.end()
                                                             ? 0
                                                             : listed - kFilterFormats.begin()));
    // A file's own extension first: an interlaced screen 12 is X.SCC, not X.SC12.
    const QString startSuffix =
        start.fileOfFormat.empty()
            ? suffixOf(start.format)
            : QFileInfo(QFile::decodeName(start.fileOfFormat.c_str())).suffix().toLower();
    files->setDefaultSuffix(startSuffix);
    files->setDirectory(folder);
    if (const std::string& screenFile = document.fileName(FileSlot::vram0); !screenFile.empty()) {
        files->selectFile(QFileInfo(QFile::decodeName(screenFile.c_str())).completeBaseName());
    }
    if (files->exec() != QDialog::Accepted || files->selectedFiles().isEmpty()) {
        return false;
    }
    QString name = files->selectedFiles().first();
    settings_.setLastFolder(QFileInfo(name).absolutePath());
    // The name's extension and the bytes agree: an image extension decides, any other name
    // gets the chosen format's.
    std::optional<ImageFormat> written = formatOfName(QFile::encodeName(name).toStdString());
    if (!written) {
        written = chosenFormat(files, files->selectedNameFilter());
        name += u'.' + suffixOf(*written);
    }
    const std::string target = QFile::encodeName(name).toStdString();
    // The shown files stay: a picture saved over one would lose it. Said before asking.
    refuseInputAsTarget(target, document.inputFiles());
    if (!mayReplace(name)) {
        return false;
    }
    if (*written == start.format && !start.fileOfFormat.empty()) {
        // Its own bytes: encoding the picture again could choose other colours.
        const auto bytesOf = [](const std::string& file) {
            return fileSource().read(Location::of(file), kBsaveHeaderSize + kVramSize);
        };
        const InputBytes own = bytesOf(start.fileOfFormat);
        std::vector<TargetBytes> outputs{{target, ByteSpan(own.bytes)}};
        InputBytes page1;
        if (!start.companion.empty()) {
            const std::optional<std::string> beside = companionNameOf(target);
            if (!beside) {
                throw FileError(target, "No page-1 file name pairs with \"" + target +
                                            "\": name it ." + startSuffix.toStdString());
            }
            refuseInputAsTarget(*beside, document.inputFiles());
            if (!mayReplace(QFile::decodeName(beside->c_str()))) {
                return false;
            }
            page1 = bytesOf(start.companion);
            outputs.push_back({*beside, ByteSpan(page1.bytes)});
        }
        writeTargetFiles(outputs, ReplaceMode::replace);
        return true;
    }
    const Picture picture = finishPicture(document.picture(), document.viewMode(), {aspect, {}});
    writeTargetFile(target, encode(picture, *written).pieces(), ReplaceMode::replace);
    return true;
}

bool SaveAs::mayReplace(const QString& fileName) const {
    const QFileInfo existing(fileName);
    if (!existing.exists() && !existing.isSymLink()) {
        return true;
    }
    return QMessageBox::question(
               parent_, kTitle, QStringLiteral("%1 already exists.\nReplace?").arg(fileName),
               QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

QFileDialog* SaveAs::dialog() {
    // Made at first use: the dialogs cost start-up time, most runs save nothing.
    if (dialog_ != nullptr) {
        return dialog_;
    }
    QFileDialog* dialog = dialog_ = makeFileDialog(parent_, "saveDialog", saveFilters());
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    // Asked after the name is complete and known to be no input: see run.
    dialog->setOption(QFileDialog::DontConfirmOverwrite);
    // A name typed without an extension takes the one of the format chosen.
    QObject::connect(dialog, &QFileDialog::filterSelected, dialog, [dialog](const QString& filter) {
        const QString suffix = suffixOf(chosenFormat(dialog, filter));
        dialog->setDefaultSuffix(suffix);
        // Qt's dialog has just put the filter's case-free pattern ("[Pp][Nn][Gg]") in place
        // of a typed extension: the name gets the real one.
        if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
            const QString typed = QFileInfo(name->text()).suffix();
            if (typed.startsWith(u'[')) {
                name->setText(name->text().chopped(typed.size()) + suffix);
            }
        }
    });
    return dialog;
}

} // namespace tessarin
