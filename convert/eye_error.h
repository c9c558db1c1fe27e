#pragma once

#include "image/picture.h"

#include <vector>

namespace tessarin {

// How far a converted picture is from the picture it aims at, both of one size.
struct ColourErrorFigures {
    // The mean CIEDE2000 of the pixels taken one by one.
    double pixel = 0;
    // The mean CIEDE2000 of both pictures blurred as a viewer a little away (or a TV) blurs
    // them, so that a dither counts for the colour it makes rather than for its dots.
    double blurred = 0;
};

// Both figures of result against reference; zero for empty pictures.
[[nodiscard]] ColourErrorFigures colourError(const Picture& reference, const Picture& result);

// Both figures and the blurred map the second is the mean of, made once: for a caller that
// shows where the error lies as well as how much it is.
struct ColourErrorAndMap {
    ColourErrorFigures figures;
    std::vector<float> map; // as blurredErrorMap
};
[[nodiscard]] ColourErrorAndMap colourErrorAndMap(const Picture& reference, const Picture& result);

// The CIEDE2000 of each pixel of the two pictures blurred, row after row: where the error
// a viewer sees lies. Empty for empty pictures.
[[nodiscard]] std::vector<float> blurredErrorMap(const Picture& reference, const Picture& result);

} // namespace tessarin
