#include "dialogs/hex_dump.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tessarin {
namespace {

std::vector<std::uint8_t> countingBytes(std::size_t count) {
    std::vector<std::uint8_t> bytes(count);
    for (std::size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<std::uint8_t>(i);
    }
    return bytes;
}

TEST(HexDump, WholeGroupsOfEightOfTheFirst256Bytes) {
    const struct {
        std::size_t size;
        std::size_t lines;
        std::string last;
    } cases[] = {
        {300, 32, "00F8 F8 F9 FA FB FC FD FE FF"}, // only the first 256 bytes
        {256, 32, "00F8 F8 F9 FA FB FC FD FE FF"},
        {24, 3, "0010 10 11 12 13 14 15 16 17"},
        {23, 2, "0008 08 09 0A 0B 0C 0D 0E 0F"}, // the short group is left out
        {15, 1, "0000 00 01 02 03 04 05 06 07"},
        {8, 1, "0000 00 01 02 03 04 05 06 07"},
        {7, 0, ""},
        {0, 0, ""},
    };
    for (const auto& c : cases) {
        const auto bytes = countingBytes(c.size);
        const auto lines = hexDumpLines(bytes);
        ASSERT_EQ(lines.size(), c.lines) << c.size;
        if (c.lines > 0) {
            EXPECT_EQ(lines.front(), "0000 00 01 02 03 04 05 06 07") << c.size;
            EXPECT_EQ(lines.back(), c.last) << c.size;
        }
    }
}

TEST(HexDump, DigitsAreUpperCaseWithLeadingZeros) {
    const std::vector<std::uint8_t> bytes{0xAB, 0xCD, 0xEF, 0x0A, 0x00, 0xFF, 0x10, 0x9C};
    EXPECT_EQ(hexDumpLines(bytes), std::vector<std::string>{"0000 AB CD EF 0A 00 FF 10 9C"});
}

} // namespace
} // namespace tessarin
