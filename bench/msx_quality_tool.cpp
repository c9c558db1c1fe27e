// The measuring half of bench/msx_quality.sh: the two error figures of two pictures, and
// the simple baselines the screen 2 and screen 12 encoders are compared with.
//   msx-quality-tool diff REFERENCE RESULT       prints the mean CIEDE2000 pixel by pixel
//                                                and of both pictures blurred
//   msx-quality-tool sc2-pairs REFERENCE OUT.png each 8x1 run the two standard colours most
//                                                of its pixels are nearest to in sRGB
//   msx-quality-tool sc2-floor REFERENCE OUT.png each pixel its CIEDE2000-nearest standard
//                                                colour, two a run or not: no screen 2
//                                                file is nearer
//   msx-quality-tool sc12-mean REFERENCE OUT.png each 4-pixel group from its mean J and K
#include "convert/ciede2000.h"
#include "convert/eye_error.h"
#include "convert/oklab.h"
#include "document/image_source.h"
#include "image/image_input.h"
#include "image/png_encoder.h"
#include "platform/file_error.h"
#include "vdp/colour_model.h"
#include "vdp/vdp_state.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

namespace {

using namespace tessarin;

void writePng(const Picture& picture, const std::string& file) {
    const std::vector<std::uint8_t> png = encodePng(picture);
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
}

// The nearest of colours from first on, by distance in sRGB as a converter without a
// perceptual space picks.
int nearest(const std::vector<RgbTriple>& colours, RgbTriple c, int first) {
    const auto distance = [c](RgbTriple o) {
        const int r = o.red - c.red, g = o.green - c.green, b = o.blue - c.blue;
        return r * r + g * g + b * b;
    };
    int best = first;
    for (int i = first; i < static_cast<int>(colours.size()); ++i) {
        if (distance(colours[i]) < distance(colours[best])) {
            best = i;
        }
    }
    return best;
}

// The standard palette's colours 0 to 15 under the file levels.
std::vector<RgbTriple> standardColours() {
    const auto vdp = std::make_unique<VdpState>(); // file levels, the standard palette
    return {vdp->paletteRgb().begin(), vdp->paletteRgb().end()};
}

Picture screen2Floor(const Picture& in) {
    const std::vector<RgbTriple> rgb = standardColours();
    Picture out = in;
    for (RgbTriple& p : out.pixels()) {
        const CieLab want = cieLabOf(p);
        const auto difference = [&](const RgbTriple& c) { return ciede2000(want, cieLabOf(c)); };
        setColour(p, *std::ranges::min_element(rgb.begin() + 1, rgb.end(), {}, difference));
    }
    return out;
}

Picture screen2Pairs(const Picture& in) {
    const std::vector<RgbTriple> rgb = standardColours();
    Picture out = in;
    for (int y = 0; y < in.height(); ++y) {
        for (int x0 = 0; x0 < in.width(); x0 += 8) {
            std::array<int, 16> votes{};
            for (int i = 0; i < 8; ++i) {
                ++votes[nearest(rgb, in.row(y)[x0 + i], 1)];
            }
            const int first = static_cast<int>(std::ranges::max_element(votes) - votes.begin());
            votes[first] = -1;
            const int second = static_cast<int>(std::ranges::max_element(votes) - votes.begin());
            const std::vector<RgbTriple> pair{rgb[first], rgb[second]};
            for (int i = 0; i < 8; ++i) {
                out.row(y)[x0 + i] = pair[nearest(pair, in.row(y)[x0 + i], 0)];
            }
        }
    }
    return out;
}

Picture screen12Mean(const Picture& in) {
    const auto& level5 = colourLevels(ColourModel::levels).level5;
    const auto clamp = [](int v) { return std::clamp(v, 0, 31); };
    Picture out = in;
    for (int y = 0; y < in.height(); ++y) {
        for (int x0 = 0; x0 < in.width(); x0 += 4) {
            double js = 0, ks = 0;
            for (int i = 0; i < 4; ++i) {
                const RgbTriple& c = in.row(y)[x0 + i];
                const double r = c.red * 31 / 255.0, g = c.green * 31 / 255.0,
                             b = c.blue * 31 / 255.0;
                const double luma = (4 * b + 2 * r + g) / 8;
                js += r - luma;
                ks += g - luma;
            }
            const int j = std::clamp(static_cast<int>(std::lround(js / 4)), -32, 31);
            const int k = std::clamp(static_cast<int>(std::lround(ks / 4)), -32, 31);
            for (int i = 0; i < 4; ++i) {
                const Lab want = oklabOf(in.row(y)[x0 + i]);
                RgbTriple best{};
                float bestD = 1e9F;
                for (int yv = 0; yv < 32; ++yv) {
                    const RgbTriple c{level5[clamp((5 * yv - 2 * j - k) / 4)],
                                      level5[clamp(yv + k)], level5[clamp(yv + j)]};
                    if (distance2(oklabOf(c), want) < bestD) {
                        bestD = distance2(oklabOf(c), want);
                        best = c;
                    }
                }
                out.row(y)[x0 + i] = best;
            }
        }
    }
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fputs("usage: msx-quality-tool diff|sc2-pairs|sc2-floor|sc12-mean REFERENCE OTHER\n",
                   stderr);
        return 2;
    }
    try {
        const std::string command = argv[1];
        const Picture reference = readSourceImage(fileSource(), Location::of(argv[2])).picture;
        if (command == "diff") {
            const Picture other = readSourceImage(fileSource(), Location::of(argv[3])).picture;
            if (other.width() != reference.width() || other.height() != reference.height()) {
                std::fputs("pictures differ in size\n", stderr);
                return 1;
            }
            const ColourErrorFigures error = colourError(reference, other);
            std::printf("%.2f %.2f\n", error.pixel, error.blurred);
        } else {
            writePng(command == "sc2-pairs"   ? screen2Pairs(reference)
                     : command == "sc2-floor" ? screen2Floor(reference)
                                              : screen12Mean(reference),
                     argv[3]);
        }
    } catch (const FileError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
