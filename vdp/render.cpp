#include "vdp/vdp_state.h"

namespace tessarin {

// Narrow modes double each pixel in 512 columns; wide modes keep the even pixels in 256.
RgbTriple VdpState::fetchPixel(int x, int y, bool width256) const {
    const ScreenModeFacts* facts = findScreenMode(screenMode);
    const int columns = width256 ? kNarrowWidth : kWideWidth;
    const int modeX = facts == nullptr ? x : x * facts->lineWidth / columns;
    switch (screenMode) {
    case 2:
        return pixelScreen2(modeX, y);
    case 3:
        return pixelScreen3(modeX, y);
    case 4:
        return pixelScreen4(modeX, y);
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
