#include "document/render_picture.h"

#include "document/view_geometry.h"
#include "vdp/pixel_words.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

namespace tessarin {

namespace {

constexpr int kPage0 = 0;
constexpr int kPage1 = 1;

// Plain views: image row r is a line of a page, the pages on alternate rows (interlace)
// or one above the other (joint). Each line is decoded straight into its row. A page has
// pageLines lines; in a one-page mode selecting page 1 keeps page 0, which the two-page
// views then show twice.

template <std::size_t Width> std::span<RgbTriple, Width> rowOf(Picture& p, int r) {
    return p.row(r).first<Width>();
}

void renderPlain(VdpState& vdp, Picture& p, int pageLines) {
    vdp.selectPage(kPage0);
    for (int y = 0; y < pageLines; ++y) {
        vdp.renderLine256(y, rowOf<kNarrowWidth>(p, y));
    }
}

// Every line twice: decoded once, then copied.
void renderMagnified(VdpState& vdp, Picture& p, int pageLines) {
    vdp.selectPage(kPage0);
    for (int y = 0; y < pageLines; ++y) {
        const auto row = rowOf<kWideWidth>(p, 2 * y);
        vdp.renderLine512(y, row);
        std::copy(row.begin(), row.end(), p.row(2 * y + 1).begin());
    }
}

void renderInterlaced(VdpState& vdp, Picture& p, int pageLines) {
    for (const int page : {kPage0, kPage1}) {
        vdp.selectPage(page);
        for (int y = 0; y < pageLines; ++y) {
            vdp.renderLine512(y, rowOf<kWideWidth>(p, 2 * y + page));
        }
    }
}

void renderJoined(VdpState& vdp, Picture& p, int pageLines) {
    for (const int page : {kPage0, kPage1}) {
        vdp.selectPage(page);
        for (int y = 0; y < pageLines; ++y) {
            vdp.renderLine256(y, rowOf<kNarrowWidth>(p, page * pageLines + y));
        }
    }
}

// Rotated views: image row r is column (width - 1 - r) of the picture, line 0 on the
// left. Each line is decoded once, as the plain views do, and four lines at a time are
// written down four adjacent image columns: pixel x of each goes to row (last - x) as one
// 12-byte run, where a line at a time would store each pixel on its own.

template <std::size_t N> using LineRef = std::span<const RgbTriple, N>;

template <std::size_t N>
void copyColumns(LineRef<N> a, LineRef<N> b, LineRef<N> c, LineRef<N> d, Picture& p, int column) {
    auto* pixels = reinterpret_cast<std::uint8_t*>(p.pixels().data());
    const std::size_t rowBytes = static_cast<std::size_t>(p.width()) * sizeof(RgbTriple);
    const std::size_t columnByte = static_cast<std::size_t>(column) * sizeof(RgbTriple);
    for (std::size_t x = 0; x < N; ++x) {
        putFour(pixels + (N - 1 - x) * rowBytes + columnByte, wordOf(a[x]), wordOf(b[x]),
                wordOf(c[x]), wordOf(d[x]));
    }
}

constexpr int kBlockLines = kQuadPixels; // lines written side by side
static_assert(kBitmapLines % kBlockLines == 0 && kPatternLines % kBlockLines == 0);

// Lines y .. y + 3 of the selected page, side by side from column.
void copyBlock(VdpState& vdp, std::array<RgbLine256, kBlockLines>& lines, int y, Picture& p,
               int column) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        vdp.renderLine256(y + static_cast<int>(i), lines[i]);
    }
    copyColumns<kNarrowWidth>(lines[0], lines[1], lines[2], lines[3], p, column);
}

void renderPlainRotated(VdpState& vdp, Picture& p, int pageLines) {
    std::array<RgbLine256, kBlockLines> lines{};
    vdp.selectPage(kPage0);
    for (int y = 0; y < pageLines; y += kBlockLines) {
        copyBlock(vdp, lines, y, p, y);
    }
}

// Every line twice: lines y and y + 1 give columns 2y .. 2y + 3.
void renderMagnifiedRotated(VdpState& vdp, Picture& p, int pageLines) {
    RgbLine512 first{};
    RgbLine512 second{};
    vdp.selectPage(kPage0);
    for (int y = 0; y < pageLines; y += 2) {
        vdp.renderLine512(y, first);
        vdp.renderLine512(y + 1, second);
        copyColumns<kWideWidth>(first, first, second, second, p, 2 * y);
    }
}

// Page 0 on the even columns of the image, page 1 on the odd: line y of both pages, then
// line y + 1 of both, give columns 2y .. 2y + 3. Page 1 stays selected.
void renderInterlacedRotated(VdpState& vdp, Picture& p, int pageLines) {
    std::array<RgbLine512, kBlockLines> lines{};
    for (int y = 0; y < pageLines; y += 2) {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            vdp.selectPage(i % 2 == 0 ? kPage0 : kPage1);
            vdp.renderLine512(y + static_cast<int>(i / 2), lines[i]);
        }
        copyColumns<kWideWidth>(lines[0], lines[1], lines[2], lines[3], p, 2 * y);
    }
}

// Page 0 on the left, page 1 on the right.
void renderJoinedRotated(VdpState& vdp, Picture& p, int pageLines) {
    std::array<RgbLine256, kBlockLines> lines{};
    for (const int page : {kPage0, kPage1}) {
        vdp.selectPage(page);
        for (int y = 0; y < pageLines; y += kBlockLines) {
            copyBlock(vdp, lines, y, p, page * pageLines + y);
        }
    }
}

using ViewRenderer = void (*)(VdpState&, Picture&, int pageLines);

// Indexed by ViewMode, like the image sizes of view_geometry.
constexpr std::array<ViewRenderer, kViewModeCount> kViewRenderers{
    renderPlain,        renderMagnified,        renderInterlaced,        renderJoined,
    renderPlainRotated, renderMagnifiedRotated, renderInterlacedRotated, renderJoinedRotated,
};

} // namespace

void renderPicture(VdpState& vdp, ViewMode viewMode, Picture& picture) {
    const int pageLines = pictureLinesOf(vdp.screenMode());
    const auto size = imageSizeOf(viewMode, pageLines);
    if (!size) {
        picture.resize(0, 0);
        return;
    }
    picture.resize(size->width, size->height);
    kViewRenderers.at(static_cast<std::size_t>(viewMode))(vdp, picture, pageLines);
}

} // namespace tessarin
