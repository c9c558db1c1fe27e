#pragma once

#include "catalog/file_source.h"
#include "catalog/picture_files.h"
#include "document/picture_request.h"

#include <optional>

namespace tessarin {

// The one way a name becomes a picture's request, for the exporter's -o and batches, the
// thumbnails and the window's browsing (ScreenDocument::requestFor edits it): its files
// (pictureFilesOf: a folder's or disk's first picture, its companion as page 1, its palette
// file by base name where that holds a palette, else the one left out and why), the mode
// chosen, else the one mode rule's (FileSource::screenModeOf), else a new viewer's, and
// why; every pixel of the mode's lines, at the automatic size. FileError as pictureFilesOf.
[[nodiscard]] PictureRequest resolve(FileSource& files, const Location& name,
                                     std::optional<ScreenMode> chosen = std::nullopt);
// The same for the files already found of a name.
[[nodiscard]] PictureRequest resolve(FileSource& files, const PictureFiles& found,
                                     std::optional<ScreenMode> chosen);

} // namespace tessarin
