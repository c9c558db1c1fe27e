#include "document/file_browsing.h"
#include "tests/platform/scratch_dir.h"

#include <gtest/gtest.h>

namespace tessarin {
namespace {

TEST(CompareNatural, IgnoresCaseAndComparesRunsOfDigitsByValue) {
    const struct {
        const char* a;
        const char* b;
        int order;
    } cases[] = {
        {"PIC2.SC5", "pic10.sc5", -1},  {"pic10.sc5", "PIC2.SC5", 1},  {"a.sc5", "B.SC5", -1},
        {"IMG007.SC8", "img7.sc8", -1}, {"img7.sc8", "IMG007.SC8", 1}, {"X1", "X1A", -1},
        {"A.SC5", "a.sc5", -1},         {"Z9.SC7", "Z9.SC7", 0},       {"10", "9A", 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(compareNatural(c.a, c.b), c.order) << c.a << " " << c.b;
    }
}

TEST(Browsing, StepsThroughTheScreenFilesOfTheFolderWithTheirPalettes) {
    const test::ScratchDir dir;
    for (const char* name : {"P10.SC5", "p2.sc7", "P2.PL7", "P1.SC8", "NOTES.TXT", "P3.BMP"}) {
        test::writeBytes(dir.file(name), {1});
    }
    const struct {
        const char* from;
        int step;
        const char* to; // "" for nothing
        const char* palette;
    } cases[] = {
        {"P1.SC8", 1, "p2.sc7", "P2.PL7"},
        {"p2.sc7", 1, "P10.SC5", ""},
        {"P10.SC5", 1, "", ""},
        {"P10.SC5", -1, "p2.sc7", "P2.PL7"},
        {"P1.SC8", -1, "", ""},
        {"GONE.SC5", 1, "P1.SC8", ""}, // a vanished file keeps its place
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.from) + " " + std::to_string(c.step));
        const auto to = neighbourScreenFile(dir.file(c.from), c.step);
        EXPECT_EQ(to.value_or(""), *c.to ? dir.file(c.to) : "");
        if (to) {
            EXPECT_EQ(matchingPaletteFile(*to).value_or(""), *c.palette ? dir.file(c.palette) : "");
        }
    }
}

} // namespace
} // namespace tessarin
