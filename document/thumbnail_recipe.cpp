#include "document/thumbnail_recipe.h"

#include "document/picture_files.h"
#include "document/view_geometry.h"

namespace tessarin {

PictureChoices thumbnailChoices(FileSource& files, const std::string& screenFile,
                                std::int16_t size) {
    const PictureFiles picture = pictureFilesOf(files, screenFile);
    PictureChoices choices;
    choices.screenFile = picture.screenFile;
    choices.vram1File = picture.companion;
    choices.paletteFile = picture.paletteFile;
    // As browsing opens it: the mode the name gives, else the one the bytes give.
    const PictureKind kind = files.pictureKindOf(picture.screenFile);
    choices.screenMode = kind.screenMode.value_or(
        chooseByFileName(nameInFolder(picture.screenFile)).screenMode.value_or(kDefaultScreenMode));
    const ScreenModeFacts* facts = findScreenMode(choices.screenMode);
    const auto linePixels = static_cast<std::int16_t>(
        facts != nullptr ? facts->lineWidth : findScreenMode(kDefaultScreenMode)->lineWidth);
    choices.mapping.linePixels = {linePixels, linePixels};
    choices.viewMode =
        viewModeOf(automaticSizeOf(choices.screenMode, !choices.vram1File.empty()), false);
    choices.thumbnailSize = size;
    return choices;
}

} // namespace tessarin
