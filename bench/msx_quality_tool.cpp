// The measuring half of bench/msx_quality.sh: the mean CIEDE2000 difference of two
// pictures, and the simple baselines the screen 2 and screen 12 encoders are compared with.
//   msx-quality-tool diff REFERENCE RESULT       prints the mean CIEDE2000
//   msx-quality-tool sc2-pairs REFERENCE OUT.png each 8x1 run the two standard colours most
//                                                of its pixels are nearest to
//   msx-quality-tool sc12-mean REFERENCE OUT.png each 4-pixel group from its mean J and K
#include "image/image_input.h"
#include "image/oklab.h"
#include "image/png_encoder.h"
#include "platform/file_error.h"
#include "vdp/colour_model.h"
#include "vdp/vdp_state.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <string>

namespace {

using namespace tessarin;

struct CieLab {
    double l, a, b;
};

CieLab cieLabOf(const RgbTriple& c) {
    const auto linear = [](int v) {
        const double e = v / 255.0;
        return e <= 0.04045 ? e / 12.92 : std::pow((e + 0.055) / 1.055, 2.4);
    };
    const double r = linear(c.red), g = linear(c.green), b = linear(c.blue);
    const double x = (0.4124 * r + 0.3576 * g + 0.1805 * b) / 0.95047;
    const double y = 0.2126 * r + 0.7152 * g + 0.0722 * b;
    const double z = (0.0193 * r + 0.1192 * g + 0.9505 * b) / 1.08883;
    const auto f = [](double t) {
        return t > 216.0 / 24389 ? std::cbrt(t) : (24389.0 / 27 * t + 16) / 116;
    };
    return {116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z))};
}

// CIEDE2000 (Sharma, Wu and Dalal's formulation), kL = kC = kH = 1.
double ciede2000(CieLab p, CieLab q) {
    constexpr double kPi = std::numbers::pi;
    const auto rad = [](double d) { return d * kPi / 180; };
    const double c1 = std::hypot(p.a, p.b), c2 = std::hypot(q.a, q.b);
    const double cm = (c1 + c2) / 2;
    const double g = 0.5 * (1 - std::sqrt(std::pow(cm, 7) / (std::pow(cm, 7) + std::pow(25.0, 7))));
    const double a1 = (1 + g) * p.a, a2 = (1 + g) * q.a;
    const double c1p = std::hypot(a1, p.b), c2p = std::hypot(a2, q.b);
    const auto hue = [](double b, double a) {
        if (a == 0 && b == 0) {
            return 0.0;
        }
        const double h = std::atan2(b, a) * 180 / kPi;
        return h < 0 ? h + 360 : h;
    };
    const double h1 = hue(p.b, a1), h2 = hue(q.b, a2);
    const double dl = q.l - p.l, dc = c2p - c1p;
    double dh = 0;
    if (c1p * c2p != 0) {
        dh = h2 - h1;
        dh = dh > 180 ? dh - 360 : dh < -180 ? dh + 360 : dh;
    }
    const double dH = 2 * std::sqrt(c1p * c2p) * std::sin(rad(dh / 2));
    const double lm = (p.l + q.l) / 2, cpm = (c1p + c2p) / 2;
    double hm = h1 + h2;
    if (c1p * c2p != 0) {
        hm = std::abs(h1 - h2) <= 180 ? hm / 2 : (hm < 360 ? (hm + 360) / 2 : (hm - 360) / 2);
    }
    const double t = 1 - 0.17 * std::cos(rad(hm - 30)) + 0.24 * std::cos(rad(2 * hm)) +
                     0.32 * std::cos(rad(3 * hm + 6)) - 0.20 * std::cos(rad(4 * hm - 63));
    const double sl = 1 + 0.015 * (lm - 50) * (lm - 50) / std::sqrt(20 + (lm - 50) * (lm - 50));
    const double sc = 1 + 0.045 * cpm, sh = 1 + 0.015 * cpm * t;
    const double rt = -2 * std::sqrt(std::pow(cpm, 7) / (std::pow(cpm, 7) + std::pow(25.0, 7))) *
                      std::sin(rad(60 * std::exp(-std::pow((hm - 275) / 25, 2))));
    return std::sqrt(std::pow(dl / sl, 2) + std::pow(dc / sc, 2) + std::pow(dH / sh, 2) +
                     rt * (dc / sc) * (dH / sh));
}

void writePng(const Picture& picture, const std::string& file) {
    const std::vector<std::uint8_t> png = encodePng(picture);
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
}

int nearest(const std::vector<Lab>& colours, Lab c, int first) {
    int best = first;
    for (int i = first; i < static_cast<int>(colours.size()); ++i) {
        if (distance2(colours[i], c) < distance2(colours[best], c)) {
            best = i;
        }
    }
    return best;
}

Picture screen2Pairs(const Picture& in) {
    const PaletteRecord& palette = standardPalette(ColourModel::levels);
    const auto& level3 = colourLevels(ColourModel::levels).level3;
    std::vector<RgbTriple> rgb;
    std::vector<Lab> lab;
    for (int i = 0; i < 16; ++i) {
        rgb.push_back({level3[palette[2 * i] & 7], level3[palette[2 * i + 1] & 7],
                       level3[palette[2 * i] >> 4]});
        lab.push_back(oklabOf(rgb.back()));
    }
    Picture out = in;
    for (int y = 0; y < in.height(); ++y) {
        for (int x0 = 0; x0 < in.width(); x0 += 8) {
            std::array<int, 16> votes{};
            for (int i = 0; i < 8; ++i) {
                ++votes[nearest(lab, oklabOf(in.row(y)[x0 + i]), 1)];
            }
            const int first = static_cast<int>(std::ranges::max_element(votes) - votes.begin());
            votes[first] = -1;
            const int second = static_cast<int>(std::ranges::max_element(votes) - votes.begin());
            const std::vector<Lab> pair{lab[first], lab[second]};
            for (int i = 0; i < 8; ++i) {
                out.row(y)[x0 + i] =
                    rgb[nearest(pair, oklabOf(in.row(y)[x0 + i]), 0) == 0 ? first : second];
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
        std::fputs("usage: msx-quality-tool diff|sc2-pairs|sc12-mean REFERENCE OTHER\n", stderr);
        return 2;
    }
    try {
        const std::string command = argv[1];
        const Picture reference = readImageFile(argv[2]).picture;
        if (command == "diff") {
            const Picture other = readImageFile(argv[3]).picture;
            if (other.width() != reference.width() || other.height() != reference.height()) {
                std::fputs("pictures differ in size\n", stderr);
                return 1;
            }
            double sum = 0;
            for (std::size_t i = 0; i < reference.pixels().size(); ++i) {
                sum += ciede2000(cieLabOf(reference.pixels()[i]), cieLabOf(other.pixels()[i]));
            }
            std::printf("%.3f\n", sum / static_cast<double>(reference.pixels().size()));
        } else {
            writePng(command == "sc2-pairs" ? screen2Pairs(reference) : screen12Mean(reference),
                     argv[3]);
        }
    } catch (const FileError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
