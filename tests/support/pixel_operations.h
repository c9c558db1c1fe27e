#pragma once

// The pixel operations: one pixel of the display page at a time, straight from the VDP's
// definitions. They are the plain statement the line decoders are tested against, kept
// apart from the product's decoders on purpose.

#include "tests/support/pattern_reference.h"
#include "vdp/colour_model.h"
#include "vdp/screen_modes.h"
#include "vdp/vdp_state.h"

#include <algorithm>
#include <cstdint>

namespace tessarin::test {

// The line of the display page y lies on; bytesPerLine from the mode.
inline const std::uint8_t* pageLine(const VdpState& vdp, int y, int bytesPerLine) {
    return vdp.vram().data() + vdp.pageBase() + y * bytesPerLine;
}

// y 0..31, raw j and k 0..63 (two's complement in 6 bits): red Y + J, green Y + K, blue
// (5Y - 2J - K + rounding) / 4, each clamped to 0..31 and shown at the 5-bit level.
inline RgbTriple yjkToRgb(const VdpState& vdp, int y, int j, int k) {
    const auto signedSix = [](int v) { return v >= 32 ? v - 64 : v; };
    const int sj = signedSix(j);
    const int sk = signedSix(k);
    const int rounding = colourLevels(vdp.shownColourModel()).blueRounding;
    const auto clamp = [](int v) { return std::clamp(v, 0, 31); };
    const int blue = clamp((5 * y - 2 * sj - sk + rounding) / 4); // truncates toward zero
    return RgbTriple{vdp.level5()[blue], vdp.level5()[clamp(y + sk)], vdp.level5()[clamp(y + sj)]};
}

inline RgbTriple pixelScreen5(const VdpState& vdp, int x, int y) {
    const std::uint8_t b = pageLine(vdp, y, 128)[x / 2];
    return vdp.paletteRgb()[x % 2 == 0 ? b >> 4 : b & 15];
}

inline RgbTriple pixelScreen6(const VdpState& vdp, int x, int y) {
    const std::uint8_t b = pageLine(vdp, y, 128)[x / 4];
    return vdp.paletteRgb()[(b >> (6 - 2 * (x % 4))) & 3];
}

inline RgbTriple pixelScreen7(const VdpState& vdp, int x, int y) {
    const std::uint8_t b = pageLine(vdp, y, 256)[x / 2];
    return vdp.paletteRgb()[x % 2 == 0 ? b >> 4 : b & 15];
}

// Green in bits 7-5, red in bits 4-2, blue in bits 1-0.
inline RgbTriple pixelScreen8(const VdpState& vdp, int x, int y) {
    return screen8Colour(colourLevels(vdp.shownColourModel()), pageLine(vdp, y, 256)[x]);
}

// A group of four bytes: Y in bits 7-3 of each, K bits 2-0 in bytes 0 (low) and 1 (high),
// J bits 2-0 in bytes 2 and 3. Screen 10: bit 3 set makes the pixel palette colour bits 7-4.
inline RgbTriple yjkPixel(const VdpState& vdp, int x, int y, bool paletteBit) {
    const std::uint8_t* g = pageLine(vdp, y, 256) + 4 * (x / 4);
    const int k = (g[0] & 7) | (g[1] & 7) << 3;
    const int j = (g[2] & 7) | (g[3] & 7) << 3;
    const std::uint8_t b = g[x % 4];
    if (paletteBit && (b & 0x08) != 0) {
        return vdp.paletteRgb()[b >> 4];
    }
    return yjkToRgb(vdp, b >> 3, j, k);
}

inline RgbTriple pixelScreen10(const VdpState& vdp, int x, int y) {
    return yjkPixel(vdp, x, y, true);
}

inline RgbTriple pixelScreen12(const VdpState& vdp, int x, int y) {
    return yjkPixel(vdp, x, y, false);
}

// x counts 256 columns when width256, else 512: narrow modes double each pixel in 512
// columns, wide modes keep the even pixels in 256. Black in an unsupported mode.
inline RgbTriple fetchPixel(const VdpState& vdp, int x, int y, bool width256) {
    const ScreenModeFacts* facts = findScreenMode(vdp.screenMode());
    if (facts == nullptr) {
        return RgbTriple{0, 0, 0};
    }
    const int columns = width256 ? kNarrowWidth : kWideWidth;
    const int modeX = x * facts->lineWidth / columns;
    switch (vdp.screenMode()) {
    case ScreenMode::screen2:
    case ScreenMode::screen3:
    case ScreenMode::screen4:
        return vdp.paletteRgb()[patternReferenceIndex(vdp.vram(), vdp.screenMode(), modeX, y)];
    case ScreenMode::screen5:
        return pixelScreen5(vdp, modeX, y);
    case ScreenMode::screen6:
        return pixelScreen6(vdp, modeX, y);
    case ScreenMode::screen7:
        return pixelScreen7(vdp, modeX, y);
    case ScreenMode::screen8:
        return pixelScreen8(vdp, modeX, y);
    case ScreenMode::screen10:
        return pixelScreen10(vdp, modeX, y);
    default:
        return pixelScreen12(vdp, modeX, y);
    }
}

} // namespace tessarin::test
