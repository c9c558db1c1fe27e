#include "document/thumbnail_recipe.h"

namespace tessarin {

PictureChoices thumbnailChoices(FileSource& files, const Location& screenFile, std::int16_t size) {
    PictureChoices choices;
    static_cast<PictureRequest&>(choices) = resolve(files, screenFile);
    choices.thumbnailSize = size;
    return choices;
}

} // namespace tessarin
