#include "document/picture_files.h"

#include "platform/file_error.h"

namespace tessarin {

std::string screenFileOf(FileSource& files, const std::string& name) {
    if (!findPlace(name)) {
        return name; // a file, or nothing, which opening it reports
    }
    const std::vector<std::string> screens = files.screenFilesOf(name);
    if (screens.empty()) {
        throw FileError(name, "\"" + name + "\" holds no screen file", Fault::noScreenFile);
    }
    return screens.front();
}

PictureFiles pictureFilesOf(FileSource& files, const std::string& name) {
    PictureFiles picture{screenFileOf(files, name), {}, {}};
    picture.companion = files.companionOf(picture.screenFile).value_or("");
    picture.paletteFile = files.paletteOf(picture.screenFile).value_or("");
    return picture;
}

} // namespace tessarin
