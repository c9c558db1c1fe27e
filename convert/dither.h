#pragma once

#include "convert/oklab.h"

#include <cstdint>
#include <span>
#include <vector>

namespace tessarin {

// How the colours a screen cannot show are made up for.
enum class Dither : std::uint8_t {
    none,    // each pixel its nearest colour: for pixel art that already fits
    diffuse, // each pixel's error carried into its neighbours (Floyd and Steinberg)
    ordered, // a 4x4 Bayer pattern of lightness, stable under small changes
    eye,     // the pattern whose blurred look is nearest (convert/eye_dither.h); where a mode
             // cannot refine its pixels so, its error is diffused
};

// What each pixel should look like, row by row, given the colours already chosen: the
// target plus the error carried to it. Pixels are taken left to right, rows top down.
class ErrorCarry {
public:
    // amplitude: the lightness spread of the ordered pattern, about a step between the
    // mode's colours; picture: the target, row after row, width pixels a row, whose edges
    // the diffused error does not cross.
    ErrorCarry(Dither dither, float amplitude, std::span<const Lab> picture, int width);

    // The colour pixel (x, y) of the current row should have.
    [[nodiscard]] Lab wanted(Lab target, int x, int y) const;
    // Records that pixel x of the current row was given a colour that differs from what
    // it wanted by error (wanted - given): spread right and to the next row.
    void carry(int x, Lab error);
    // Moves to the next row.
    void nextRow();

private:
    // The share of pixel x's error carried on: all of it where the picture is smooth
    // around it, less the steeper the picture steps to the pixels the error goes to.
    [[nodiscard]] float smoothnessAt(int x) const;

    Dither dither_;
    float amplitude_;
    std::vector<Lab> current_; // error reaching each pixel of this row, two columns of margin
    std::vector<Lab> next_;
    std::span<const Lab> picture_;
    int width_;
    int row_ = 0;
};

} // namespace tessarin
