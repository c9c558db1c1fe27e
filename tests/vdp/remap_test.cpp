#include "vdp_test_support.h"

#include <gtest/gtest.h>
#include <vector>

namespace tessarin {
namespace {

using test::makeVdp;

struct Shape {
    int width;       // pixels per VRAM line
    int bits;        // bits per pixel
    int lineBytes;   // bytes per VRAM line
    std::size_t end; // first address past the 212 rewritten lines
};

Shape shapeOf(ScreenMode mode) {
    switch (mode) {
    case ScreenMode::screen5:
        return {256, 4, 128, 0x6A00};
    case ScreenMode::screen6:
        return {512, 2, 128, 0x6A00};
    case ScreenMode::screen7:
        return {512, 4, 256, 0xD400};
    default:
        return {256, 8, 256, 0xD400};
    }
}

// Reads every packed pixel first, then lays the lines out afresh: no in-place tricks.
std::vector<std::uint8_t> referenceRemap(const std::vector<std::uint8_t>& vram, ScreenMode mode,
                                         int n) {
    const Shape s = shapeOf(mode);
    std::vector<std::uint8_t> out = vram;
    if (n >= s.width) {
        return out;
    }
    const int perByte = 8 / s.bits;
    const int mask = (1 << s.bits) - 1;
    auto pixelAt = [&](long p) {
        const int shift = 8 - s.bits * (1 + static_cast<int>(p % perByte));
        return (vram[static_cast<std::size_t>(p / perByte)] >> shift) & mask;
    };
    std::vector<int> pixels;
    for (long p = 0; p < 212L * (n > 0 ? n : 0); ++p) {
        pixels.push_back(pixelAt(p));
    }
    std::fill(out.begin(), out.begin() + static_cast<long>(s.end), std::uint8_t{0});
    for (int y = 0; y < 212; ++y) {
        for (int x = 0; x < n; ++x) {
            const int v = pixels[static_cast<std::size_t>(y * n + x)];
            const int shift = 8 - s.bits * (1 + x % perByte);
            out[static_cast<std::size_t>(y * s.lineBytes + x / perByte)] |=
                static_cast<std::uint8_t>(v << shift);
        }
    }
    return out;
}

TEST(Remap, MatchesStraightforwardRepackingForEveryMode) {
    for (const ScreenMode mode : test::kModes) {
        const int w = shapeOf(mode).width;
        for (const int n : {0, 1, 7, 101, w / 2 + 1, w - 1, w, w + 5}) {
            for (const std::int32_t page : {0, 1}) {
                auto vdp = makeVdp();
                test::fillRandom(*vdp, static_cast<std::uint32_t>(mode) * 1000 +
                                           static_cast<std::uint32_t>(n));
                vdp->setScreenMode(mode);
                vdp->selectPage(page);
                const std::vector<std::uint8_t> before(vdp->vram().begin(), vdp->vram().end());
                vdp->remapLinePixels(n);
                const std::vector<std::uint8_t> after(vdp->vram().begin(), vdp->vram().end());
                ASSERT_EQ(after, referenceRemap(before, mode, n))
                    << "mode " << mode << " n=" << n << " page " << page;
            }
        }
    }
}

TEST(Remap, FullWidthLeavesVramUnchanged) {
    for (const ScreenMode mode : test::kModes) {
        auto vdp = makeVdp();
        test::fillRandom(*vdp, static_cast<std::uint32_t>(mode));
        vdp->setScreenMode(mode);
        const auto before = vdp->vram();
        vdp->remapLinePixels(shapeOf(mode).width);
        EXPECT_TRUE(before == vdp->vram()) << "mode " << mode;
    }
}

TEST(Remap, Screen8With200PixelsPadsEachLineWithZeros) {
    auto vdp = makeVdp();
    test::fillRandom(*vdp, 8);
    vdp->setScreenMode(ScreenMode::screen8);
    const auto before = vdp->vram();
    vdp->remapLinePixels(200);
    for (int y = 0; y < 212; ++y) {
        for (int x = 0; x < 256; ++x) {
            const std::uint8_t expected = x < 200 ? before[200 * y + x] : 0;
            ASSERT_EQ(vdp->vram()[256 * y + x], expected) << y << "," << x;
        }
    }
    for (std::size_t a = 0xD400; a < kVramSize; ++a) {
        ASSERT_EQ(vdp->vram()[a], before[a]) << a;
    }
}

TEST(Remap, OddWidthLinesBeginInsideAByte) {
    auto vdp = makeVdp();
    test::fillRandom(*vdp, 55);
    vdp->setScreenMode(ScreenMode::screen5);
    const auto before = vdp->vram();
    vdp->remapLinePixels(255);
    // Line 1 begins with source pixel 255, the low half of byte 127.
    EXPECT_EQ(vdp->vram()[128] >> 4, before[127] & 15);
    for (int y = 0; y < 212; ++y) {
        ASSERT_EQ(vdp->vram()[128 * y + 127] & 15, 0) << y;
    }

    auto v6 = makeVdp();
    test::fillRandom(*v6, 66);
    v6->setScreenMode(ScreenMode::screen6);
    const auto before6 = v6->vram();
    v6->remapLinePixels(510);
    EXPECT_EQ(v6->vram()[128] >> 6, (before6[127] >> 2) & 3);
    for (int y = 0; y < 212; ++y) {
        ASSERT_EQ(v6->vram()[128 * y + 127] & 15, 0) << y;
    }
}

TEST(Remap, NonPositiveWidthClearsThePictureLinesOnly) {
    for (const int n : {0, -1, -300}) {
        auto vdp = makeVdp();
        test::fillRandom(*vdp, 9);
        vdp->setScreenMode(ScreenMode::screen7);
        const auto before = vdp->vram();
        vdp->remapLinePixels(n);
        for (std::size_t a = 0; a < 0xD400; ++a) {
            ASSERT_EQ(vdp->vram()[a], 0) << n;
        }
        for (std::size_t a = 0xD400; a < kVramSize; ++a) {
            ASSERT_EQ(vdp->vram()[a], before[a]) << n;
        }
    }
}

} // namespace
} // namespace tessarin
