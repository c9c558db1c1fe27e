#include "vdp/pattern_layout.h"
#include "vdp/screen_modes.h"
#include "vdp/vdp_state.h"

#include <gtest/gtest.h>

namespace tessarin {
namespace {

TEST(ScreenModes, FindsTheLineWidthOfEachNumberedModeAndNothingForOthers) {
    struct Case {
        int number;
        int lineWidth; // 0: not a mode of the VDP
    };
    const Case cases[] = {{5, 256}, {6, 512},  {7, 512}, {8, 256}, {10, 256}, {11, 256}, {12, 256},
                          {0, 256}, {80, 512}, {1, 256}, {4, 256}, {9, 0},    {13, 0}};
    for (const Case& c : cases) {
        const std::optional<ScreenMode> mode = screenModeFromNumber(c.number);
        if (c.lineWidth == 0) {
            EXPECT_EQ(mode, std::nullopt) << c.number;
        } else {
            ASSERT_NE(mode, std::nullopt) << c.number;
            EXPECT_EQ(findScreenMode(*mode)->lineWidth, c.lineWidth) << c.number;
        }
    }
}

// Each line holds its pixels exactly, the pages fill the VRAM, and the palette table
// lies in page 0 below the page's end and clear of the picture.
TEST(ScreenModes, EveryModeFitsItsPicturesAndPaletteIntoVram) {
    for (const ScreenModeFacts& m : kScreenModes) {
        SCOPED_TRACE(static_cast<int>(m.mode));
        EXPECT_EQ(static_cast<std::size_t>(m.pageSize) * static_cast<std::size_t>(m.pageCount),
                  kVramSize);
        if (m.decoder == Decoder::text) { // a row's bytes are its 6-pixel characters' names
            EXPECT_LT(m.bytesPerLine * kTextCharPixels, m.lineWidth);
            EXPECT_GE(m.paletteTable, static_cast<std::uint32_t>(kNameRows * m.bytesPerLine));
            continue;
        }
        EXPECT_EQ(m.lineWidth * m.bitsPerPixel, 8 * m.bytesPerLine);
        EXPECT_GE(m.paletteTable, static_cast<std::uint32_t>(kPictureLines * m.bytesPerLine));
        EXPECT_LE(m.paletteTable + kPaletteSize, static_cast<std::uint32_t>(m.pageSize));
        EXPECT_LE(m.paletteColours, kPaletteColours);
    }
}

} // namespace
} // namespace tessarin
