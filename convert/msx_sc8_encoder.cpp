// Screen 8: every byte its own colour, green in bits 7-5, red in 4-2, blue in 1-0.
#include "convert/eye_dither.h"
#include "convert/msx_encoders.h"
#include "vdp/colour_model.h"
#include "vdp/screen_modes.h"

#include <algorithm>
#include <array>
#include <limits>
#include <utility>

namespace tessarin {

namespace {

constexpr int kColours = 256;
constexpr float kOrderedAmplitude = 0.06F;
// Its 256 colours lie close: a dither there costs a pixel little of its own colour.
constexpr float kEyePixelWeight = 1.0F;

} // namespace

BitmapLines encodeScreen8(const ScreenTarget& target) {
    const ColourLevels& levels = colourLevels(target.model);
    std::array<Lab, kColours> colours{};
    for (int b = 0; b < kColours; ++b) {
        colours[b] = oklabOf(screen8Colour(levels, static_cast<std::uint8_t>(b)));
    }
    // Byte 0 is black; with colour 0 reserved the others keep off it.
    const int first = target.zeroReserved ? 1 : 0;
    std::vector<std::uint8_t> vram(static_cast<std::size_t>(target.width) * target.height);
    if (target.dither == Dither::eye) {
        std::ranges::copy(ditherForEye(target, colours, first, kEyePixelWeight), vram.begin());
        return BitmapLines{std::move(vram), std::nullopt};
    }
    ErrorCarry carry(target.dither, kOrderedAmplitude, target.pixels, target.width);
    for (int y = 0; y < target.height; ++y) {
        for (int x = 0; x < target.width; ++x) {
            const std::size_t i = target.at(x, y);
            if (target.zero[i] != 0) {
                continue;
            }
            const Lab wanted = carry.wanted(target.pixels[i], x, y);
            int best = first;
            float bestDistance = std::numeric_limits<float>::max();
            for (int b = first; b < kColours; ++b) {
                const float d = distance2(colours[b], wanted);
                if (d < bestDistance) {
                    bestDistance = d;
                    best = b;
                }
            }
            vram[i] = static_cast<std::uint8_t>(best);
            carry.carry(x, wanted - colours[best]);
        }
        carry.nextRow();
    }
    return BitmapLines{std::move(vram), std::nullopt};
}

} // namespace tessarin
