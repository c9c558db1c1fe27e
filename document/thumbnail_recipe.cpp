#include "document/thumbnail_recipe.h"

namespace tessarin {

PictureChoices thumbnailChoices(FileSource& files, const std::string& screenFile,
                                std::int16_t size) {
    PictureChoices choices;
    static_cast<PictureRequest&>(choices) = resolve(files, Location::of(screenFile));
    choices.thumbnailSize = size;
    return choices;
}

} // namespace tessarin
