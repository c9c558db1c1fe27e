#include "names/file_name_rule.h"
#include "tests/support/print_screen_mode.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <string_view>
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

// The desktop knows screen and palette files by the extensions the rule knows, but for
// those that other programs' files have too, where it goes by the content; packed with
// each packing too.
TEST(FileNameRule, MimeDataGlobsTheRulesExtensions) {
    const std::array<std::string_view, 3> byContent{"GRP", "PIC", "PAL"};
    std::ifstream in(std::string(TESSARIN_SOURCE_DIR) + "/packaging/tessarin-mime.xml");
    const std::string xml{std::istreambuf_iterator<char>(in), {}};
    const std::array<std::string, 3> packings{".zx0", ".zx7", ".apl"};
    std::string globs;
    std::string cassette;
    std::string packed; // each screen extension's glob packed with each packing
    const std::string mark = "<glob pattern=\"*.";
    for (auto at = xml.find(mark); at != std::string::npos; at = xml.find(mark, at + 1)) {
        const std::string glob =
            xml.substr(at + mark.size(), xml.find('"', at + mark.size()) - at - mark.size());
        const bool isPacked = std::any_of(packings.begin(), packings.end(),
                                          [&](const std::string& p) { return glob.ends_with(p); });
        (isPacked ? packed : glob == "cas" ? cassette : globs) += glob + ' ';
    }
    std::string expected;
    std::string expectedPacked;
    std::vector<std::string_view> extensions;
    for (const std::string& packing : packings) {
        for (const auto& e : kScreenExtensions) {
            if (std::find(byContent.begin(), byContent.end(), e.extension) == byContent.end()) {
                expectedPacked += std::string(e.extension) + packing + ' ';
            }
        }
    }
    for (const auto& e : kScreenExtensions) {
        extensions.push_back(e.extension);
    }
    extensions.insert(extensions.end(), kPaletteExtensions.begin(), kPaletteExtensions.end());
    for (const std::string_view e : extensions) {
        if (std::find(byContent.begin(), byContent.end(), e) == byContent.end()) {
            expected += std::string(e) + ' ';
        }
    }
    for (std::string* text : {&expected, &expectedPacked}) {
        std::transform(text->begin(), text->end(), text->begin(),
                       [](char c) { return static_cast<char>(std::tolower(c)); });
    }
    EXPECT_EQ(globs, expected);
    EXPECT_EQ(packed, expectedPacked);
    EXPECT_EQ(cassette, "cas ");
}

} // namespace
} // namespace tessarin
