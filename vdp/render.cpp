#include "vdp/vdp_state.h"

namespace tessarin {

void VdpState::renderLine256(int y, RgbRow256 out) const {
    RgbLine512 wide;
    switch (screenMode) {
    case 5:
        decodeLineScreen5(y, out);
        break;
    case 6:
        decodeLineScreen6(y, wide);
        narrowLine(wide, out);
        break;
    case 7:
        decodeLineScreen7(y, wide);
        narrowLine(wide, out);
        break;
    case 8:
        decodeLineScreen8(y, out);
        break;
    case 10:
        decodeLineScreen10(y, out);
        break;
    case 12:
        decodeLineScreen12(y, out);
        break;
    default:
        break;
    }
}

void VdpState::renderLine512(int y, RgbRow512 out) const {
    RgbLine256 narrow;
    switch (screenMode) {
    case 5:
        decodeLineScreen5(y, narrow);
        widenLine(narrow, out);
        break;
    case 6:
        decodeLineScreen6(y, out);
        break;
    case 7:
        decodeLineScreen7(y, out);
        break;
    case 8:
        decodeLineScreen8(y, narrow);
        widenLine(narrow, out);
        break;
    case 10:
        decodeLineScreen10(y, narrow);
        widenLine(narrow, out);
        break;
    case 12:
        decodeLineScreen12(y, narrow);
        widenLine(narrow, out);
        break;
    default:
        break;
    }
}

// Narrow modes double each pixel in 512 columns; wide modes keep the even pixels in 256.
RgbTriple VdpState::fetchPixel(int x, int y, bool width256) const {
    const ScreenModeFacts* facts = findScreenMode(screenMode);
    const int columns = width256 ? kNarrowWidth : kWideWidth;
    const int modeX = facts == nullptr ? x : x * facts->lineWidth / columns;
    switch (screenMode) {
    case 5:
        return pixelScreen5(modeX, y);
    case 6:
        return pixelScreen6(modeX, y);
    case 7:
        return pixelScreen7(modeX, y);
    case 8:
        return pixelScreen8(modeX, y);
    case 10:
        return pixelScreen10(modeX, y);
    case 12:
        return pixelScreen12(modeX, y);
    default:
        return RgbTriple{0, 0, 0};
    }
}

} // namespace tessarin
