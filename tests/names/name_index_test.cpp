#include "names/file_name_rule.h"
#include "names/name_index.h"

#include <gtest/gtest.h>

namespace tessarin {
namespace {

NameIndex indexOf(std::initializer_list<const char*> names) {
    std::vector<NamedFile> files;
    for (const char* name : names) {
        files.push_back({name, chooseByFileName(name).slot});
    }
    return NameIndex(std::move(files));
}

TEST(NameIndex, CompanionsAreFoundBesideTheirScreenFileInAnyCase) {
    const NameIndex index = indexOf({"A.SC7", "a.s17", "B.S70", "B.s71", "C.S15", "D.SC8"});
    const struct {
        const char* name;
        std::optional<std::string> companion;
        bool shownWithItsScreen;
    } cases[] = {
        // clang-format off
        {"A.SC7", "a.s17", false}, {"a.s17", std::nullopt, true}, {"B.s70", "B.s71", false},
        {"B.s71", std::nullopt, true}, {"C.S15", std::nullopt, false}, // no C.SC5
        {"D.SC8", std::nullopt, false}, {"dir/A.sc7", std::nullopt, false}, {"A", std::nullopt, false},
        // clang-format on
    };
    for (const auto& c : cases) {
        EXPECT_EQ(index.companionOf(c.name), c.companion) << c.name;
        EXPECT_EQ(index.isShownWithItsScreen(c.name), c.shownWithItsScreen) << c.name;
    }
}

// A palette pairs by base name, ASCII case ignored; of several the first in natural order,
// whatever order the candidates come in.
TEST(NameIndex, PairsThePaletteOfTheBaseNameFirstInNaturalOrder) {
    const NameIndex index = indexOf({"c/pic.pl7", "b/PIC.PL5", "x/Pic.PL5", "PIC10.PL5", "pic9.pl5",
                                     "a/PIC.SC5", "d/pic.pl5", "ÄB.PL5"});
    const struct {
        const char* screen;
        std::optional<std::string> palette;
    } cases[] = {
        {"PIC.SC5", "b/PIC.PL5"},   {"pic.sc8", "b/PIC.PL5"},   {"PIC9.SC5", "pic9.pl5"},
        {"PIC10.SC5", "PIC10.PL5"}, {"NONE.SC5", std::nullopt}, {"äb.SC5", std::nullopt},
        {"ÄB.SC5", "ÄB.PL5"},       {".SC5", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(index.paletteOf(c.screen), c.palette) << c.screen;
    }
}

} // namespace
} // namespace tessarin
