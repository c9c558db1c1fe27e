#include "convert/fit_frame.h"

#include "image/scale.h"

#include <algorithm>
#include <cmath>

namespace tessarin {

namespace {

struct Area {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The part of source inside area, its transparent marks with it.
SourceImage cropped(const SourceImage& source, const Area& area) {
    SourceImage part;
    part.picture.resize(area.width, area.height);
    if (!source.transparent.empty()) {
        part.transparent.resize(static_cast<std::size_t>(area.width) * area.height);
    }
    for (int y = 0; y < area.height; ++y) {
        const auto from = source.picture.row(area.y + y).subspan(area.x, area.width);
        std::ranges::copy(from, part.picture.row(y).begin());
        if (!source.transparent.empty()) {
            const auto first = static_cast<std::size_t>(area.y + y) * source.picture.width() +
                               static_cast<std::size_t>(area.x);
            std::copy_n(source.transparent.begin() + static_cast<std::ptrdiff_t>(first), area.width,
                        part.transparent.begin() + static_cast<std::ptrdiff_t>(y) * area.width);
        }
    }
    return part;
}

int atLeastOne(double v, int most) {
    return std::clamp(static_cast<int>(std::lround(v)), 1, most);
}

} // namespace

FittedFrame fitFrame(const SourceImage& source, int width, int height, FitMode fit,
                     double pixelAspect, bool keepTransparent) {
    const int sw = source.picture.width();
    const int sh = source.picture.height();
    const double shownWidth = width * pixelAspect; // the frame in square pixels
    const double scale = fit == FitMode::contain ? std::min(shownWidth / sw, double(height) / sh)
                                                 : std::max(shownWidth / sw, double(height) / sh);
    Area content{0, 0, width, height};
    const SourceImage* from = &source;
    SourceImage part;
    if (fit == FitMode::contain) {
        content.width = atLeastOne(sw * scale / pixelAspect, width);
        content.height = atLeastOne(sh * scale, height);
        content.x = (width - content.width) / 2;
        content.y = (height - content.height) / 2;
    } else if (fit == FitMode::cover) {
        Area kept{0, 0, atLeastOne(shownWidth / scale, sw), atLeastOne(height / scale, sh)};
        kept.x = (sw - kept.width) / 2;
        kept.y = (sh - kept.height) / 2;
        part = cropped(source, kept);
        from = &part;
    }
    const Picture scaled = scalePicture(from->picture, content.width, content.height);
    FittedFrame frame;
    frame.picture.resize(width, height);
    std::ranges::fill(frame.picture.pixels(), RgbTriple{0, 0, 0});
    frame.zero.assign(static_cast<std::size_t>(width) * height, 1);
    const int fw = from->picture.width();
    const int fh = from->picture.height();
    for (int y = 0; y < content.height; ++y) {
        std::ranges::copy(scaled.row(y), frame.picture.row(content.y + y).begin() + content.x);
        // The transparent marks are sampled at each pixel's centre.
        const int sy = std::min(fh - 1, static_cast<int>((y + 0.5) * fh / content.height));
        for (int x = 0; x < content.width; ++x) {
            const int sx = std::min(fw - 1, static_cast<int>((x + 0.5) * fw / content.width));
            const bool transparent =
                keepTransparent && from->isTransparent(static_cast<std::size_t>(sy) * fw +
                                                       static_cast<std::size_t>(sx));
            const std::size_t at = static_cast<std::size_t>(content.y + y) * width +
                                   static_cast<std::size_t>(content.x + x);
            frame.zero[at] = transparent ? 1 : 0;
            if (transparent) {
                frame.picture.pixels()[at] = RgbTriple{0, 0, 0}; // colour 0 is black
            }
        }
    }
    return frame;
}

} // namespace tessarin
