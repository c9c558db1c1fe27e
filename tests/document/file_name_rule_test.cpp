#include "document/file_name_rule.h"
#include "document/view_geometry.h"
#include "tests/support/print_screen_mode.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tessarin {
namespace {

TEST(FileNameRule, WholeExtensionThenPaletteMarkThenLastChar) {
    const struct {
        std::string name;
        FileNameChoice choice;
    } cases[] = {
        {"COLORS.PAL", {FileSlot::palette, std::nullopt}},
        {"PIC.PL7", {FileSlot::palette, std::nullopt}}, // palette wins over the mode digit
        {"pic.pl5", {FileSlot::palette, std::nullopt}},
        {"PIC.SC5", {FileSlot::vram0, ScreenMode::screen5}},
        {"PIC.SC6", {FileSlot::vram0, ScreenMode::screen6}},
        {"PIC.SC7", {FileSlot::vram0, ScreenMode::screen7}},
        {"PIC.SC8", {FileSlot::vram0, ScreenMode::screen8}},
        {"PIC.SCA", {FileSlot::vram0, ScreenMode::screen10}},
        {"pic.scb", {FileSlot::vram0, ScreenMode::screen10}},
        {"PIC.SCC", {FileSlot::vram0, ScreenMode::screen12}},
        {"PIC.SRS", {FileSlot::vram0, ScreenMode::screen12}},
        {"pic.srs", {FileSlot::vram0, ScreenMode::screen12}},
        {"PIC.GE5", {FileSlot::vram0, ScreenMode::screen5}},
        {"PIC.GE7", {FileSlot::vram0, ScreenMode::screen7}},
        {"pic.s12", {FileSlot::vram0, ScreenMode::screen12}},
        {"PIC.SRC", {FileSlot::vram0, ScreenMode::screen12}},
        {"PIC.SRA", {FileSlot::vram0, ScreenMode::screen10}},
        {"PIC.S10", {FileSlot::vram0, ScreenMode::screen10}},
        {"PIC.S11", {FileSlot::vram0, ScreenMode::screen10}},
        {"PIC.SR5", {FileSlot::vram0, ScreenMode::screen5}},
        {"PIC.Sr8", {FileSlot::vram0, ScreenMode::screen8}},
        {"PIC.SC2", {FileSlot::vram0, ScreenMode::screen2}},
        {"PIC.SC4", {FileSlot::vram0, ScreenMode::screen4}},
        {"PIC.GRP", {FileSlot::vram0, ScreenMode::screen2}},
        {"PIC.S70", {FileSlot::vram0, ScreenMode::screen7}},
        {"PIC.S1A", {FileSlot::vram0, ScreenMode::screen10, true}},
        {"PIC.S17", {FileSlot::vram0, ScreenMode::screen7, true}},
        {"PIC.S71", {FileSlot::vram0, ScreenMode::screen7, true}},
        {"PIC.PIC", {FileSlot::vram0, std::nullopt}},     // a screen file despite its "P"
        {"/x.sc5/NAME", {FileSlot::vram0, std::nullopt}}, // the directory's extension is not
        {"PIC.BMP", {FileSlot::vram0, std::nullopt}},
        {"/a.p/PIC.SC9", {FileSlot::vram0, std::nullopt}},
        {"Pxy", {FileSlot::palette, std::nullopt}},
        {"P7", {FileSlot::vram0, ScreenMode::screen7}}, // too short to be a palette
        {"7", {FileSlot::vram0, ScreenMode::screen7}},
        {"x", {FileSlot::vram0, std::nullopt}},
        {"", {FileSlot::vram0, std::nullopt}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(chooseByFileName(c.name), c.choice) << '"' << c.name << '"';
    }
}

TEST(FileNameRule, CompanionsAreFoundByBaseNameInAnyCase) {
    const std::vector<std::string> names{"A.SC7", "a.s17", "B.S70", "B.s71", "C.S15", "D.SC8"};
    const struct {
        const char* name;
        std::optional<std::string> companion;
        bool isCompanion;
    } cases[] = {
        {"A.SC7", "a.s17", false},      {"a.s17", std::nullopt, true},  {"B.s70", "B.s71", false},
        {"B.s71", std::nullopt, true},  {"C.S15", std::nullopt, false}, // no C.SC5
        {"D.SC8", std::nullopt, false}, {"dir/A.sc7", "a.s17", false},  {"A", std::nullopt, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(companionOf(c.name, names), c.companion) << c.name;
        EXPECT_EQ(isCompanion(c.name, names), c.isCompanion) << c.name;
    }
}

// The desktop knows screen and palette files by the extensions the rule knows.
TEST(FileNameRule, MimeDataGlobsTheRulesExtensions) {
    std::ifstream in(std::string(TESSARIN_SOURCE_DIR) + "/packaging/tessarin-mime.xml");
    const std::string xml{std::istreambuf_iterator<char>(in), {}};
    std::string globs;
    const std::string mark = "<glob pattern=\"*.";
    for (auto at = xml.find(mark); at != std::string::npos; at = xml.find(mark, at + 1)) {
        globs +=
            xml.substr(at + mark.size(), xml.find('"', at + mark.size()) - at - mark.size()) + ' ';
    }
    std::string expected;
    for (const auto& e : kScreenExtensions) {
        expected += std::string(e.extension) + ' ';
    }
    for (const auto& e : kPaletteExtensions) {
        expected += std::string(e) + ' ';
    }
    std::transform(expected.begin(), expected.end(), expected.begin(),
                   [](char c) { return static_cast<char>(std::tolower(c)); });
    EXPECT_EQ(globs, expected);
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
