#include "document/picture.h"

#include "document/view_geometry.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <memory>

namespace tessarin {

namespace {

constexpr int kPage0 = 0;
constexpr int kPage1 = 1;

template <typename Line> void copyLine(const Line& line, std::span<RgbTriple> row) {
    std::copy(line.begin(), line.end(), row.begin());
}

// Plain views: image row r is a line of a page, the pages on alternate rows (interlace)
// or one above the other (joint).

void renderPlain(VdpState& vdp, Picture& p) {
    RgbLine256 line{};
    vdp.selectPage(kPage0);
    for (int y = 0; y < kPictureLines; ++y) {
        vdp.renderLine256(y, line);
        copyLine(line, p.row(y));
    }
}

void renderMagnified(VdpState& vdp, Picture& p) {
    RgbLine512 line{};
    vdp.selectPage(kPage0);
    for (int y = 0; y < kPictureLines; ++y) {
        vdp.renderLine512(y, line);
        copyLine(line, p.row(2 * y));
        copyLine(line, p.row(2 * y + 1));
    }
}

void renderInterlaced(VdpState& vdp, Picture& p) {
    RgbLine512 line{};
    for (const int page : {kPage0, kPage1}) {
        vdp.selectPage(page);
        for (int y = 0; y < kPictureLines; ++y) {
            vdp.renderLine512(y, line);
            copyLine(line, p.row(2 * y + page));
        }
    }
}

void renderJoined(VdpState& vdp, Picture& p) {
    RgbLine256 line{};
    for (const int page : {kPage0, kPage1}) {
        vdp.selectPage(page);
        for (int y = 0; y < kPictureLines; ++y) {
            vdp.renderLine256(y, line);
            copyLine(line, p.row(page * kPictureLines + y));
        }
    }
}

// Rotated views: image row r is column (width - 1 - r) of the picture, line 0 on the
// left. Each page is decoded once, line by line as the plain views do, and then read
// column by column: a pixel at a time would decode each byte again for every pixel.

template <typename Line> using Page = std::array<Line, kPictureLines>;

void renderLine(const VdpState& vdp, int y, RgbLine256& line) {
    vdp.renderLine256(y, line);
}
void renderLine(const VdpState& vdp, int y, RgbLine512& line) {
    vdp.renderLine512(y, line);
}

// Selects the page and decodes its 212 lines into a buffer of the heap (up to 318 KB).
template <typename Line> std::unique_ptr<Page<Line>> decodePage(VdpState& vdp, int page) {
    auto lines = std::make_unique_for_overwrite<Page<Line>>();
    vdp.selectPage(page);
    for (int y = 0; y < kPictureLines; ++y) {
        renderLine(vdp, y, (*lines)[static_cast<std::size_t>(y)]);
    }
    return lines;
}

// Column x of a decoded page, line 0 first, into row from position at, every step-th.
template <typename Line>
void copyColumn(const Page<Line>& lines, int x, std::span<RgbTriple> row, int at, int step) {
    for (int y = 0; y < kPictureLines; ++y) {
        setColour(row[static_cast<std::size_t>(at + step * y)],
                  lines[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]);
    }
}

void renderPlainRotated(VdpState& vdp, Picture& p) {
    const auto page0 = decodePage<RgbLine256>(vdp, kPage0);
    for (int x = 0; x < kNarrowWidth; ++x) {
        copyColumn(*page0, x, p.row(kNarrowWidth - 1 - x), 0, 1);
    }
}

// Two decoded pages on alternate columns of each image row, even first.
void renderAlternatingRotated(const Page<RgbLine512>& even, const Page<RgbLine512>& odd,
                              Picture& p) {
    for (int x = 0; x < kWideWidth; ++x) {
        const auto row = p.row(kWideWidth - 1 - x);
        copyColumn(even, x, row, 0, 2);
        copyColumn(odd, x, row, 1, 2);
    }
}

// Every line twice.
void renderMagnifiedRotated(VdpState& vdp, Picture& p) {
    const auto page0 = decodePage<RgbLine512>(vdp, kPage0);
    renderAlternatingRotated(*page0, *page0, p);
}

// Page 0 on the even columns of the image, page 1 on the odd.
void renderInterlacedRotated(VdpState& vdp, Picture& p) {
    const auto page0 = decodePage<RgbLine512>(vdp, kPage0);
    const auto page1 = decodePage<RgbLine512>(vdp, kPage1);
    renderAlternatingRotated(*page0, *page1, p);
}

// Page 0 on the left, page 1 on the right.
void renderJoinedRotated(VdpState& vdp, Picture& p) {
    const auto page0 = decodePage<RgbLine256>(vdp, kPage0);
    const auto page1 = decodePage<RgbLine256>(vdp, kPage1);
    for (int x = 0; x < kNarrowWidth; ++x) {
        const auto row = p.row(kNarrowWidth - 1 - x);
        copyColumn(*page0, x, row, 0, 1);
        copyColumn(*page1, x, row, kPictureLines, 1);
    }
}

using ViewRenderer = void (*)(VdpState&, Picture&);

// Indexed by ViewMode, like the image sizes of view_geometry.
constexpr std::array<ViewRenderer, kViewModeCount> kViewRenderers{
    renderPlain,        renderMagnified,        renderInterlaced,        renderJoined,
    renderPlainRotated, renderMagnifiedRotated, renderInterlacedRotated, renderJoinedRotated,
};

} // namespace

Picture::Picture(const Picture& other) {
    *this = other;
}

Picture& Picture::operator=(const Picture& other) {
    if (this != &other) {
        resize(other.width_, other.height_);
        std::copy(other.pixels().begin(), other.pixels().end(), storage_.get());
    }
    return *this;
}

void Picture::resize(int width, int height) {
    const auto count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (count > capacity_) {
        storage_ = std::make_unique_for_overwrite<RgbTriple[]>(count);
        capacity_ = count;
    }
    width_ = width;
    height_ = height;
}

bool operator==(const Picture& a, const Picture& b) {
    return a.width_ == b.width_ && a.height_ == b.height_ &&
           std::equal(a.pixels().begin(), a.pixels().end(), b.pixels().begin());
}

std::span<const RgbTriple> Picture::pixels() const {
    return {storage_.get(), static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_)};
}

std::span<const RgbTriple> Picture::row(int r) const {
    return pixels().subspan(static_cast<std::size_t>(r) * static_cast<std::size_t>(width_),
                            static_cast<std::size_t>(width_));
}

std::span<RgbTriple> Picture::row(int r) {
    const auto w = static_cast<std::size_t>(width_);
    return {storage_.get() + static_cast<std::size_t>(r) * w, w};
}

void renderPicture(VdpState& vdp, ViewMode viewMode, Picture& picture) {
    const auto size = imageSizeOf(viewMode);
    if (!size) {
        picture.resize(0, 0);
        return;
    }
    picture.resize(size->width, size->height);
    kViewRenderers.at(static_cast<std::size_t>(viewMode))(vdp, picture);
}

} // namespace tessarin
