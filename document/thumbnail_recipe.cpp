#include "document/thumbnail_recipe.h"

namespace tessarin {

PictureChoices thumbnailChoices(FileSource& files, const std::string& screenFile,
                                std::int16_t size) {
    PictureChoices choices;
    static_cast<PictureRequest&>(choices) = requestFor(files, screenFile);
    choices.thumbnailSize = size;
    return choices;
}

} // namespace tessarin
