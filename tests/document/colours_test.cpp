// Where a picture's colours are found: each place a file or its folder keeps a palette, and
// the broken variants that must fall through to the next place.
#include "document/screen_document.h"
#include "tests/platform/scratch_dir.h"
#include "tests/support/document_probe.h"

#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

namespace tessarin {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A palette whose entries differ by seed, every one valid and not all zero.
PaletteRecord palette(std::uint8_t seed) {
    PaletteRecord p{};
    for (std::size_t i = 0; i < kPaletteColours; ++i) {
        p[2 * i] = static_cast<std::uint8_t>(((i + seed) & 7) << 4 | ((i * 3 + seed) & 7));
        p[2 * i + 1] = static_cast<std::uint8_t>((i + 2 * seed) & 7);
    }
    return p;
}

// A BSAVE (FEh, start, end, exec 0; 16-bit LE) of pixels 0x11 up to end, with table at
// tableAt when given, then tail.
Bytes bsave(std::uint16_t end, std::uint32_t tableAt = 0, const Bytes& table = {},
            const Bytes& tail = {}, std::uint16_t start = 0) {
    Bytes b{0xFE,
            static_cast<std::uint8_t>(start),
            static_cast<std::uint8_t>(start >> 8),
            static_cast<std::uint8_t>(end),
            static_cast<std::uint8_t>(end >> 8),
            0,
            0};
    b.resize(7 + end - start + 1, 0x11);
    if (!table.empty()) {
        b.resize(std::max(b.size(), 7 + tableAt - start + table.size()), 0x11);
        std::ranges::copy(table, b.begin() + 7 + (tableAt - start));
    }
    b.insert(b.end(), tail.begin(), tail.end());
    return b;
}

Bytes bytesOf(const PaletteRecord& p, std::size_t from = 0, std::size_t count = kPaletteSize) {
    return {p.begin() + static_cast<std::ptrdiff_t>(from),
            p.begin() + static_cast<std::ptrdiff_t>(from + count)};
}

TEST(WhereColoursAre, EachPlaceAndItsBrokenVariants) {
    const PaletteRecord own = palette(1);
    const PaletteRecord other = palette(2);
    PaletteRecord from1 = own; // a 30-byte appended palette: entries 1-15
    from1[0] = from1[1] = 0;
    PaletteRecord shown6{}; // screen 6's four entries
    std::copy_n(own.begin(), 8, shown6.begin());
    Bytes stray = bytesOf(own);
    stray[5] |= 0x08;
    Bytes eight;
    for (int i = 0; i < 8; ++i) {
        eight.insert(eight.end(), own.begin(), own.end());
    }
    Bytes eightBroken = eight;
    eightBroken[200] ^= 0x01;
    const Bytes picture5 = bsave(0x69FF);
    const Bytes paletteBsave = bsave(0x769F, 0x7680, bytesOf(other), {}, 0x7680);
    struct Case {
        const char* what;
        std::map<std::string, Bytes> files;
        const char* open;
        std::string said;
        PaletteRecord shown;
        std::string note = {};
    };
    const std::string none = "standard palette (the file does not reach the table)";
    const Case cases[] = {
        {"table in VRAM",
         {{"P.SC5", bsave(0x769F, 0x7680, bytesOf(own))}},
         "P.SC5",
         "palette: in file",
         own},
        {"table with stray bits",
         {{"P.SC5", bsave(0x769F, 0x7680, stray)}},
         "P.SC5",
         "standard palette (the table holds other data than a palette)",
         kStandardPalette},
        {"table all zero",
         {{"P.SC5", bsave(0x769F, 0x7680, Bytes(32, 0))}},
         "P.SC5",
         "standard palette (the table holds no palette)",
         kStandardPalette},
        {"screen 6 writes its four entries",
         {{"P.SC6", bsave(0x7687, 0x7680, bytesOf(own, 0, 8))}},
         "P.SC6",
         "palette: in file",
         shown6},
        {"screen 6 a byte short",
         {{"P.SC6", bsave(0x7686, 0x7680, bytesOf(own, 0, 7))}},
         "P.SC6",
         none,
         kStandardPalette},
        {"past the end address",
         {{"P.SC5", bsave(0x69FF, 0x7680, bytesOf(own))}},
         "P.SC5",
         "palette: in file",
         own},
        {"appended, 32 bytes",
         {{"P.SC5", bsave(0x69FF, 0, {}, bytesOf(own))}},
         "P.SC5",
         "palette: appended",
         own},
        {"appended, 30 bytes",
         {{"P.SC5", bsave(0x69FF, 0, {}, bytesOf(own, 2, 30))}},
         "P.SC5",
         "palette: appended",
         from1},
        {"appended, 31 bytes",
         {{"P.SC5", bsave(0x69FF, 0, {}, bytesOf(own, 1, 31))}},
         "P.SC5",
         none,
         kStandardPalette},
        {"appended with stray bits",
         {{"P.SC5", bsave(0x69FF, 0, {}, stray)}},
         "P.SC5",
         none,
         kStandardPalette},
        {"same name",
         {{"P.SC5", picture5}, {"P.PL5", bytesOf(other)}},
         "P.SC5",
         "palette: P.PL5 (same name)",
         other},
        {"same name beats the file's own",
         {{"P.SC5", bsave(0x769F, 0x7680, bytesOf(own))}, {"P.PL5", bytesOf(other)}},
         "P.SC5",
         "palette: P.PL5 (same name)",
         other},
        {"own mode first, screen 7",
         {{"X.SR7", bsave(0xD3FF)}, {"X.PL5", bytesOf(own)}, {"X.PL7", bytesOf(other)}},
         "X.SR7",
         "palette: X.PL7 (same name)",
         other},
        {"own mode first, screen 5",
         {{"X.SR5", picture5}, {"X.PL5", bytesOf(own)}, {"X.PL7", bytesOf(other)}},
         "X.SR5",
         "palette: X.PL5 (same name)",
         own},
        {"folder's only palette by name",
         {{"A.SC5", picture5}, {"mk.pal", bytesOf(other)}},
         "A.SC5",
         "palette: mk.pal (folder's only palette)",
         other},
        {"a 39-byte palette BSAVE by its bytes",
         {{"A.SC5", picture5}, {"GAMEPAL.SC5", paletteBsave}},
         "A.SC5",
         "palette: GAMEPAL.SC5 (folder's only palette)",
         other},
        {"32 bytes by their bytes",
         {{"A.SC5", picture5}, {"COLORS.DAT", bytesOf(other)}},
         "A.SC5",
         "palette: COLORS.DAT (folder's only palette)",
         other},
        {"eight copies by their bytes",
         {{"A.SC5", picture5}, {"COLORS.DAT", eight}},
         "A.SC5",
         "palette: COLORS.DAT (folder's only palette)",
         own},
        {"eight copies, one differs",
         {{"A.SC5", picture5}, {"COLORS.DAT", eightBroken}},
         "A.SC5",
         none,
         kStandardPalette},
        {"two palettes: neither",
         {{"A.SC5", picture5}, {"c.pal", bytesOf(own)}, {"d.pal", bytesOf(other)}},
         "A.SC5",
         none,
         kStandardPalette},
        {"the file's own beats the folder's",
         {{"A.SC5", bsave(0x69FF, 0, {}, bytesOf(own))}, {"mk.pal", bytesOf(other)}},
         "A.SC5",
         "palette: appended",
         own},
        {"screen 7's bytes under a screen 5 name",
         {{"W.SC5", bsave(0xD3FF)}},
         "W.SC5",
         "standard palette (the table holds other data than a palette)",
         kStandardPalette,
         "bytes fit screen 7 or 8"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const test::ScratchDir dir;
        for (const auto& [name, bytes] : c.files) {
            test::writeBytes(dir.file(name), bytes);
        }
        ScreenDocument doc;
        doc.openByName(dir.file(c.open));
        doc.restorePalette();
        EXPECT_EQ(doc.paletteDescription(), c.said);
        EXPECT_EQ(Probe::vdp(doc).activePalette(), c.shown);
        EXPECT_EQ(doc.contentDescription(), c.note);
        // A picture made alone, as the exporter and the thumbnailer make it, is the same.
        PictureRequest request;
        request.screenFile = dir.file(c.open);
        request.screenMode = doc.vdp().screenMode();
        request.mapping = doc.mapping();
        request.viewMode = doc.viewMode();
        EXPECT_TRUE(ScreenDocument::pictureOf(request) == doc.render());
    }
}

} // namespace
} // namespace tessarin
