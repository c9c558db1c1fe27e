#pragma once

#include "document/view_geometry.h"
#include "image/picture.h"
#include "vdp/vdp_state.h"

namespace tessarin {

// Renders the display pages of vdp in the geometry of viewMode into picture, reusing its
// storage, as many lines a page as the VDP's screen mode has; an unknown view mode gives an
// empty picture (0 x 0). Selects the pages it shows and leaves the last one selected.
void renderPicture(VdpState& vdp, ViewMode viewMode, Picture& picture);

} // namespace tessarin
