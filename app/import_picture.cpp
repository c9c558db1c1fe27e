#include "app/import_picture.h"

#include "dialogs/import_picture_dialog.h"
#include "document/image_source.h"
#include "names/file_name_rule.h"
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
    // The picture's base name, so that the title names it; the extension gives the mode.
    const std::string target =
        QFile::encodeName(
            folder_->filePath(
                QFileInfo(name).completeBaseName() + u'.' +
                QString::fromLatin1(fileExtensionOf(dialog.screen(), dialog.interlaced()))
                    .toUpper()))
            .toStdString();
    // Page 1 beside it, under the name the document pairs with it.
    const std::string companion =
        dialog.interlaced() ? companionNameOf(target).value_or(std::string()) : std::string();
    std::vector<TargetBytes> files{{target, ByteSpan(dialog.encoding().file)}};
    if (!companion.empty()) {
        files.push_back({companion, ByteSpan(dialog.encoding().companion)});
    }
    writeTargetFiles(files, ReplaceMode::replace);
    return Imported{target, companion, QFileInfo(name).absolutePath(), formatOf(dialog.screen()),
                    dialog.placesSprites()};
}

} // namespace tessarin
