#include "document/picture_files.h"

#include "platform/file_error.h"

#include <optional>

namespace tessarin {

std::string screenFileOf(FileSource& files, const std::string& name) {
    if (!findPlace(name)) {
        return name; // a file, or nothing, which opening it reports
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

PictureFiles pictureFilesOf(FileSource& files, const std::string& name) {
    PictureFiles picture{screenFileOf(files, name), {}, {}};
    picture.companion = files.companionOf(picture.screenFile).value_or("");
    picture.paletteFile = files.paletteOf(picture.screenFile).value_or("");
    return picture;
}

} // namespace tessarin
