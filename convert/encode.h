#pragma once

#include "image/encoded_picture.h"
#include "image/image_format.h"
#include "image/picture.h"

namespace tessarin {

// The picture as a file of format: the one encoder of every file the programs write. BMP of
// an empty picture gives no bytes; PNG of one throws std::invalid_argument. An MSX screen
// is the picture converted with the default choices (encodeMsx): contained in the frame,
// diffused; of an empty picture it is the screen's empty frame.
[[nodiscard]] EncodedPicture encode(const Picture& picture, ImageFormat format);

} // namespace tessarin
