// Where a picture's colours are found: each place a file or its folder keeps a palette, and
// the broken variants that fall through to the next place.
#include "document/picture_recipe.h"
#include "document/screen_document.h"
#include "tests/platform/scratch_dir.h"
#include "tests/support/document_probe.h"

#include <gtest/gtest.h>
#include <utility>

namespace tessarin {
namespace {

using Bytes = std::vector<std::uint8_t>;

// count bytes from byte `from` of sixteen valid entries that differ by seed.
Bytes palette(unsigned seed, std::size_t from = 0, std::size_t count = kPaletteSize) {
    Bytes p;
    for (unsigned i = 0; i < kPaletteColours; ++i) {
        p.push_back(static_cast<std::uint8_t>(((i + seed) & 7) << 4 | ((i * 3 + seed) & 7)));
        p.push_back(static_cast<std::uint8_t>((i + 2 * seed) & 7));
    }
    return {p.begin() + static_cast<long>(from), p.begin() + static_cast<long>(from + count)};
}

// The table bytes give from entry `first` on, the rest zero.
PaletteRecord record(const Bytes& bytes, std::size_t first = 0) {
    PaletteRecord r{};
    std::ranges::copy(bytes, r.begin() + static_cast<long>(2 * first));
    return r;
}

// A BSAVE (FEh, start, end, exec 0; 16-bit LE) of bytes 11h; the file goes on with table at
// VRAM address `at`, then tail.
Bytes bsave(unsigned end, unsigned at = 0, const Bytes& table = {}, const Bytes& tail = {},
            unsigned start = 0) {
    const auto le = [](unsigned v, int shift) { return static_cast<std::uint8_t>(v >> shift); };
    Bytes b{0xFE, le(start, 0), le(start, 8), le(end, 0), le(end, 8), 0, 0};
    b.resize(std::max<std::size_t>(8 + end - start, table.empty() ? 0 : 7 + at - start + 32), 0x11);
    if (!table.empty()) {
        std::ranges::copy(table, b.begin() + 7 + (at - start));
    }
    b.insert(b.end(), tail.begin(), tail.end());
    return b;
}

using Why = PaletteChoice::Why;

// The colour rule's outcomes the cases expect.
PaletteChoice said(Why why, PaletteFinding finding = PaletteFinding::holds) {
    PaletteChoice choice;
    choice.why = why;
    choice.finding = finding;
    return choice;
}
PaletteChoice fromFile(PaletteOrigin origin, const char* file, Why why = Why::file) {
    PaletteChoice choice = said(why);
    choice.origin = origin;
    choice.paletteFile = file;
    return choice;
}
PaletteChoice leftOut(PaletteChoice choice, const char* file, NotPicture why) {
    choice.leftOutFile = file;
    choice.leftOutReason = why;
    return choice;
}

TEST(WhereColoursAre, EachPlaceAndItsBrokenVariants) {
    const Bytes own = palette(1);
    const Bytes other = palette(2);
    Bytes stray = own;
    stray[5] |= 0x08;
    Bytes eight(8 * kPaletteSize);
    for (std::size_t i = 0; i < eight.size(); ++i) {
        eight[i] = own[i % kPaletteSize];
    }
    Bytes eightBroken = eight;
    eightBroken[200] ^= 0x01;
    const Bytes pic = bsave(0x69FF);
    // A tile editor's palette: PALETTE, then sixteen numbers as text, 184 bytes.
    std::string written = "PALETTE\r\n";
    while (written.size() < 184) {
        written += "7,7,7\r\n";
    }
    const Bytes text(written.begin(), written.begin() + 184);
    const PaletteChoice none = said(Why::standardFound, PaletteFinding::notReached);
    const PaletteChoice inFile = said(Why::inFile);
    const PaletteChoice appended = said(Why::appended);
    const auto sameName = [](const char* file) { return fromFile(PaletteOrigin::sameName, file); };
    const auto folderOnly = [](const char* file) {
        return fromFile(PaletteOrigin::folderOnly, file);
    };
    const PaletteRecord& standard = kStandardPalette;
    const struct {
        const char* what;
        std::vector<std::pair<std::string, Bytes>> files; // the first opens
        PaletteChoice said;
        PaletteRecord shown;
        ContentNote note = {};
    } cases[] = {
        // clang-format off
        {"table in VRAM", {{"P.SC5", bsave(0x769F, 0x7680, own)}}, inFile, record(own)},
        {"screen 6 writes its 4 entries", {{"P.SC6", bsave(0x7687, 0x7680, palette(1, 0, 8))}},
         inFile, record(palette(1, 0, 8))},
        {"screen 6 a byte short", {{"P.SC6", bsave(0x7686, 0x7680, palette(1, 0, 7))}}, none, standard},
        {"past the end address", {{"P.SC5", bsave(0x69FF, 0x7680, own)}}, inFile,
         record(own)},
        {"appended, 32", {{"P.SC5", bsave(0x69FF, 0, {}, own)}}, appended, record(own)},
        {"appended, 30", {{"P.SC5", bsave(0x69FF, 0, {}, palette(1, 2, 30))}}, appended,
         record(palette(1, 2, 30), 1)},
        {"appended, 31", {{"P.SC5", bsave(0x69FF, 0, {}, palette(1, 1, 31))}}, none, standard},
        {"appended, stray bits", {{"P.SC5", bsave(0x69FF, 0, {}, stray)}}, none, standard},
        {"same name beats the file's own", {{"P.SC5", bsave(0x769F, 0x7680, own)},
         {"P.PL5", other}}, sameName("P.PL5"), record(other)},
        {"own mode first", {{"X.SR7", bsave(0xD3FF)}, {"X.PL5", own}, {"X.PL7", other}},
         sameName("X.PL7"), record(other)},
        {"folder's only, by name", {{"A.SC5", pic}, {"mk.pal", other}},
         folderOnly("mk.pal"), record(other)},
        {"39-byte BSAVE, by its bytes", {{"A.SC5", pic}, {"GAMEPAL.SC5",
         bsave(0x769F, 0x7680, other, {}, 0x7680)}}, folderOnly("GAMEPAL.SC5"),
         record(other)},
        {"32 bytes, by their bytes", {{"A.SC5", pic}, {"C.DAT", other}},
         folderOnly("C.DAT"), record(other)},
        {"eight copies", {{"A.SC5", pic}, {"C.DAT", eight}},
         folderOnly("C.DAT"), record(own)},
        {"eight copies, one differs", {{"A.SC5", pic}, {"C.DAT", eightBroken}}, none, standard},
        {"same name, no palette", {{"P.SC5", bsave(0x769F, 0x7680, own)}, {"P.PL5", {}}},
         leftOut(inFile, "P.PL5", NotPicture::emptyPalette), record(own)},
        {"same name, text", {{"P.SC5", bsave(0x769F, 0x7680, own)}, {"P.pal", text}},
         leftOut(inFile, "P.pal", NotPicture::textPalette), record(own)},
        {"another picture's palette is not the folder's", {{"C.SC5", pic}, {"B.SC5", pic},
         {"B.PL5", other}}, none, standard},
        {"two palettes: neither", {{"A.SC5", pic}, {"c.pal", own}, {"d.pal", other}}, none, standard},
        {"the file's own beats the folder's", {{"A.SC5", bsave(0x69FF, 0, {}, own)},
         {"mk.pal", other}}, appended, record(own)},
        {"screen 7's size, screen 5's name", {{"W.SC5", bsave(0xD3FF)}},
         said(Why::standardFound, PaletteFinding::strayBits), standard,
         ContentNote{NotPicture::none, {ScreenMode::screen7, ScreenMode::screen8}}},
        {"no mode by name, several by bytes", {{"W.PIC", bsave(0xD3FF)}}, said(Why::directColours),
         standard, ContentNote{NotPicture::none, {ScreenMode::screen7, ScreenMode::screen8,
         ScreenMode::screen10, ScreenMode::screen12}}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const test::ScratchDir dir;
        for (const auto& [name, bytes] : c.files) {
            test::writeBytes(dir.file(name), bytes);
        }
        ScreenDocument doc;
        doc.openByName(dir.file(c.files.front().first));
        EXPECT_EQ(doc.paletteChoice(), c.said) << describe(doc.paletteChoice());
        EXPECT_EQ(Probe::vdp(doc).activePalette(), c.shown);
        EXPECT_EQ(doc.contentNote(), c.note) << describe(doc.contentNote());
        // Made alone, as the exporter and the thumbnailer make it: the same picture.
        PictureRequest request =
            resolve(fileSource(), Location::of(dir.file(c.files.front().first)));
        request.screenMode = doc.vdp().screenMode();
        request.mapping = doc.mapping();
        request.viewMode = doc.viewMode();
        EXPECT_TRUE(ScreenDocument::pictureOf(request) == doc.render());
    }
}

TEST(WhereColoursAre, SaidInTheStatusBarsWords) {
    const struct {
        PaletteChoice choice;
        const char* words;
    } cases[] = {
        {said(Why::directColours), "none: direct colours"},
        {fromFile(PaletteOrigin::byHand, "BARS7.PL7"), "palette: BARS7.PL7"},
        {fromFile(PaletteOrigin::sameName, "P.PL5"), "palette: P.PL5 (same name)"},
        {fromFile(PaletteOrigin::folderOnly, "mk.pal"), "palette: mk.pal (folder's only palette)"},
        {fromFile(PaletteOrigin::byHand, "BARS7.PL7", Why::keptFile), "palette: BARS7.PL7 (kept)"},
        {said(Why::inFile), "palette: in file"},
        {said(Why::appended), "palette: appended"},
        {said(Why::standard), "standard palette"},
        {said(Why::standardFound, PaletteFinding::allZero),
         "standard palette (the table holds no palette)"},
        {leftOut(said(Why::inFile), "P.pal", NotPicture::textPalette),
         "palette: in file (P.pal left out: text, not a palette)"},
        {leftOut(said(Why::standardFound, PaletteFinding::notReached), "X.PL5",
                 NotPicture::unloadablePalette),
         "standard palette (the file does not reach the table) (X.PL5 left out: no palette)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(describe(c.choice), c.words);
    }
    // And what the file is, beside its layout.
    using enum ScreenMode;
    EXPECT_EQ(describe(ContentNote{NotPicture::text, {}}), "text, not a picture");
    EXPECT_EQ(describe(ContentNote{NotPicture::none, {screen7, screen8}}),
              "bytes fit screen 7 or 8");
    EXPECT_EQ(describe(ContentNote{NotPicture::none, {screen7, screen8, screen10, screen12}}),
              "bytes fit screen 7, 8, 10 or 12");
    EXPECT_EQ(describe(ContentNote{}), "");
}

} // namespace
} // namespace tessarin
