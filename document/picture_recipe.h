#pragma once

#include "document/palette_choice.h"
#include "document/resolve.h"
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

// rendered, a picture of viewMode, as a file holds it: widened smoothly to the pixel shape
// of the aspect (unchanged at square pixels), then fitted into the thumbnail's square when
// there is one. An empty picture stays empty.
[[nodiscard]] Picture finishPicture(Picture rendered, ViewMode viewMode,
                                    const PictureFinish& finish);

// The picture of the choices, the one recipe of the exporter's jobs and the thumbnails: the
// document's picture of the request (ScreenDocument::pictureOf, the window's one load too),
// finished. The viewer's
// Save As finishes the picture it shows in the same way. Throws FileError naming a file
// that cannot be read.
[[nodiscard]] Picture makePicture(const PictureChoices& choices);

// A picture as makePicture makes it, with what the document tells of it: the screen file's
// layout (ScreenDocument::layoutDescription) and the palette in effect and why.
struct DescribedPicture {
    Picture picture;
    std::string layout;
    PaletteChoice palette;
};

// The picture of the choices through the same one load as makePicture, described.
// FileError as makePicture.
[[nodiscard]] DescribedPicture describePicture(const PictureChoices& choices);

} // namespace tessarin
