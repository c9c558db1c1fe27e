#pragma once

#include "catalog/file_source.h"
#include "catalog/picture_files.h"
#include "document/screen_document.h"
#include "image/picture.h"

#include <cstdint>
#include <optional>
#include <string>

namespace tessarin {

// How a rendered picture is finished for a file: the TV's pixel shape, then a thumbnail's
// square.
struct PictureFinish {
    PixelAspect aspect = PixelAspect::square;  // the picture widened smoothly to this shape
    std::optional<std::int16_t> thumbnailSize; // then fitted to this square
};

// Every choice that decides a picture written to a file: what the document renders, and
// how it is finished.
struct PictureChoices : PictureRequest, PictureFinish {};

// The one way a name becomes a picture's request, for the exporter's -o and batches and
// the thumbnails, and the same rules as the window's open: its files (pictureFilesOf: a folder's or
// disk's first picture, its companion as page 1, its palette file by base name where that holds a
// palette), the mode chosen, else the one mode rule's (FileSource::screenModeOf), else a new
// viewer's; every pixel of the mode's lines, at the automatic size. FileError as pictureFilesOf.
[[nodiscard]] PictureRequest resolve(FileSource& files, const Location& name,
                                     std::optional<ScreenMode> chosen = std::nullopt);
// The same for the files already found of a name.
[[nodiscard]] PictureRequest resolve(FileSource& files, const PictureFiles& found,
                                     std::optional<ScreenMode> chosen);

// rendered, a picture of viewMode, as a file holds it: widened smoothly to the pixel shape
// of the aspect (unchanged at square pixels), then fitted into the thumbnail's square when
// there is one. An empty picture stays empty.
[[nodiscard]] Picture finishPicture(Picture rendered, ViewMode viewMode,
                                    const PictureFinish& finish);

// The picture of the choices, the one recipe of the exporter's jobs and the thumbnails: the
// document's picture of the request (ScreenDocument::pictureOf), finished. The viewer's
// Save As finishes the picture it shows in the same way. Throws FileError naming a file
// that cannot be read.
[[nodiscard]] Picture makePicture(const PictureChoices& choices);

} // namespace tessarin
