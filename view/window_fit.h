#pragma once

#include "document/view_geometry.h"
#include "view/view_placement.h"

#include <optional>
#include <span>

namespace tessarin {

// The window on its screen, in the screen's pixels: what surrounds the client area (menu
// bar, status bar, frame) is `around`, the screen's area for windows (without its panels)
// is `available`. A picture larger than the window scrolls, so the window never needs
// more than the screen.

// The window's outer size for a client area of `client`: client and around together,
// each edge no longer than available's. An edge cut short scrolls: the window then holds
// that scroll bar (scrollBar thick) beside the picture too, where the screen has room, so
// that the other edge does not scroll as well.
[[nodiscard]] ImageSize windowSizeWithin(ImageSize client, ImageSize around, ImageSize available,
                                         int scrollBar);

// The window moved, and shrunk only where it is larger, as little as needed to lie within
// available (a window restored from another screen's place or size).
[[nodiscard]] ViewRect placedWithin(ViewRect window, ViewRect available);

// The window placedWithin the area of the screens' (their areas for windows) it overlaps
// most; the first area (the window's own screen) when it overlaps none.
[[nodiscard]] ViewRect placedOnScreens(ViewRect window, std::span<const ViewRect> areas);

// The zoom of the first window of a run: the remembered one when the picture at it, with
// around, fits available; otherwise the largest zoom at which it fits (kMinZoom when none).
[[nodiscard]] int firstWindowZoom(ImageSize picture, double pixelAspect, ImageSize around,
                                  ImageSize available, std::optional<int> remembered);

} // namespace tessarin
