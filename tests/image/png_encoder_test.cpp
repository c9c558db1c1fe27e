// The encoder's files decoded by libpng: the colour type fits the picture's colours
// and every pixel comes back unchanged.
#include "image/png_encoder.h"
#include "image_files.h"
#include "run_process.h"

#include <gtest/gtest.h>

namespace tessarin::testing {
namespace {

// A picture of 37 x 11 (rows not a whole number of bytes at any depth) cycling through
// the given number of distinct colours.
Picture pictureOf(int colours) {
    constexpr int kWidth = 37;
    constexpr int kHeight = 11;
    Picture p;
    p.resize(kWidth, kHeight);
    for (int i = 0; i < kWidth * kHeight; ++i) {
        const int c = i * 7 % colours;
        p.row(i / kWidth)[static_cast<std::size_t>(i % kWidth)] = {
            static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 8),
            static_cast<std::uint8_t>(255 - c % 256)};
    }
    return p;
}

struct ColourCase {
    int colours;
    int bitDepth;
    int colourType; // 3 indexed, 2 RGB
};

TEST(PngEncoder, SmallestColourTypeWithThePixelsUnchanged) {
    const std::vector<ColourCase> cases{{2, 1, 3}, {4, 2, 3}, {16, 4, 3}, {256, 8, 3}, {257, 8, 2}};
    const TempDir dir;
    for (const ColourCase& c : cases) {
        SCOPED_TRACE(c.colours);
        const Picture picture = pictureOf(c.colours);
        const std::vector<std::uint8_t> png = encodePng(picture);
        writeBytes(dir / "p.png", {png.begin(), png.end()});
        const PngLayout layout = pngLayout({png.begin(), png.end()});
        EXPECT_EQ(layout.bitDepth, c.bitDepth);
        EXPECT_EQ(layout.colourType, c.colourType);
        Pixels expected{picture.width(), picture.height(), {}};
        for (const RgbTriple& p : picture.pixels()) {
            expected.rgb.insert(expected.rgb.end(), {p.red, p.green, p.blue});
        }
        EXPECT_TRUE(pngPixels(dir / "p.png") == expected);
    }
}

} // namespace
} // namespace tessarin::testing
