#pragma once

#include "catalog/file_source.h"
#include "document/picture_recipe.h"

#include <cstdint>
#include <string>

namespace tessarin {

// The choices of the thumbnail of screenFile, one of the screen files of its folder: the
// picture a step through the folder shows (its companion as page 1, the palette file of its
// base name, the mode its name or bytes give, every pixel of the mode at square pixels),
// fitted into size x size as the exporter's --thumbnail fits it. makePicture makes it.
[[nodiscard]] PictureChoices thumbnailChoices(FileSource& files, const Location& screenFile,
                                              std::int16_t size);

} // namespace tessarin
