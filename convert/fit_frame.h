#pragma once

#include "image/source_image.h"

#include <cstdint>
#include <vector>

namespace tessarin {

// How a picture meets a screen's frame.
enum class FitMode : std::uint8_t {
    contain, // all of it, its shape kept, the rest of the frame colour 0
    cover,   // the whole frame, its shape kept, the overhang cut evenly
    stretch, // the whole picture onto the whole frame
};

// A picture resampled to a screen's frame, and which of its pixels are colour 0 (the
// letterbox's, and the source's transparent pixels).
struct FittedFrame {
    Picture picture;                // the letterbox black
    std::vector<std::uint8_t> zero; // 1 for a pixel that is colour 0, row after row

    [[nodiscard]] bool isZero(std::size_t pixel) const { return zero[pixel] != 0; }
};

// source fitted into width x height pixels that a TV shows pixelAspect times as wide as
// tall (1 square): the picture shaped so that it looks as the source on that TV. Shrinking
// averages the areas covered (scalePicture). Transparent pixels count only when kept.
[[nodiscard]] FittedFrame fitFrame(const SourceImage& source, int width, int height, FitMode fit,
                                   double pixelAspect, bool keepTransparent);

} // namespace tessarin
