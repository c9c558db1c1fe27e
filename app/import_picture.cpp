#include "app/import_picture.h"

#include "dialogs/import_picture_dialog.h"
#include "document/image_source.h"
#include "platform/file_error.h"
#include "platform/target_file.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>

namespace tessarin {

namespace {

// The one folder all windows' imports go in, each in its own folder inside: a static, so
// that it is removed also when the process ends by exit(), as Qt does when the X server
// goes away, where no window is destroyed.
QTemporaryDir& importsFolder() {
    static QTemporaryDir folder;
    return folder;
}

} // namespace

std::optional<ImportPicture::Imported> ImportPicture::run(QWidget* parent, const QString& folder) {
    const QString name = QFileDialog::getOpenFileName(
        parent, QStringLiteral("Import Picture"), folder,
        QStringLiteral("Pictures (*.png *.PNG *.jpg *.JPG *.jpeg *.JPEG);;All files (*)"));
    if (name.isEmpty()) {
        return std::nullopt;
    }
    const SourceImage source = readSourceImage(
        fileSource(), tessarin::Location::of(QFile::encodeName(name).toStdString()));
    ImportPictureDialog dialog(source, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    const auto check = [](const QTemporaryDir& made) {
        if (!made.isValid()) {
            throw FileError(made.path().toStdString(),
                            "Cannot make a temporary folder: " + made.errorString().toStdString());
        }
    };
    check(importsFolder());
    if (!folder_) {
        folder_ = std::make_unique<QTemporaryDir>(
            importsFolder().filePath(QStringLiteral("window-XXXXXX")));
    }
    check(*folder_);
    const std::optional<ImageFormat> format = [&] {
        for (const ImageFormat f :
             {ImageFormat::sc2, ImageFormat::sc3, ImageFormat::sc4, ImageFormat::sc5,
              ImageFormat::sc6, ImageFormat::sc7, ImageFormat::sc8, ImageFormat::sc12}) {
            if (msxScreenOf(f) == dialog.screen()) {
                return std::optional(f);
            }
        }
        return std::optional<ImageFormat>();
    }();
    // The picture's base name, so that the title names it; the extension gives the mode.
    const std::string target =
        QFile::encodeName(folder_->filePath(QFileInfo(name).completeBaseName() + u'.' +
                                            QString::fromLatin1(extensionOf(*format)).toUpper()))
            .toStdString();
    writeTargetFile(target, ByteSpan(dialog.encoding().file), ReplaceMode::replace);
    return Imported{target, QFileInfo(name).absolutePath(), *format, dialog.placesSprites()};
}

} // namespace tessarin
