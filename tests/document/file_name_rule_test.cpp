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
        {"COLORS.PAL", {fsPalette, std::nullopt}},
        {"PIC.PL7", {fsPalette, std::nullopt}}, // palette wins over the mode digit
        {"pic.pl5", {fsPalette, std::nullopt}},
        {"PIC.SC5", {fsVram0, 5}},
        {"PIC.SC6", {fsVram0, 6}},
        {"PIC.SC7", {fsVram0, 7}},
        {"PIC.SC8", {fsVram0, 8}},
        {"PIC.SCA", {fsVram0, 10}},
        {"pic.scb", {fsVram0, 10}},
        {"PIC.SCC", {fsVram0, 12}},
        {"PIC.SRS", {fsVram0, 12}},
        {"pic.srs", {fsVram0, 12}},
        {"PIC.GE5", {fsVram0, 5}}, // only the last character counts
        {"PIC.BMP", {fsVram0, std::nullopt}},
        {"/a.p/PIC.SC9", {fsVram0, std::nullopt}},
        {"Pxy", {fsPalette, std::nullopt}},
        {"P7", {fsVram0, 7}}, // too short to be a palette
        {"7", {fsVram0, 7}},
        {"x", {fsVram0, std::nullopt}},
        {"", {fsVram0, std::nullopt}},
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
        EXPECT_EQ(imageSizeOf(mode), expected[mode]) << mode;
    }
    EXPECT_EQ(imageSizeOf(-1), std::nullopt);
    EXPECT_EQ(imageSizeOf(8), std::nullopt);
    EXPECT_EQ(viewModeOf(vs512x424int, true), vm512x424intRot);
    EXPECT_EQ(viewModeOf(vs256x424joi, false), vm256x424joi);
}

} // namespace
} // namespace tessarin
