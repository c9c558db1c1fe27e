#include "catalog/picture_files.h"

#include "platform/file_error.h"

#include <optional>
#include <utility>

namespace tessarin {

std::string screenFileOf(FileSource& files, const std::string& name) {
    if (!findPlace(name)) {
        return name; // a file, or nothing, which opening it reports
    }
    if (std::optional<std::string> held = soleFileOf(name)) {
        return std::move(*held);
    }
    if (const std::vector<std::string> screens = files.screenFilesOf(name); !screens.empty()) {
        return screens.front();
    }
    // An archive of disk images: the first picture of the first that holds one.
    std::optional<FileError> failed;
    for (const std::string& file : *files.listFolder(name)) {
        try {
            if (holdsFiles(file)) {
                if (const std::vector<std::string> inner = files.screenFilesOf(file);
                    !inner.empty()) {
                    return inner.front();
                }
            }
        } catch (const FileError& error) {
            failed = failed.value_or(error);
        }
    }
    if (failed) {
        throw *failed;
    }
    throw FileError(name, "\"" + name + "\" holds no screen file", Fault::noScreenFile);
}

void findPaletteFile(FileSource& files, const std::string& screenFile, PictureFiles& into) {
    into.paletteFile.clear();
    into.paletteLeftOut.clear();
    into.leftOutReason = {};
    const std::optional<std::string> paired = files.paletteOf(screenFile);
    if (!paired) {
        return;
    }
    if (const PictureKind kind = files.pictureKindOf(*paired); !kind.palette) {
        into.paletteLeftOut = *paired;
        into.leftOutReason =
            kind.reason == NotPicture::unreadableFile ? NotPicture::unreadablePalette : kind.reason;
        return;
    }
    into.paletteFile = *paired;
}

PictureFiles pictureFilesOf(FileSource& files, const std::string& name) {
    PictureFiles picture{screenFileOf(files, name), {}, {}, {}, {}};
    picture.companion = files.companionOf(picture.screenFile).value_or("");
    findPaletteFile(files, picture.screenFile, picture);
    return picture;
}

} // namespace tessarin
