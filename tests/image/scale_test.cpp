#include "image/scale.h"

#include <gtest/gtest.h>

namespace tessarin {
namespace {

// A picture of grey levels, one row per inner vector.
Picture greys(const std::vector<std::vector<std::uint8_t>>& rows) {
    Picture p;
    p.resize(static_cast<int>(rows.front().size()), static_cast<int>(rows.size()));
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t x = 0; x < rows[r].size(); ++x) {
            const std::uint8_t g = rows[r][x];
            p.row(static_cast<int>(r))[x] = {g, g, g};
        }
    }
    return p;
}

struct ScaleCase {
    const char* what;
    Picture source;
    Picture expected;
};

TEST(Scale, ShrinksByAreaAverageAndGrowsLinearly) {
    const std::vector<ScaleCase> cases{
        {"same size", greys({{1, 2}, {3, 4}}), greys({{1, 2}, {3, 4}})},
        {"halved: the mean of each 2x2", greys({{0, 100, 8, 8}, {100, 200, 8, 8}}),
         greys({{100, 8}})},
        {"a third covered in part", greys({{0, 0, 90}}), greys({{0, 60}})},
        {"doubled: blends of the two nearest", greys({{0, 200}}), greys({{0, 50, 150, 200}})},
    };
    for (const ScaleCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(scalePicture(c.source, c.expected.width(), c.expected.height()), c.expected);
    }
}

} // namespace
} // namespace tessarin
