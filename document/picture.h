#pragma once

#include "document/view_geometry.h"
#include "vdp/vdp_state.h"

#include <span>
#include <vector>

namespace tessarin {

// The pixels of one view, rendered in memory: rows top first, each row left to right, in
// the blue-green-red order of RgbTriple. The window paints it, the BMP and PNG encoders
// write it; an unknown view mode gives an empty picture (0 x 0).
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<RgbTriple> pixels; // width x height

    [[nodiscard]] bool empty() const { return pixels.empty(); }
    // Row r, 0 at the top.
    [[nodiscard]] std::span<const RgbTriple> row(int r) const;
    [[nodiscard]] std::span<RgbTriple> row(int r);

    friend bool operator==(const Picture&, const Picture&) = default;
};

// Renders the display pages of vdp in the geometry of viewMode into picture, reusing its
// storage. Selects the pages it shows and leaves the last one selected.
void renderPicture(VdpState& vdp, ViewMode viewMode, Picture& picture);

} // namespace tessarin
