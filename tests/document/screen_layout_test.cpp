#include "formats/screen_layout.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace tessarin {
namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr std::uint8_t kOld = 0xEE; // VRAM before the file is laid

void put16(Bytes& b, unsigned value) { // little-endian
    b.insert(b.end(), {std::uint8_t(value), std::uint8_t(value >> 8)});
}
// A 7-byte header (id, start, end, execution address 0) and then body.
Bytes headed(std::uint8_t id, unsigned start, unsigned end, const Bytes& body) {
    Bytes b{id};
    put16(b, start), put16(b, end), put16(b, 0);
    b.insert(b.end(), body.begin(), body.end());
    return b;
}
// A COPY rectangle file: width, height, then the packed pixels.
Bytes rectangle(unsigned width, unsigned height, const Bytes& pixels) {
    Bytes b;
    put16(b, width), put16(b, height);
    b.insert(b.end(), pixels.begin(), pixels.end());
    return b;
}
// Screen 5: a 254 x 125 rectangle whose first bytes also make an exact BSAVE header of
// 7D00h-BB00h (size 4 + 127 x 125 + 1 = 7 + BB00h - 7D00h + 1).
Bytes exactTie() {
    Bytes b = rectangle(254, 125, Bytes(127 * 125 + 1, 0x5A));
    b[4] = 0xBB;
    return b;
}

TEST(ScreenLayout, EachKindIsRecognisedAndLaidWhereItBelongs) {
    const struct {
        const char* what;
        ScreenMode mode;
        Bytes file;
        std::uint32_t pageBase;
        LayoutKind kind;
        std::string description;
        VramRange written;
        std::vector<std::pair<std::uint32_t, std::uint8_t>> vram; // address, byte after
    } cases[] = {
        // clang-format off
        {"BSAVE exact", ScreenMode::screen7,
         headed(0xFE, 0, 3, {0x11, 0x22, 0x33, 0x44}), 0, LayoutKind::bsave,
         "BSAVE 0000–0003", {0, 4}, {{0, 0x11}, {3, 0x44}, {4, kOld}}},
        {"BSAVE short", ScreenMode::screen7,
         headed(0xFE, 0, 0xFF, Bytes(10, 0x5A)), 0, LayoutKind::bsave,
         "BSAVE 0000–00FF, 10 of 256 bytes", {0, 10}, {{9, 0x5A}, {10, kOld}}},
        {"BSAVE with bytes past its end", ScreenMode::screen7,
         headed(0xFE, 0x10, 0x11, {1, 2, 3, 4, 5}), 0,
         LayoutKind::bsave, "BSAVE 0010–0011", {0x10, 0x12}, {{0x11, 2}, {0x12, kOld}}},
        {"BSAVE on page 1", ScreenMode::screen7,
         headed(0xFE, 0xFFFF, 0xFFFF, {9}), 0x10000, LayoutKind::bsave,
         "BSAVE FFFF–FFFF", {0x1FFFF, 0x20000}, {{0x1FFFF, 9}}},
        {"BSAVE end below start is raw", ScreenMode::screen7,
         headed(0xFE, 0x100, 0, {1}), 0, LayoutKind::raw,
         "raw 8 bytes", {0, 8}, {{0, 0xFE}, {7, 1}}},
        {"BSAVE header alone is raw", ScreenMode::screen7,
         headed(0xFE, 0, 0x10, {}), 0, LayoutKind::raw,
         "raw 7 bytes", {0, 7}, {{0, 0xFE}}},
        {"exact COPY beats loose BSAVE", ScreenMode::screen8, rectangle(254, 1, Bytes(254, 1)), 0,
         LayoutKind::copyRectangle, "COPY 254×1", {0, 254}, {{0, 1}, {253, 1}, {254, kOld}}},
        {"exact BSAVE beats exact COPY", ScreenMode::screen5,
         exactTie(), 0, LayoutKind::bsave, "BSAVE 7D00–BB00",
         {0x7D00, 0xBB01}, {{0x7CFF, kOld}, {0x7D00, 0x5A}, {0xBB00, 0x5A}}},
        {"COPY 4 bits, odd width", ScreenMode::screen5, rectangle(3, 2, {0x12, 0x34, 0x56}), 0,
         LayoutKind::copyRectangle, "COPY 3×2", {0, 130},
         {{0, 0x12}, {1, 0x3E}, {2, kOld}, {128, 0x45}, {129, 0x6E}}},
        {"COPY 2 bits, one byte more", ScreenMode::screen6, rectangle(5, 1, {0x1B, 0xBF, 0x77}), 0,
         LayoutKind::copyRectangle, "COPY 5×1", {0, 2}, {{0, 0x1B}, {1, 0xAE}}},
        {"COPY wider than the line is raw", ScreenMode::screen5,
         rectangle(257, 1, Bytes(129, 0x5A)), 0,
         LayoutKind::raw, "raw 133 bytes", {0, 133}, {{0, 0x01}}},
        {"COPY of the wrong size is raw", ScreenMode::screen5,
         rectangle(2, 2, Bytes(4, 0x5A)), 0, LayoutKind::raw,
         "raw 8 bytes", {0, 8}, {{0, 2}}},
        {"Graph Saurus runs", ScreenMode::screen8,
         headed(0xFD, 0, 6, {0x00, 0x00, 0x41, 0x03, 0x07, 0x99}), 0,
         LayoutKind::graphSaurus, "Graph Saurus 0000–D3FF", {0, 54272},
         {{255, 0x41}, {256, 7}, {258, 7}, {259, 0x99}, {260, 0}, {54271, 0}, {54272, kOld}}},
        {"Graph Saurus cut inside a run", ScreenMode::screen8,
         headed(0xFD, 0, 3, {0x20, 0x00, 0x05}), 0,
         LayoutKind::graphSaurus, "Graph Saurus 0000–D3FF", {0, 54272}, {{0, 0x20}, {1, 0}}},
        {"Graph Saurus on the last page stops at the end", ScreenMode::screen7,
         headed(0xFD, 5, 6, {0x30}),
         0x1F000, LayoutKind::graphSaurus, "Graph Saurus 0000–D3FF", {0x1F000, 0x20000},
         {{0x1F000, 0x30}, {0x1FFFF, 0}}},
        {"Graph Saurus of the wrong size is raw", ScreenMode::screen8,
         headed(0xFD, 0, 9, {0x30}), 0,
         LayoutKind::raw, "raw 8 bytes", {0, 8}, {{0, 0xFD}}},
        {"raw beyond 128 KB", ScreenMode::screen7,
         Bytes(0x20010, 3), 0, LayoutKind::raw, "raw 131,088 bytes",
         {0, 0x20000}, {{0x1FFFF, 3}}},
        // clang-format on
    };
    std::vector<std::uint8_t> vram(kVramSize);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const ScreenModeFacts& mode = *findScreenMode(c.mode);
        std::fill(vram.begin(), vram.end(), kOld);
        const ScreenLayout layout = detectLayout(c.file, c.file.size(), mode);
        EXPECT_EQ(layout.kind, c.kind);
        EXPECT_EQ(describeLayout(layout), c.description);
        EXPECT_EQ(layScreenFile(layout, c.file, std::span<std::uint8_t, kVramSize>(vram), mode,
                                c.pageBase),
                  c.written);
        for (const auto& [address, byte] : c.vram) {
            EXPECT_EQ(vram.at(address), byte) << std::hex << address;
        }
    }
}

} // namespace
} // namespace tessarin
