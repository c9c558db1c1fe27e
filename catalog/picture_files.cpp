#include "catalog/picture_files.h"

#include "platform/file_error.h"

#include <optional>
#include <utility>

namespace tessarin {

Location screenFileOf(FileSource& files, const Location& name) {
    if (!name.isPlace()) {
        return name; // a file, or nothing, which opening it reports
    }
    if (std::optional<Location> held = name.soleFile()) {
        return std::move(*held);
    }
    if (std::vector<Location> screens = files.screenFilesOf(name); !screens.empty()) {
        return std::move(screens.front());
    }
    // An archive of disk images: the first picture of the first that holds one.
    std::optional<FileError> failed;
    for (const Location& file : *files.listFolder(name)) {
        try {
            if (file.holdsFiles()) {
                if (std::vector<Location> inner = files.screenFilesOf(file); !inner.empty()) {
                    return std::move(inner.front());
                }
            }
        } catch (const FileError& error) {
            failed = failed.value_or(error);
        }
    }
    if (failed) {
        throw *failed;
    }
    const std::string& path = name.path();
    throw FileError(path, "\"" + path + "\" holds no screen file", Fault::noScreenFile);
}

void findPaletteFile(FileSource& files, const Location& screenFile, PictureFiles& into) {
    into.paletteFile.reset();
    into.paletteLeftOut.reset();
    into.leftOutReason = {};
    std::optional<Location> paired = files.paletteOf(screenFile);
    if (!paired) {
        return;
    }
    if (const PictureKind kind = files.pictureKindOf(*paired); !kind.palette) {
        into.paletteLeftOut = std::move(paired);
        into.leftOutReason =
            kind.reason == NotPicture::unreadableFile ? NotPicture::unreadablePalette : kind.reason;
        return;
    }
    into.paletteFile = std::move(paired);
}

PictureFiles pictureFilesOf(FileSource& files, const Location& name) {
    PictureFiles picture{screenFileOf(files, name), {}, {}, {}, {}};
    picture.companion = files.companionOf(picture.screenFile);
    findPaletteFile(files, picture.screenFile, picture);
    return picture;
}

} // namespace tessarin
