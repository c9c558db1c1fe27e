#include "catalog/file_source.h"
#include "tests/platform/scratch_dir.h"

#include <gtest/gtest.h>

namespace tessarin {
namespace {

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
        const auto to = fileSource().neighbourScreenFile(Location::of(dir.file(c.from)), c.step);
        EXPECT_EQ(to ? to->path() : "", *c.to ? dir.file(c.to) : "");
        if (to) {
            const auto palette = fileSource().paletteOf(*to);
            EXPECT_EQ(palette ? palette->path() : "", *c.palette ? dir.file(c.palette) : "");
        }
    }
}

} // namespace
} // namespace tessarin
