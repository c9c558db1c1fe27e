#include "document/screen_document.h"
#include "platform/file_error.h"
#include "tests/platform/scratch_dir.h"
#include "tests/support/document_probe.h"
#include "tests/support/print_screen_mode.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <span>
#include <sys/stat.h>
#include <unistd.h>

namespace tessarin {
namespace {

using test::patternBytes;
using test::ScratchDir;
using test::writeBytes;

constexpr std::size_t kHeader = kDefaultHeaderSize;
constexpr std::uint8_t kOld = 0xEE; // what VRAM held before a load

class ScreenLoad : public ::testing::Test {
protected:
    // The loads of a fixed layout: header skipped, data re-laid by its line pixels.
    ScreenLoad() {
        std::ranges::fill(Probe::vdp(doc).vramForLoading(), kOld);
        Probe::mapping(doc).layout = LayoutChoice::fixed;
    }

    // A screen file: a header of headerBytes (0xFE first) and then data.
    std::string screenFile(const std::string& name, std::size_t headerBytes,
                           const std::vector<std::uint8_t>& data) {
        std::vector<std::uint8_t> bytes(headerBytes, 0);
        if (headerBytes > 0) {
            bytes[0] = 0xFE;
        }
        bytes.insert(bytes.end(), data.begin(), data.end());
        writeBytes(dir.file(name), bytes);
        return dir.file(name);
    }

    [[nodiscard]] std::span<const std::uint8_t> vram(std::size_t from, std::size_t count) const {
        return std::span<const std::uint8_t>(Probe::vdp(doc).vram()).subspan(from, count);
    }
    [[nodiscard]] bool vramHolds(std::size_t from, std::span<const std::uint8_t> bytes) const {
        return std::ranges::equal(vram(from, bytes.size()), bytes);
    }
    [[nodiscard]] bool vramUntouched(std::size_t from, std::size_t to) const {
        return std::ranges::all_of(vram(from, to - from), [](auto b) { return b == kOld; });
    }

    ScratchDir dir;
    ScreenDocument doc;
};

TEST_F(ScreenLoad, DocumentStartsWithDefaultsAndZeroPalettes) {
    const ScreenDocument fresh;
    EXPECT_EQ(Probe::mapping(fresh), VramMapping{});
    EXPECT_EQ(Probe::mapping(fresh).headerSize[0], 7);
    EXPECT_EQ(Probe::mapping(fresh).linePixels[1], 512);
    EXPECT_EQ(Probe::mapping(fresh).paletteSource, PaletteSource::automatic);
    EXPECT_EQ(fresh.viewMode(), ViewMode::plain256x212);
    EXPECT_TRUE(Probe::fileName(fresh, FileSlot::vram0).empty() &&
                Probe::fileName(fresh, FileSlot::vram1).empty() &&
                Probe::fileName(fresh, FileSlot::palette).empty());
    EXPECT_EQ(Probe::vdp(fresh).filePalette(), PaletteRecord{});
    EXPECT_EQ(Probe::vdp(fresh).vramPalette(), PaletteRecord{});
    EXPECT_EQ(Probe::vdp(fresh).screenMode(), ScreenMode::screen7);
}

TEST_F(ScreenLoad, Vram0FileFillsOnlyTheBytesItHolds) {
    const auto data = patternBytes(32768, 1);
    EXPECT_TRUE(Probe::openFile(doc, screenFile("PIC.SC7", kHeader, data), FileSlot::vram0));
    EXPECT_EQ(Probe::fileName(doc, FileSlot::vram0), dir.file("PIC.SC7"));
    EXPECT_TRUE(vramHolds(0, data));
    EXPECT_TRUE(vramUntouched(data.size(), kVramSize));
}

TEST_F(ScreenLoad, HeaderSizeDecidesWhereDataStarts) {
    const auto data = patternBytes(1000, 2);
    const struct {
        std::int16_t headerSize;
        std::size_t skipped;
    } cases[] = {{0, 0}, {7, 7}, {300, 300}, {-5, 0}}; // a negative size counts as none
    for (const auto& c : cases) {
        std::ranges::fill(Probe::vdp(doc).vramForLoading(), kOld);
        Probe::mapping(doc).headerSize[indexOf(FileSlot::vram0)] = c.headerSize;
        Probe::openFile(doc, screenFile("PIC.SC7", 0, data), FileSlot::vram0);
        const auto expected = std::span(data).subspan(c.skipped);
        EXPECT_TRUE(vramHolds(0, expected)) << c.headerSize;
        EXPECT_TRUE(vramUntouched(expected.size(), kVramSize)) << c.headerSize;
    }
}

TEST_F(ScreenLoad, FileShorterThanHeaderReadsNothingButIsStillRelaid) {
    Probe::vdp(doc).setScreenMode(ScreenMode::screen8);
    Probe::mapping(doc).linePixels[indexOf(FileSlot::vram0)] = 200;
    auto expected = std::make_unique<VdpState>(Probe::vdp(doc));
    expected->remapLinePixels(200);
    Probe::openFile(doc, screenFile("SHORT.SC8", 5, {}), FileSlot::vram0);
    EXPECT_EQ(Probe::vdp(doc).vram(), expected->vram());
    EXPECT_EQ(Probe::fileName(doc, FileSlot::vram0), dir.file("SHORT.SC8"));
}

TEST_F(ScreenLoad, LongVram0FileRunsIntoVram1AndIsCutAtEndOfVram) {
    const auto data = patternBytes(kVramSize + 100, 3);
    Probe::openFile(doc, screenFile("BIG.SC7", kHeader, data), FileSlot::vram0);
    EXPECT_TRUE(vramHolds(0, std::span(data).first(kVramSize)));

    const auto medium = patternBytes(70000, 4);
    std::ranges::fill(Probe::vdp(doc).vramForLoading(), kOld);
    Probe::openFile(doc, screenFile("MID.SC7", kHeader, medium), FileSlot::vram0);
    EXPECT_TRUE(vramHolds(0, medium));
    EXPECT_TRUE(vramUntouched(medium.size(), kVramSize));
}

TEST_F(ScreenLoad, Vram1FileIsCutAt64KAndNeverRelaid) {
    Probe::vdp(doc).setScreenMode(ScreenMode::screen8);
    Probe::mapping(doc).linePixels[indexOf(FileSlot::vram1)] = 100; // ignored for VRAM1
    const auto data = patternBytes(70000, 5);
    Probe::openFile(doc, screenFile("PIC.SC8", kHeader, data), FileSlot::vram1);
    EXPECT_EQ(Probe::fileName(doc, FileSlot::vram1), dir.file("PIC.SC8"));
    EXPECT_TRUE(vramUntouched(0, kVramHalfSize));
    EXPECT_TRUE(vramHolds(kVramHalfSize, std::span(data).first(kVramHalfSize)));
}

TEST_F(ScreenLoad, PaletteFileTakesFirst32BytesShortOnesZeroFilled) {
    const PaletteRecord standardColoursBefore = Probe::vdp(doc).activePalette();
    const auto rgbBefore = Probe::vdp(doc).paletteRgb();
    for (const std::size_t length : {40U, 32U, 10U, 1U}) {
        const auto bytes = patternBytes(length, static_cast<std::uint8_t>(length));
        writeBytes(dir.file("COLORS.PAL"), bytes);
        Probe::openFile(doc, dir.file("COLORS.PAL"), FileSlot::palette);
        PaletteRecord expected{};
        std::copy_n(bytes.begin(), std::min<std::size_t>(length, kPaletteSize), expected.begin());
        EXPECT_EQ(Probe::vdp(doc).filePalette(), expected) << length;
        EXPECT_EQ(Probe::vdp(doc).activePalette(), standardColoursBefore) << length;
        EXPECT_EQ(Probe::vdp(doc).paletteRgb(), rgbBefore) << length;
    }
    EXPECT_TRUE(vramUntouched(0, kVramSize));
}

TEST_F(ScreenLoad, FilePaletteBecomesActiveOnlyAtSelectPalette) {
    std::vector<std::uint8_t> bytes(kPaletteSize, 0);
    bytes[2] = 0x70; // colour 1: red 7
    bytes[3] = 0x05; //           green 5
    writeBytes(dir.file("C.PL5"), bytes);
    Probe::openFile(doc, dir.file("C.PL5"), FileSlot::palette);
    EXPECT_EQ(Probe::vdp(doc).paletteRgb()[1], (RgbTriple{0, 0, 0}));
    Probe::vdp(doc).selectPalette(PaletteSource::file);
    EXPECT_EQ(Probe::vdp(doc).paletteRgb()[1], (RgbTriple{0, 182, 255}));
}

TEST_F(ScreenLoad, ReloadReadsSlotsInOrderSoVram1OverwritesVram0Tail) {
    const auto big = patternBytes(kVramSize, 6);
    const auto second = patternBytes(kVramHalfSize, 7);
    Probe::openFile(doc, screenFile("BIG.SC7", kHeader, big), FileSlot::vram0);
    Probe::openFile(doc, screenFile("TWO.SC7", kHeader, second), FileSlot::vram1);
    writeBytes(dir.file("P.PL7"), patternBytes(kPaletteSize, 8));
    Probe::openFile(doc, dir.file("P.PL7"), FileSlot::palette);

    std::ranges::fill(Probe::vdp(doc).vramForLoading(), kOld);
    Probe::vdp(doc).setFilePalette(PaletteRecord{});
    Probe::reload(doc);
    EXPECT_TRUE(vramHolds(0, std::span(big).first(kVramHalfSize)));
    EXPECT_TRUE(vramHolds(kVramHalfSize, second));
    EXPECT_TRUE(std::ranges::equal(Probe::vdp(doc).filePalette(), patternBytes(kPaletteSize, 8)));
}

TEST_F(ScreenLoad, ReloadWithNoFilesDoesNothing) {
    Probe::reload(doc);
    EXPECT_TRUE(vramUntouched(0, kVramSize));
}

TEST_F(ScreenLoad, ReloadOfVanishedFileThrowsNamingItAndLeavesVram) {
    const std::string name = screenFile("GONE.SC7", kHeader, patternBytes(5000, 9));
    Probe::openFile(doc, name, FileSlot::vram0);
    ASSERT_EQ(::unlink(name.c_str()), 0);
    std::ranges::fill(Probe::vdp(doc).vramForLoading(), kOld);
    try {
        Probe::reload(doc);
        FAIL() << "reload of a deleted file succeeded";
    } catch (const FileError& e) {
        EXPECT_EQ(e.fileName(), name);
        EXPECT_NE(std::string(e.what()).find(name), std::string::npos);
    }
    EXPECT_TRUE(vramUntouched(0, kVramSize));
    EXPECT_EQ(Probe::fileName(doc, FileSlot::vram0), name); // the next reload fails alike
}

TEST_F(ScreenLoad, OpenFileIgnoresWhatIsNotANonEmptyRegularFile) {
    writeBytes(dir.file("EMPTY.SC7"), {});
    ASSERT_EQ(::mkfifo(dir.file("PIPE.SC7").c_str(), 0600), 0);
    ::alarm(10); // ends the run if opening the FIFO blocks
    for (const std::string& name :
         {dir.file("MISSING.SC7"), dir.file("EMPTY.SC7"), dir.path(), dir.file("PIPE.SC7")}) {
        for (const FileSlot slot : kFileSlots) {
            EXPECT_FALSE(Probe::openFile(doc, name, slot)) << name;
        }
    }
    ::alarm(0);
    const std::string real = screenFile("REAL.SC7", kHeader, patternBytes(10, 1));
    EXPECT_FALSE(Probe::openFile(doc, real, static_cast<FileSlot>(3)));
    EXPECT_TRUE(Probe::fileName(doc, FileSlot::vram0).empty() &&
                Probe::fileName(doc, FileSlot::vram1).empty() &&
                Probe::fileName(doc, FileSlot::palette).empty());
    EXPECT_TRUE(vramUntouched(0, kVramSize));
    EXPECT_EQ(Probe::vdp(doc).filePalette(), PaletteRecord{});
}

TEST_F(ScreenLoad, FileThatCannotBeOpenedThrowsNamingItAndTheReasonAndChangesNothing) {
    const std::string shown = screenFile("SHOWN.SC7", kHeader, patternBytes(100, 4));
    doc.openByName(shown);
    const auto before = Probe::vdp(doc).vram();
    writeBytes(dir.file("EMPTY.SC5"), {});
    ASSERT_EQ(::mkfifo(dir.file("PIPE.SC5").c_str(), 0600), 0);
    ::mkdir(dir.file("DIR.SC5").c_str(), 0700);
    const struct {
        const char* name;
        const char* reason;
        const char* intoVram1 = nullptr; // when not the same
    } cases[] = {
        {"MISSING.SC5", "No such file or directory"},
        {"EMPTY.SC5", "is empty"},
        // By name a folder opens at its first picture: this one has none.
        {"DIR.SC5", "holds no screen file", "not a regular file"},
        {"PIPE.SC5", "not a regular file"},
    };
    ::alarm(10); // ends the run if opening the FIFO blocks
    for (const auto& c : cases) {
        const std::string name = dir.file(c.name);
        for (const bool byName : {true, false}) {
            SCOPED_TRACE(name + (byName ? " by name" : " into VRAM1"));
            try {
                byName ? static_cast<void>(doc.openByName(name))
                       : doc.openInto(name, FileSlot::vram1);
                FAIL() << "opened";
            } catch (const FileError& e) {
                EXPECT_EQ(e.fileName(), name);
                const char* reason = !byName && c.intoVram1 != nullptr ? c.intoVram1 : c.reason;
                EXPECT_NE(std::string(e.what()).find(reason), std::string::npos) << e.what();
            }
            EXPECT_TRUE(Probe::vdp(doc).screenMode() == ScreenMode::screen7 &&
                        Probe::fileName(doc, FileSlot::vram0) == shown &&
                        Probe::fileName(doc, FileSlot::vram1).empty() &&
                        Probe::vdp(doc).vram() == before);
        }
    }
    ::alarm(0);
}

TEST_F(ScreenLoad, VanishedFileMetByTheReloadIsReportedAfterTheNewFileOpened) {
    const std::string gone = screenFile("GONE.SC7", kHeader, patternBytes(100, 4));
    const std::string next = screenFile("NEXT.SC5", kHeader, patternBytes(100, 6));
    doc.openByName(gone);
    ASSERT_EQ(::unlink(gone.c_str()), 0);
    try {
        doc.openByName(next);
        FAIL() << "the vanished file went unreported";
    } catch (const ReloadError& e) {
        EXPECT_EQ(e.fileName(), gone);
    }
    EXPECT_EQ(Probe::vdp(doc).screenMode(), ScreenMode::screen5);
    EXPECT_EQ(Probe::fileName(doc, FileSlot::vram0), next);
    EXPECT_TRUE(vramHolds(0, patternBytes(100, 6)));
}

TEST_F(ScreenLoad, RelayingStartsAtAddressZeroWhateverPageIsShown) {
    const auto data = patternBytes(212 * 200, 10);
    auto expected = std::make_unique<VdpState>(Probe::vdp(doc));
    expected->setScreenMode(ScreenMode::screen8);
    std::ranges::copy(data, expected->vramForLoading().begin());
    expected->remapLinePixels(200);

    Probe::vdp(doc).setScreenMode(ScreenMode::screen8);
    Probe::vdp(doc).selectPage(1);
    Probe::mapping(doc).linePixels[indexOf(FileSlot::vram0)] = 200;
    Probe::openFile(doc, screenFile("PACKED.SC8", kHeader, data), FileSlot::vram0);
    EXPECT_EQ(Probe::vdp(doc).vram(), expected->vram());
}

} // namespace
} // namespace tessarin

namespace tessarin {
namespace {

// The automatic palette: the palette file, else the VRAM table when the file reached the
// end of the entries the mode shows and they are not all zero, else the standard one.
TEST(AutomaticPalette, FollowsWhatTheFilesHold) {
    struct Case {
        const char* what;
        ScreenMode mode;
        std::size_t dataBytes;  // of the VRAM0 file, after its 7-byte header
        std::uint8_t tableByte; // every byte of the VRAM0 file
        bool paletteFile;
        PaletteSource expected;
    };
    const Case cases[] = {
        {"screen 5 with its table", ScreenMode::screen5, 0x76A0, 0x02, false, PaletteSource::vram},
        {"screen 5 a byte short of it", ScreenMode::screen5, 0x769F, 0x02, false,
         PaletteSource::standard},
        {"bits no palette entry has", ScreenMode::screen5, 0x76A0, 0x11, false,
         PaletteSource::standard},
        {"screen 6: its four entries are its colours", ScreenMode::screen6, 0x7688, 0x02, false,
         PaletteSource::vram},
        {"screen 6 a byte short of them", ScreenMode::screen6, 0x7687, 0x02, false,
         PaletteSource::standard},
        {"screen 7 with its table", ScreenMode::screen7, 0xFAA0, 0x05, false, PaletteSource::vram},
        {"screen 10 with its table", ScreenMode::screen10, 0xFAA0, 0x05, false,
         PaletteSource::vram},
        {"an all-zero table", ScreenMode::screen7, 0xFAA0, 0x00, false, PaletteSource::standard},
        {"screen 8 has no palette", ScreenMode::screen8, 0x10000, 0x22, false,
         PaletteSource::standard},
        {"screen 12 has no palette", ScreenMode::screen12, 0x10000, 0x22, false,
         PaletteSource::standard},
        {"a palette file comes first", ScreenMode::screen7, 0xFAA0, 0x22, true,
         PaletteSource::file},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const test::ScratchDir dir;
        std::vector<std::uint8_t> bytes(7 + c.dataBytes, c.tableByte);
        test::writeBytes(dir.file("PIC.SC"), bytes);
        if (c.paletteFile) {
            test::writeBytes(dir.file("PIC.PL"), std::vector<std::uint8_t>(kPaletteSize, 0x33));
        }
        ScreenDocument doc;
        Probe::mapping(doc).layout = LayoutChoice::fixed;
        doc.selectScreenMode(c.mode);
        doc.openInto(dir.file("PIC.SC"), FileSlot::vram0);
        if (c.paletteFile) {
            doc.openInto(dir.file("PIC.PL"), FileSlot::palette);
        }
        EXPECT_EQ(doc.paletteInEffect(), c.expected);
        const PaletteRecord& expected =
            c.expected == PaletteSource::vram   ? Probe::vdp(doc).vramPalette()
            : c.expected == PaletteSource::file ? Probe::vdp(doc).filePalette()
                                                : kStandardPalette;
        EXPECT_EQ(Probe::vdp(doc).activePalette(), expected);
        if (c.expected == PaletteSource::vram) {
            EXPECT_EQ(Probe::vdp(doc).vramPalette()[0], c.tableByte); // read after the load
        }
    }
}

// Screens 8 and 12 show their bytes' own colours: no palette is in use, whichever is chosen.
TEST(PaletteDescription, SaysDirectColourModesUseNoPalette) {
    const test::ScratchDir dir;
    test::writeBytes(dir.file("PIC.SC"), std::vector<std::uint8_t>(0x1000, 0x22));
    for (const ScreenMode mode : {ScreenMode::screen8, ScreenMode::screen12}) {
        for (const PaletteSource source : {PaletteSource::automatic, PaletteSource::standard}) {
            ScreenDocument doc;
            doc.selectScreenMode(mode);
            doc.openInto(dir.file("PIC.SC"), FileSlot::vram0);
            Probe::mapping(doc).paletteSource = source;
            EXPECT_EQ(doc.paletteChoice().why, PaletteChoice::Why::directColours) << mode;
        }
    }
}

} // namespace
} // namespace tessarin
