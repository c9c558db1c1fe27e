#include "document/file_name_rule.h"
#include "document/view_geometry.h"

#include <gtest/gtest.h>
#include <string>

namespace tessarin {
namespace {

TEST(FileNameRule, ThirdFromEndPicksPaletteElseLastCharPicksMode) {
    const struct {
        std::string name;
        FileNameChoice choice;
    } cases[] = {
        {"COLORS.PAL", {FileSlot::palette, std::nullopt}},
        {"PIC.PL7", {FileSlot::palette, std::nullopt}}, // palette wins over the mode digit
        {"pic.pl5", {FileSlot::palette, std::nullopt}},
        {"PIC.SC5", {FileSlot::vram0, 5}},
        {"PIC.SC6", {FileSlot::vram0, 6}},
        {"PIC.SC7", {FileSlot::vram0, 7}},
        {"PIC.SC8", {FileSlot::vram0, 8}},
        {"PIC.SCA", {FileSlot::vram0, 10}},
        {"pic.scb", {FileSlot::vram0, 10}},
        {"PIC.SCC", {FileSlot::vram0, 12}},
        {"PIC.SRS", {FileSlot::vram0, 12}},
        {"pic.srs", {FileSlot::vram0, 12}},
        {"PIC.GE5", {FileSlot::vram0, 5}}, // only the last character counts
        {"PIC.BMP", {FileSlot::vram0, std::nullopt}},
        {"/a.p/PIC.SC9", {FileSlot::vram0, std::nullopt}},
        {"Pxy", {FileSlot::palette, std::nullopt}},
        {"P7", {FileSlot::vram0, 7}}, // too short to be a palette
        {"7", {FileSlot::vram0, 7}},
        {"x", {FileSlot::vram0, std::nullopt}},
        {"", {FileSlot::vram0, std::nullopt}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(chooseByFileName(c.name), c.choice) << '"' << c.name << '"';
    }
}

TEST(ViewGeometry, EachViewModeHasItsImageSize) {
    const std::optional<ImageSize> expected[] = {
        ImageSize{256, 212}, ImageSize{512, 424}, ImageSize{512, 424}, ImageSize{256, 424},
        ImageSize{212, 256}, ImageSize{424, 512}, ImageSize{424, 512}, ImageSize{424, 256},
    };
    for (int mode = 0; mode < 8; ++mode) {
        EXPECT_EQ(imageSizeOf(static_cast<ViewMode>(mode)), expected[mode]) << mode;
    }
    EXPECT_EQ(imageSizeOf(static_cast<ViewMode>(-1)), std::nullopt);
    EXPECT_EQ(imageSizeOf(static_cast<ViewMode>(8)), std::nullopt);
    EXPECT_EQ(viewModeOf(ViewSize::interlace512x424, true), ViewMode::interlace512x424Rotated);
    EXPECT_EQ(viewModeOf(ViewSize::joint256x424, false), ViewMode::joint256x424);
}

} // namespace
} // namespace tessarin
