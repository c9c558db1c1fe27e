// Drives tessarin-export as a process and checks its files against the document's
// own writeBitmap.
#include "document/screen_document.h"
#include "document/view_geometry.h"
#include "image/bmp_encoder.h"
#include "image/png_encoder.h"
#include "image_files.h"
#include "run_process.h"
#include "storage/location.h"
#include "test_text.h"
#include "tests/support/aplib_pack.h"
#include "tests/support/cassette_make.h"
#include "tests/support/document_probe.h"
#include "tests/support/open_counter.h"
#include "tests/support/zx0_pack.h"
#include "tests/support/zx7_pack.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace tessarin::testing {
namespace {

namespace fs = std::filesystem;

const std::string kExporter = TESSARIN_EXPORT;

// What the user does in the viewer: choose the mode, open the files, confirm the
// mapping dialog, choose size and rotation; the picture it writes.
struct ViewerSetup {
    ScreenMode mode = ScreenMode::screen7;
    std::string vram0;
    std::string vram1;
    std::string palette;
    VramMapping mapping;
    std::optional<ViewMode> viewMode = std::nullopt; // else the Automatic size the viewer starts at
};

std::vector<unsigned char> viewerBitmap(const ViewerSetup& s) {
    const TempDir dir;
    const std::string file = dir / "view.bmp";
    writeBytes(file, {});
    ScreenDocument doc;
    Probe::vdp(doc).setScreenMode(s.mode);
    Probe::mapping(doc) = s.mapping;
    Probe::setFileName(doc, FileSlot::vram0, s.vram0);
    Probe::setFileName(doc, FileSlot::vram1, s.vram1);
    Probe::setFileName(doc, FileSlot::palette, s.palette);
    Probe::reload(doc);
    doc.restorePalette();
    doc.setViewMode(
        s.viewMode.value_or(viewModeOf(automaticSizeOf(s.mode, !s.vram1.empty()), false)));
    writeBmpFile(doc.render(), file);
    return readBytes(file);
}

VramMapping mappingOf(std::int16_t linePixels, PaletteSource source,
                      std::array<std::int16_t, 2> header = {7, 7},
                      LayoutChoice layout = LayoutChoice::automatic) {
    VramMapping m;
    m.layout = layout;
    m.headerSize = header;
    m.linePixels = {linePixels, linePixels};
    m.paletteSource = source;
    return m;
}

struct BitmapCase {
    std::string what;
    std::vector<std::string> args; // besides -o OUTPUT
    ViewerSetup viewer;
};

std::vector<BitmapCase> bitmapCases(const TempDir& dir) {
    // A packed screen-5 file of 128 pixels a line with a 3-byte header.
    std::vector<unsigned char> packed{1, 2, 3};
    for (int i = 0; i < 64 * kPictureLines; ++i) {
        packed.push_back(static_cast<unsigned char>(i * 7));
    }
    writeBytes(dir / "PACKED.SC5", packed);
    const std::string packedFile = dir / "PACKED.SC5";
    return {
        {"palette file chosen by name, mode by the last character",
         {sample("BARS.SC5"), sample("BARS.PL5")},
         {ScreenMode::screen5, sample("BARS.SC5"), "", sample("BARS.PL5"),
          mappingOf(256, PaletteSource::file)}},
        {"--screen overrides the name",
         {"--screen", "8", sample("BARS.SC5")},
         {ScreenMode::screen8, sample("BARS.SC5"), "", "",
          mappingOf(256, PaletteSource::automatic)}},
        {"--screen 11 is screen 10",
         {"--screen", "11", sample("YJK.SCC")},
         {ScreenMode::screen10, sample("YJK.SCC"), "", "",
          mappingOf(256, PaletteSource::automatic)}},
        {"no mode in the name: screen 7",
         {packedFile + "", "--screen", "7"},
         {ScreenMode::screen7, packedFile, "", "", mappingOf(512, PaletteSource::automatic)}},
        {"VRAM1 and the interlaced view",
         {"--vram1", sample("PAGE7.SC7"), "--size", "512x424int", sample("BARS7.SC7")},
         {ScreenMode::screen7, sample("BARS7.SC7"), sample("PAGE7.SC7"), sample("BARS7.PL7"),
          mappingOf(512, PaletteSource::automatic), ViewMode::interlace512x424}},
        {"VRAM palette, joined and rotated",
         {"--palette-source", "vram", "--size", "256x424joi", "--rotate", sample("YJKA.SCA")},
         {ScreenMode::screen10, sample("YJKA.SCA"), "", "", mappingOf(256, PaletteSource::vram),
          ViewMode::joint256x424Rotated}},
        {"magnified and rotated screen 12 with a second page",
         {"--size", "512x424mag", "--rotate", "--vram1", sample("PAGE12.SCC"), sample("YJK.SCC")},
         {ScreenMode::screen12, sample("YJK.SCC"), sample("PAGE12.SCC"), "",
          mappingOf(256, PaletteSource::automatic), ViewMode::magnify512x424Rotated}},
        {"--palette with the standard source",
         {"--palette", sample("BARS.PL5"), "--palette-source", "standard", sample("RAMP.SC6")},
         {ScreenMode::screen6, sample("RAMP.SC6"), "", sample("BARS.PL5"),
          mappingOf(512, PaletteSource::standard)}},
        {"header sizes and line pixels",
         {"--header0", "3", "--header1", "0", "--line-pixels", "128", "--vram1",
          sample("PAGE8.SC8"), "--size", "256x424joi", packedFile},
         {ScreenMode::screen5, packedFile, sample("PAGE8.SC8"), "",
          mappingOf(128, PaletteSource::automatic, {3, 0}, LayoutChoice::fixed),
          ViewMode::joint256x424}},
        {"rotated interlace of screen 5",
         {"--size", "512x424int", "--rotate", sample("BARS.SC5")},
         {ScreenMode::screen5, sample("BARS.SC5"), "", sample("BARS.PL5"),
          mappingOf(256, PaletteSource::automatic), ViewMode::interlace512x424Rotated}},
    };
}

TEST(Exporter, BmpIsByteForByteWhatTheViewerWrites) {
    const TempDir dir;
    for (const BitmapCase& c : bitmapCases(dir)) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> args{"-q", "-o", dir / "out.bmp"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const ProcessResult r = runProcess(kExporter, args, dir.path());
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.err, "");
        EXPECT_TRUE(readBytes(dir / "out.bmp") == viewerBitmap(c.viewer));
    }
}

TEST(Exporter, PngHasTheBmpPixelsInEveryViewAndNoColourSpaceChunks) {
    const TempDir dir;
    const std::array<const char*, 4> sizes{"256x212", "512x424mag", "512x424int", "256x424joi"};
    for (const char* size : sizes) {
        for (const bool rotate : {false, true}) {
            SCOPED_TRACE(std::string(size) + (rotate ? " rotated" : ""));
            std::vector<std::string> common{
                "-q", "--size", size, "--vram1", sample("PAGE12.SCC"), sample("YJK.SCC")};
            if (rotate) {
                common.push_back("--rotate");
            }
            std::vector<std::string> png{"-o", dir / "out.png"};
            std::vector<std::string> bmp{"-o", dir / "out.bmp"};
            png.insert(png.end(), common.begin(), common.end());
            bmp.insert(bmp.end(), common.begin(), common.end());
            ASSERT_EQ(runProcess(kExporter, png, dir.path()).exitCode, 0);
            ASSERT_EQ(runProcess(kExporter, bmp, dir.path()).exitCode, 0);
            EXPECT_TRUE(pngPixels(dir / "out.png") == bmpPixels(readBytes(dir / "out.bmp")));

            const PngLayout layout = pngLayout(readBytes(dir / "out.png"));
            EXPECT_EQ(layout.bitDepth, 8);
            EXPECT_EQ(layout.colourType, 2); // RGB
            for (const std::string& chunk : layout.chunkTypes) {
                EXPECT_TRUE(chunk == "IHDR" || chunk == "IDAT" || chunk == "IEND") << chunk;
            }
        }
    }
}

// OUTPUT's extension and the bytes in it agree: an image or screen extension decides,
// another is refused; --format and a thumbnail's PNG are for names without one.
TEST(Exporter, TheOutputsExtensionDecidesItsFormat) {
    const TempDir dir;
    const std::string bmp = "BM";
    const std::string png = "\x89PNG";
    const struct {
        std::vector<std::string> args;
        std::string output;
        std::string magic; // empty: refused as a usage error naming the problem
        std::string errPart;
    } cases[]{
        {{"--thumbnail", "100"}, "t.bmp", bmp, ""},
        {{"--thumbnail", "100"}, "t", png, ""},
        {{}, "pic.PNG", png, ""},
        {{"--format", "bmp"}, "pic", bmp, ""},
        {{"--format", "png"}, "pic.bmp", "", "--format png does not agree with the extension"},
        {{"--format", "bmp"}, "pic.img", "", "\".img\" is no format written"},
        {{}, "other.TXT", "", "\".TXT\" is no format written"},
        {{}, "pic.SC5", std::string("\xFE\0\0\x9F\x76", 5), ""},
        {{}, "other", "", "without an extension"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.output);
        std::vector<std::string> args{"-q", "-o", c.output};
        args.insert(args.end(), c.args.begin(), c.args.end());
        args.push_back(sample("RGB.SC8"));
        const ProcessResult r = runProcess(kExporter, args, dir.path());
        if (c.magic.empty()) {
            EXPECT_EQ(r.exitCode, 2);
            EXPECT_TRUE(contains(r.err, c.errPart)) << r.err;
            EXPECT_FALSE(fs::exists(dir.path() / c.output));
            continue;
        }
        ASSERT_EQ(r.exitCode, 0) << r.err;
        const std::vector<unsigned char> written = readBytes(dir / c.output);
        EXPECT_EQ(std::string(written.begin(), written.begin() + static_cast<long>(c.magic.size())),
                  c.magic);
    }
}

struct ExitCase {
    std::vector<std::string> args;
    int exitCode;
    std::string errPart;
};

TEST(Exporter, ExitCodesAndMessagesNameTheProblem) {
    const TempDir dir;
    writeBytes(dir / "EMPTY.SC5", {});
    fs::create_directory(dir.path() / "DIR.SC5");
    fs::copy_file(sample("BARS.SC5"), dir.path() / "IN.bmp");
    fs::create_symlink("gone", dir.path() / "LINK");
    const std::vector<ExitCase> cases{
        {{"-o", "x.png", sample("BARS.SC5")}, 0, ""},
        {{"-o", "x.png", "MISSING.SC5"}, 1, "\"MISSING.SC5\""},
        {{"-o", "x.png", "T\x1b]0;\a\x7f.SC5"}, 1, "\"T\\e]0;\\a\\x7f.SC5\""},
        // C1 controls as raw bytes and as UTF-8; other UTF-8 as it is.
        {{"-o", "x.png",
          "\x9b"
          "1m\xc2\x9b"
          "2m\xc3\xa9.SC5"},
         1,
         "\"\\x9b1m\\xc2\\x9b2m\xc3\xa9.SC5\""},
        {{"-d", "LINK", sample("BARS.SC5")}, 1, "symbolic link to \"gone\", which does not exist"},
        {{"-o", "x.png", "EMPTY.SC5"}, 1, "\"EMPTY.SC5\" is empty"},
        {{"-o", "x.png", "DIR.SC5"}, 1, "\"DIR.SC5\""},
        {{"-o", "x.png", "--vram1", "MISSING.SC7", sample("BARS7.SC7")}, 1, "\"MISSING.SC7\""},
        {{"-o", "x.png", sample("BARS.SC5"), "MISSING.PL5"}, 1, "\"MISSING.PL5\""},
        {{"-o", "nodir/x.png", sample("BARS.SC5")}, 1, "\"nodir\""},
        {{"--format", "bmp", "-o", "IN.bmp", "IN.bmp"}, 1, "is the input file \"IN.bmp\""},
        {{"--format", "bmp", "-d", ".", "IN.bmp"}, 1, "is the input file \"IN.bmp\""},
        {{"-o", "x.png", "--size", "big", sample("BARS.SC5")}, 2, "\"big\" for --size"},
        {{"-o", "x.png", "--frobnicate", sample("BARS.SC5")}, 2, "\"--frobnicate\""},
        {{"-o", "x.png", "--palette-source", "file", sample("BARS.SC5")}, 2, "--palette-source"},
        {{sample("BARS.SC5")}, 2, "-o OUTPUT or -d OUTDIR"},
    };
    for (const ExitCase& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        const ProcessResult r = runProcess(kExporter, c.args, dir.path());
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
        EXPECT_TRUE(contains(r.err, c.errPart)) << r.err;
        fs::remove(dir.path() / "x.png");
    }
}

TEST(Exporter, HelpAndVersion) {
    const TempDir dir;
    const ProcessResult version = runProcess(kExporter, {"--version"}, dir.path());
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "tessarin-export 0.32\n");
    const ProcessResult help = runProcess(kExporter, {"--help"}, dir.path());
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(contains(help.out, "-d OUTDIR FILE..."));
}

TEST(Exporter, FailedExportLeavesTheExistingOutputAndNoScratchFile) {
    const TempDir dir;
    const std::vector<unsigned char> old{'o', 'l', 'd'};
    writeBytes(dir / "out.png", old);
    writeBytes(dir / "EMPTY.SC5", {});
    for (const std::string& input : {std::string("MISSING.SC5"), std::string("EMPTY.SC5")}) {
        EXPECT_EQ(runProcess(kExporter, {"-o", "out.png", input}, dir.path()).exitCode, 1);
        EXPECT_TRUE(readBytes(dir / "out.png") == old);
        EXPECT_EQ(dir.entries(), (std::vector<std::string>{"EMPTY.SC5", "out.png"}));
    }
    // The output may not replace an input: that would lose the input.
    fs::copy_file(sample("BARS.SC5"), dir.path() / "IN.bmp");
    const ProcessResult r =
        runProcess(kExporter, {"--screen", "5", "-o", "IN.bmp", "IN.bmp"}, dir.path());
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(readBytes(dir / "IN.bmp") == readBytes(sample("BARS.SC5")));
}

TEST(Exporter, SuccessReplacesTheOutputAndLeavesNoScratchFile) {
    const TempDir dir;
    writeBytes(dir / "out.png", {'o', 'l', 'd'});
    ASSERT_EQ(
        runProcess(kExporter, {"-q", "-o", "out.png", sample("RGB.SC8")}, dir.path()).exitCode, 0);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"out.png"});
    EXPECT_EQ(pngPixels(dir / "out.png").width, 256);
    // A new picture gets the permissions of a new file, not those of a private scratch file.
    EXPECT_NE(fs::status(dir.path() / "out.png").permissions() & fs::perms::others_read,
              fs::perms::none);
}

TEST(Exporter, NamesWithSpacesNonAsciiAndLeadingDash) {
    const TempDir dir;
    const std::string name = "-my pic \xC3\xA9.SC5";
    fs::copy_file(sample("BARS.SC5"), dir.path() / name);
    const ProcessResult r =
        runProcess(kExporter, {"-q", "-o", "out \xC3\xA9.bmp", "--", name}, dir.path());
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(readBytes(dir / "out \xC3\xA9.bmp") ==
                viewerBitmap({ScreenMode::screen5, dir / name, "", "",
                              mappingOf(256, PaletteSource::automatic)}));
    // Without "--" the name is taken for an option.
    EXPECT_EQ(runProcess(kExporter, {"-o", "x.bmp", name}, dir.path()).exitCode, 2);
}

TEST(Exporter, BatchPairsPalettesByBaseNameAndAppliesPaletteToTheRest) {
    const TempDir in;
    const TempDir out;
    fs::copy_file(sample("BARS.SC5"), in.path() / "BARS.SC5");
    fs::copy_file(sample("BARS.PL5"), in.path() / "bars.pl5");
    fs::copy_file(sample("BARS7.SC7"), in.path() / "BARS7.SC7");
    const ProcessResult r =
        runProcess(kExporter,
                   {"-q", "--format", "bmp", "--palette", sample("BARS7.PL7"), "-d", out.path(),
                    in / "BARS.SC5", in / "bars.pl5", in / "BARS7.SC7"},
                   in.path());
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(out.entries(), (std::vector<std::string>{"BARS.bmp", "BARS7.bmp"}));
    EXPECT_TRUE(readBytes(out / "BARS.bmp") ==
                viewerBitmap({ScreenMode::screen5, in / "BARS.SC5", "", in / "bars.pl5",
                              mappingOf(256, PaletteSource::file)}));
    EXPECT_TRUE(readBytes(out / "BARS7.bmp") ==
                viewerBitmap({ScreenMode::screen7, in / "BARS7.SC7", "", sample("BARS7.PL7"),
                              mappingOf(512, PaletteSource::automatic)}));
    // Alone, the screen file takes the palette of its base name all the same.
    ASSERT_EQ(
        runProcess(kExporter, {"-q", "-o", out / "alone.bmp", in / "BARS.SC5"}, in.path()).exitCode,
        0);
    EXPECT_TRUE(readBytes(out / "alone.bmp") == readBytes(out / "BARS.bmp"));
    // Found in a folder, a screen file with no palette under --palette-source file fails
    // alone; the folder's others are still converted.
    const TempDir walked;
    const ProcessResult w = runProcess(
        kExporter,
        {"-q", "--format", "bmp", "--palette-source", "file", "-d", walked.path(), in.path()},
        in.path());
    EXPECT_EQ(w.exitCode, 1) << w.err;
    EXPECT_TRUE(contains(w.err, "BARS7.SC7: no palette file pairs with it")) << w.err;
    EXPECT_TRUE(contains(w.err, "1 of 2 files failed")) << w.err;
    const fs::path converted =
        fs::path(walked.path()) / fs::path(in.path()).filename() / "BARS.bmp";
    EXPECT_TRUE(readBytes(converted) == readBytes(out / "BARS.bmp"));
}

TEST(Exporter, BatchReportsEachFailedFileAndConvertsTheRest) {
    const TempDir in;
    const TempDir out;
    writeBytes(out / "RGB.png", {'k', 'e', 'e', 'p'});
    writeBytes(in / "EMPTY.SC5", {});
    const ProcessResult r = runProcess(
        kExporter,
        {"-q", "-d", out.path(), sample("RGB.SC8"), "EMPTY.SC5", sample("YJK.SCC"), "GONE.SC7"},
        in.path());
    EXPECT_EQ(r.exitCode, 1);
    const std::string kept = out / "RGB.png"; // named: GCC 12 misreads "\"" + a temporary
    EXPECT_TRUE(contains(r.err, "\"" + kept + "\" already exists")) << r.err;
    EXPECT_TRUE(contains(r.err, "\"EMPTY.SC5\" is empty")) << r.err;
    EXPECT_TRUE(contains(r.err, "\"GONE.SC7\"")) << r.err;
    EXPECT_TRUE(contains(r.err, "3 of 4 files failed")) << r.err;
    EXPECT_TRUE(readBytes(out / "RGB.png") == (std::vector<unsigned char>{'k', 'e', 'e', 'p'}));
    EXPECT_EQ(out.entries(), (std::vector<std::string>{"RGB.png", "YJK.png"}));
    EXPECT_TRUE(pngPixels(out / "YJK.png") ==
                bmpPixels(viewerBitmap({ScreenMode::screen12, sample("YJK.SCC"), "", "",
                                        mappingOf(256, PaletteSource::automatic)})));
}

TEST(Exporter, BatchMakesTheOutputDirectoryOrSaysOnceWhyNot) {
    const TempDir dir;
    writeBytes(dir / "file", {'x'});
    const struct {
        std::string outDir;
        int exitCode;
        std::string err;
    } cases[]{
        {"new/deeper", 0, ""},
        {"file/sub", 1, "Cannot create output directory \"file/sub\": "},
        {"file", 1, "Cannot create output directory \"file\": "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.outDir);
        const ProcessResult r = runProcess(
            kExporter, {"-q", "-d", c.outDir, sample("RGB.SC8"), sample("YJK.SCC")}, dir.path());
        EXPECT_EQ(r.exitCode, c.exitCode);
        EXPECT_TRUE(contains(r.err, c.err)) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), c.exitCode) << r.err;
    }
    EXPECT_TRUE(fs::exists(dir.path() / "new/deeper/RGB.png"));
    EXPECT_TRUE(fs::exists(dir.path() / "new/deeper/YJK.png"));
}

TEST(Exporter, ThumbnailIsAPngFittedToTheSquareReplacingTheOutput) {
    const TempDir dir;
    writeBytes(dir / "thumb", {'o', 'l', 'd'});
    const struct {
        std::vector<std::string> args;
        int width;
        int height;
    } cases[]{
        {{"--thumbnail", "128", sample("BARS.SC5")}, 128, 106},
        {{"--thumbnail", "64", "--size", "512x424int", "--rotate", sample("RAMP.SC6")}, 53, 64},
        {{"--thumbnail", "300", sample("YJK.SCC")}, 300, 248},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[1]);
        std::vector<std::string> args{"--quiet", "-o", "thumb"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        ASSERT_EQ(runProcess(kExporter, args, dir.path()).exitCode, 0);
        const Pixels pixels = pngPixels(dir / "thumb");
        EXPECT_EQ(pixels.width, c.width);
        EXPECT_EQ(pixels.height, c.height);
    }
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"thumb"});
}

// The thumbnailer makes pictures only of picture files: for another program's file with
// one of our names it writes nothing and fails, so the file manager keeps its own icon.
TEST(Exporter, ThumbnailsOnlyOfPictureFiles) {
    const TempDir dir;
    std::vector<unsigned char> bsave{0xFE, 0x00, 0x00, 0xFF, 0xD3, 0x00, 0x00};
    bsave.resize(bsave.size() + 0xD400, 0x49);
    const std::string text = "int main(void) { return 0; }\n";
    std::vector<unsigned char> palette{0xFE, 0x80, 0x76, 0x9F, 0x76, 0x00, 0x00};
    for (int entry = 0; entry < 16; ++entry) {
        palette.insert(palette.end(), {0x11, 0x01}); // 0RRR0BBB 00000GGG
    }
    const struct {
        std::string name;
        std::vector<unsigned char> bytes;
        int exitCode;
    } cases[]{
        {"notes.pic", {text.begin(), text.end()}, 1},
        {"main.src", {text.begin(), text.end()}, 1},
        {"prog.grp", {text.begin(), text.end()}, 1},
        {"a.bin", {0x7F, 'E', 'L', 'F', 2, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0}, 1},
        {"AUTOEXEC.BAS", {0xFF, 0x0F, 0x80, 0x0A, 0x00, 0x91, 0x20, 0x22, 0x41}, 1},
        {"GAMEPAL.SC5", palette, 2}, // a palette alone: no screen file named
        {"EMPTY.SC5", {}, 1},
        {"picture.pic", bsave, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(dir / c.name, c.bytes);
        const ProcessResult r =
            runProcess(kExporter, {"-q", "--thumbnail", "64", "-o", "t.png", c.name}, dir.path());
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
        EXPECT_EQ(fs::exists(dir.path() / "t.png"), c.exitCode == 0);
        fs::remove(dir.path() / "t.png");
    }
}

// --colours shows a screen 8 grey (byte 49h) at each chip's levels; --aspect widens the
// picture to the TV's shape.
TEST(Exporter, ColoursAreTheChipsAndAspectTheTvs) {
    const TempDir dir;
    std::vector<unsigned char> grey{0xFE, 0x00, 0x00, 0xFF, 0xD3, 0x00, 0x00}; // BSAVE 0-D3FF
    grey.resize(grey.size() + 0xD400, 0x49);
    writeBytes(dir / "GREY.SC8", grey);
    const struct {
        std::vector<std::string> options;
        int width;
        std::array<std::uint8_t, 3> grey; // red, green, blue
    } cases[]{
        {{"--colours", "msx2"}, 256, {72, 72, 72}},
        {{"--colours", "msx2+"}, 256, {74, 74, 74}},
        {{"--aspect", "square"}, 256, {72, 72, 85}}, // the files' levels: blue has two bits
        {{"--aspect", "ntsc"}, 293, {72, 72, 85}},
        {{"--aspect", "pal", "--colours", "msx2"}, 353, {72, 72, 72}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options.front() + " " + c.options[1]);
        std::vector<std::string> args{"--quiet", "-o", "out.png", "GREY.SC8"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        ASSERT_EQ(runProcess(kExporter, args, dir.path()).exitCode, 0);
        const Pixels pixels = pngPixels(dir / "out.png");
        EXPECT_EQ(pixels.width, c.width);
        EXPECT_EQ(pixels.height, 212);
        for (std::size_t i = 0; i < pixels.rgb.size(); ++i) {
            ASSERT_EQ(pixels.rgb[i], c.grey[i % 3]) << i;
        }
    }
}

TEST(Exporter, BatchOnManyThreadsListsAndFailsAsOnOne) {
    const TempDir dir;
    writeBytes(dir / "EMPTY.SC5", {});
    const std::vector<std::string> args{"-d",
                                        "out",
                                        sample("RGB.SC8"),
                                        "EMPTY.SC5",
                                        sample("YJK.SCC"),
                                        "GONE.SC7",
                                        sample("BARS.SC5"),
                                        sample("RAMP.SC6")};
    std::vector<ProcessResult> results;
    for (const char* jobs : {"-j1", "-j4"}) {
        fs::remove_all(dir.path() / "out");
        std::vector<std::string> withJobs{jobs};
        withJobs.insert(withJobs.end(), args.begin(), args.end());
        results.push_back(runProcess(kExporter, withJobs, dir.path()));
    }
    EXPECT_EQ(results[0].exitCode, 1);
    EXPECT_TRUE(contains(results[0].out, "out/RGB.png\nout/YJK.png\nout/BARS.png\n"))
        << results[0].out;
    EXPECT_EQ(results[1].exitCode, results[0].exitCode);
    EXPECT_EQ(results[1].out, results[0].out);
    EXPECT_EQ(results[1].err, results[0].err);
}

// A disk image in a batch is a folder: OUTDIR/<disk>/ gets every picture inside, the same
// bytes as the batch over the files copied off the disk.
TEST(Exporter, BatchOverADiskImageWritesWhatItsFilesGive) {
    const TempDir dir;
    const std::string disk = dir / "GAME.DSK";
    const std::string mtools = " -i '" + disk + "' ";
    for (const std::string& command :
         {"mformat -C -f 360" + mtools + "::", "mmd" + mtools + "::/SUB",
          "mcopy" + mtools + sample("BARS.SC5") + " ::/",
          "mcopy" + mtools + sample("BARS.PL5") + " ::/",
          "mcopy" + mtools + sample("YJK.SCC") + " ::/SUB/", "mkdir '" + (dir / "off") + "'",
          "mcopy -s" + mtools + "::/BARS.SC5 ::/BARS.PL5 ::/SUB/YJK.SCC '" + (dir / "off") + "'"}) {
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
    ASSERT_EQ(runProcess(kExporter, {"-q", "-d", dir / "out", disk}, dir.path()).exitCode, 0);
    ASSERT_EQ(runProcess(kExporter,
                         {"-q", "-d", dir / "plain", dir / "off/BARS.SC5", dir / "off/BARS.PL5",
                          dir / "off/YJK.SCC"},
                         dir.path())
                  .exitCode,
              0);
    for (const char* name : {"BARS.png", "YJK.png"}) {
        EXPECT_TRUE(readBytes(dir / (std::string("out/GAME/") + name)) ==
                    readBytes(dir / (std::string("plain/") + name)))
            << name;
    }
}

// A picture on a tape converts as the BSAVE file it was, named through the tape or in a
// batch over it.
TEST(Exporter, APictureOnATapeConvertsAsItsFileAlone) {
    const TempDir dir;
    std::vector<std::uint8_t> tape;
    test::casBinaryFile(tape, "LAND5", readBytes(sample("LAND5.SC5")));
    writeBytes(dir / "GAME.CAS", tape);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"-q", "-o", "tape.png", "GAME.CAS/LAND5"},
          {"-q", "-o", "alone.png", sample("LAND5.SC5")},
          {"-q", "-d", "out", "GAME.CAS"}}) {
        ASSERT_EQ(runProcess(kExporter, args, dir.path()).exitCode, 0) << args.back();
    }
    EXPECT_TRUE(readBytes(dir / "tape.png") == readBytes(dir / "alone.png"));
    EXPECT_TRUE(readBytes(dir / "out/GAME/LAND5.png") == readBytes(dir / "alone.png"));
}

// An archive in a batch is a folder that keeps its own folders; a disk inside it is one
// more, a packed picture the picture it holds; each the same bytes as its file alone.
TEST(Exporter, BatchOverAZipHoldingADiskKeepsItsFolders) {
    const TempDir dir;
    const std::string disk = dir / "in/GAME.DSK";
    ASSERT_EQ(std::system(("mkdir -p '" + (dir / "in/PICS") + "' && cp " + sample("YJK.SCC") +
                           " '" + (dir / "in/PICS") + "' && mformat -C -f 720 -i '" + disk +
                           "' :: && mcopy -i '" + disk + "' " + sample("BARS.SC5") + " " +
                           sample("BARS.PL5") + " ::/")
                              .c_str()),
              0);
    writeBytes(dir / "in/PICS/LAND8.SR8.zx0", test::packZx0(readBytes(sample("LAND8.SR8"))));
    ASSERT_EQ(std::system(("cd '" + (dir / "in") + "' && zip -qr ../GAME.ZIP .").c_str()), 0);
    ASSERT_EQ(
        runProcess(kExporter, {"-q", "-d", dir / "out", dir / "GAME.ZIP"}, dir.path()).exitCode, 0);
    ASSERT_EQ(runProcess(kExporter,
                         {"-q", "-d", dir / "plain", sample("YJK.SCC"), sample("BARS.SC5"),
                          sample("BARS.PL5"), sample("LAND8.SR8")},
                         dir.path())
                  .exitCode,
              0);
    for (const auto& [archived, alone] : {std::pair{"GAME/GAME/BARS.png", "BARS.png"},
                                          {"GAME/PICS/YJK.png", "YJK.png"},
                                          {"GAME/PICS/LAND8.png", "LAND8.png"}}) {
        EXPECT_TRUE(readBytes(dir / (std::string("out/") + archived)) ==
                    readBytes(dir / (std::string("plain/") + alone)))
            << archived;
    }
}

// A batch over an archive reads it once, whatever its kind and whatever the order of its
// members, to the same files as the folder it was made of.
TEST(Exporter, ABatchReadsAnArchiveInOnePass) {
    const TempDir dir;
    const std::string in = dir / "in";
    std::filesystem::create_directory(in);
    const std::vector<unsigned char> picture = readBytes(sample("LAND5.SC5"));
    for (int i = 0; i < 60; ++i) {
        std::vector<unsigned char> bytes = picture;
        bytes[7 + static_cast<std::size_t>(i)] ^= 0xFF;                  // each its own picture
        writeBytes(in + "/P" + std::to_string(100 - i) + ".SC5", bytes); // against natural order
    }
    ASSERT_EQ(runProcess(kExporter, {"-q", "-d", dir / "plain", in}, dir.path()).exitCode, 0);
    const std::pair<std::string, std::string> archives[] = {
        {"A.zip", "zip -q -0 ../A.zip *"},
        {"A.zip", "zip -q ../A.zip *"},
        {"A.7z", "7z a -bd -ms=on ../A.7z * >/dev/null"},
        {"A.7z", "7z a -bd -ms=off ../A.7z * >/dev/null"},
        {"A.lzh", "jlha aq ../A.lzh *"}};
    for (const auto& [name, pack] : archives) {
        SCOPED_TRACE(pack);
        ASSERT_EQ(std::system(("cd '" + in + "' && " + pack).c_str()), 0);
        const std::string file = dir / name;
        test::OpenCounter counter(file);
        ASSERT_EQ(
            runProcess(kExporter, {"-q", "-j", "1", "-d", dir / "out", file}, dir.path()).exitCode,
            0);
        EXPECT_EQ(counter.opens(), 1);
        for (int i = 0; i < 60; ++i) {
            const std::string png = "/P" + std::to_string(100 - i) + ".png";
            ASSERT_TRUE(readBytes(dir / "out/A" + png) == readBytes(dir / "plain/in" + png)) << png;
        }
        std::filesystem::remove_all(dir / "out");
        std::filesystem::remove(file);
    }
}

// A disk as MSX programs fill it: the viewer opens it on its first picture and walks only
// the pictures, each in the mode its name or BSAVE range gives; the batch writes one
// picture per picture file, lists the rest as skipped and succeeds; the disk's single
// picture is its first.
TEST(Exporter, AGameDiskIsWalkedAndConvertedByItsPictures) {
    const TempDir dir;
    fs::create_directory(dir / "in");
    const auto bsave = [](std::vector<unsigned char> file, std::size_t body) {
        file.resize(file.size() + body, 0xC9);
        return file;
    };
    const std::string listing = "10 SCREEN 2\r\n20 BLOAD\"TILES.S02\",S\r\n\x1a";
    writeBytes(dir / "in/AUTOEXEC.BAS", {0xFF, 0x0D, 0x80, 0x0A, 0x00, 0xC5, 0x20, 0x35, 0x00});
    writeBytes(dir / "in/LIST.BAS", {listing.begin(), listing.end()});
    writeBytes(dir / "in/MSXDOS.SYS", bsave({0xFE, 0, 0, 0xFF, 0x69, 0, 0}, 0x6A00));
    writeBytes(dir / "in/COMMAND.COM", {0xC3, 0x00, 0x01});
    writeBytes(dir / "in/GAME.BIN", bsave({0xFE, 0, 0x90, 0xFF, 0x90, 0, 0}, 0x100));
    writeBytes(dir / "in/HIGH.BIN", bsave({0xFE, 0, 0xC0, 0xFF, 0xC0, 0, 0}, 0x100));
    writeBytes(dir / "in/SCORE.DAT", {0x00, 0x12, 0x80, 0x07});
    writeBytes(dir / "in/EMPTY.DAT", {});
    fs::copy_file(sample("LAND5.SC5"), dir / "in/PIC.BIN"); // BSAVE 0000-769F: screen 5
    // Only the patterns: the names are those BASIC's SCREEN 3 leaves, as the sample has.
    std::vector<unsigned char> patterns = readBytes(sample("BLOCKS.SC3"));
    patterns.resize(7 + 0x600);
    patterns[3] = 0xFF;
    patterns[4] = 0x05;
    writeBytes(dir / "in/PATS.SC3", patterns);
    fs::copy_file(sample("CELLS.SC2"), dir / "in/TILES.S02");
    fs::copy_file(sample("BARS.SC5"), dir / "in/TITLE.SC5");
    fs::copy_file(sample("LAND5.SC5"), dir / "in/ZOOM.S05");
    const std::string disk = dir / "GAME.DSK";
    const std::string make = "mformat -C -f 720 -i '" + disk + "' :: && mcopy -i '" + disk + "' '" +
                             (dir / "in") + "'/* ::/";
    ASSERT_EQ(std::system(make.c_str()), 0) << make;

    ScreenDocument doc;
    doc.openByName(disk);
    std::vector<std::pair<std::string, ScreenMode>> walked;
    do {
        walked.emplace_back(Location::of(doc.fileName(FileSlot::vram0)).nameInFolder(),
                            doc.vdp().screenMode());
    } while (doc.openNeighbour(1).opened.value_or("").starts_with(disk + "/")); // not into in/
    EXPECT_EQ(walked,
              (std::vector<std::pair<std::string, ScreenMode>>{{"PATS.SC3", ScreenMode::screen3},
                                                               {"PIC.BIN", ScreenMode::screen5},
                                                               {"TILES.S02", ScreenMode::screen2},
                                                               {"TITLE.SC5", ScreenMode::screen5},
                                                               {"ZOOM.S05", ScreenMode::screen5}}));
    doc.openByName(disk + "/AUTOEXEC.BAS"); // by name, as ever, but said for what it is
    EXPECT_EQ(doc.contentNote(), (ContentNote{NotPicture::tokenisedBasic, {}}));

    const ProcessResult batch =
        runProcess(kExporter, {"-d", dir / "out", disk, sample("BLOCKS.SC3")}, dir.path());
    EXPECT_EQ(batch.exitCode, 0) << batch.err;
    std::vector<std::string> written;
    for (const auto& entry : fs::directory_iterator(dir / "out/GAME")) {
        written.push_back(entry.path().filename().string());
    }
    std::ranges::sort(written);
    EXPECT_EQ(written, (std::vector<std::string>{"PATS.png", "PIC.png", "TILES.png", "TITLE.png",
                                                 "ZOOM.png"}));
    EXPECT_TRUE(contains(batch.err, "note: left out \"" + disk +
                                        "/AUTOEXEC.BAS\": tokenised BASIC program, not a picture"))
        << batch.err;

    ASSERT_EQ(runProcess(kExporter, {"-o", dir / "first.png", disk}, dir.path()).exitCode, 0);
    EXPECT_TRUE(readBytes(dir / "first.png") == readBytes(dir / "out/GAME/PATS.png"));
    EXPECT_TRUE(readBytes(dir / "out/BLOCKS.png") == readBytes(dir / "out/GAME/PATS.png"));
}

// What a file is decides a batch by its bytes, the same on a disk and in a folder: music
// whose name looks like a palette, a palette table named as a picture, an empty picture and
// a text palette are left out, each said; a COPY rectangle and a BSAVE named for nothing
// take the modes their bytes fit; a packed file named is its file.
TEST(Exporter, WhatAFileIsDecidesABatchAlikeOnADiskAndInAFolder) {
    const TempDir dir;
    fs::create_directory(dir / "in");
    const std::string song = "ProTracker 3.7 compilation of SONG1";
    std::vector<unsigned char> module(song.begin(), song.end());
    module.resize(3000, 0x00);
    writeBytes(dir / "in/SONG1.PT3", module);
    std::vector<unsigned char> table{0xFE, 0x80, 0x76, 0x9F, 0x76, 0x00, 0x00};
    const std::vector<unsigned char> bars = readBytes(sample("BARS.PL5"));
    table.insert(table.end(), bars.begin(), bars.end());
    writeBytes(dir / "in/GAMEPAL.SC5", table);
    fs::copy_file(sample("CROP5.SC5"), dir / "in/CROP.BIN"); // COPY 100x80, no palette
    writeBytes(dir / "in/PALETTE.S12", {});
    fs::copy_file(sample("CELLS.SC2"), dir / "in/X.SC2");
    std::string text = "PALETTE\r\n";
    while (text.size() < 184) {
        text += "7,7,7\r\n";
    }
    writeBytes(dir / "in/X.PAL", {text.begin(), text.begin() + 184});
    fs::copy_file(sample("LAND8.SC8"), dir / "in/PIC.BIN"); // BSAVE 0000-D3FF
    const std::string disk = dir / "GAME.DSK";
    const std::string make = "mformat -C -f 720 -i '" + disk + "' :: && mcopy -i '" + disk + "' '" +
                             (dir / "in") + "'/* ::/";
    ASSERT_EQ(std::system(make.c_str()), 0) << make;

    for (const std::string place : {"in", "GAME.DSK"}) {
        SCOPED_TRACE(place);
        const ProcessResult batch = runProcess(kExporter, {"-d", "out", place}, dir.path());
        EXPECT_EQ(batch.exitCode, 0) << batch.err;
        const std::string into = place == "in" ? "out/in/" : "out/GAME/";
        EXPECT_EQ(batch.out, into + "CROP.png\n" + into + "PIC.png\n" + into + "X.png\n");
        for (const std::string note :
             {"PALETTE.S12\": empty file, not a picture", "SONG1.PT3\": text, not a picture",
              "X.PAL\": text, not a palette"}) {
            EXPECT_TRUE(contains(batch.err, "note: left out \"" + place + "/" + note)) << batch.err;
        }
    }
    for (const std::string picture : {"CROP.png", "PIC.png", "X.png"}) {
        EXPECT_TRUE(readBytes(dir / ("out/in/" + picture)) ==
                    readBytes(dir / ("out/GAME/" + picture)))
            << picture;
    }
    // The table is the folder's only palette; the BSAVE of 0000-D3FF is screen 8.
    const auto exported = [&](std::vector<std::string> args) {
        args.insert(args.begin(), {"-q", "-o", "ref.png"});
        EXPECT_EQ(runProcess(kExporter, args, dir.path()).exitCode, 0);
        return readBytes(dir / "ref.png");
    };
    EXPECT_TRUE(readBytes(dir / "out/in/CROP.png") ==
                exported({"--screen", "5", "--palette", "in/GAMEPAL.SC5", sample("CROP5.SC5")}));
    EXPECT_TRUE(readBytes(dir / "out/in/PIC.png") == exported({sample("LAND8.SC8")}));

    const ProcessResult told = runProcess(kExporter, {"-v", "-o", "x.png", "in/X.SC2"}, dir.path());
    EXPECT_TRUE(contains(told.err, "note: in/X.PAL left out: text, not a palette")) << told.err;

    // Named alone, a packed file opens as the file it holds would, by the name rule.
    const std::vector<unsigned char> raw = readBytes(sample("RAW7.SC7"));
    const std::vector<unsigned char> part(raw.begin(), raw.begin() + 8192);
    writeBytes(dir / "level1_0.sra.new.first8kb", part);
    writeBytes(dir / "level1_0.sra.new.first8kb.zx0", test::packZx0(part));
    const ProcessResult packed = runProcess(
        kExporter, {"-q", "-o", "packed.png", "level1_0.sra.new.first8kb.zx0"}, dir.path());
    EXPECT_EQ(packed.exitCode, 0) << packed.err;
    EXPECT_TRUE(readBytes(dir / "packed.png") == exported({"level1_0.sra.new.first8kb"}));
}

// Each packing's file, named alone, exports to the picture of the file it holds, with
// the palette beside it; so does one whose name says nothing (BARS.SC5.DAT), found by
// trying each packing. Packed bytes that unpack to no picture are laid as themselves.
TEST(Exporter, APackedScreenFileExportsAsTheFileItHolds) {
    const TempDir dir;
    fs::copy_file(sample("BARS.PL5"), dir / "BARS.PL5");
    ASSERT_EQ(
        runProcess(kExporter, {"-q", "-o", "plain.png", sample("BARS.SC5")}, dir.path()).exitCode,
        0);
    using Pack = std::vector<std::uint8_t> (*)(std::span<const std::uint8_t>);
    for (const auto& [extension, pack] : {std::pair<std::string, Pack>{".zx0", test::packZx0},
                                          {".zx7", test::packZx7},
                                          {".apl", test::packAplib}}) {
        writeBytes(dir / ("BARS.SC5" + extension), pack(readBytes(sample("BARS.SC5"))));
        const ProcessResult packed =
            runProcess(kExporter, {"-q", "-o", "packed.png", "BARS.SC5" + extension}, dir.path());
        EXPECT_EQ(packed.exitCode, 0) << packed.err;
        EXPECT_TRUE(readBytes(dir / "packed.png") == readBytes(dir / "plain.png")) << extension;
        writeBytes(dir / "BARS.SC5.DAT", pack(readBytes(sample("BARS.SC5"))));
        const ProcessResult unnamed =
            runProcess(kExporter, {"-q", "-o", "unnamed.png", "BARS.SC5.DAT"}, dir.path());
        EXPECT_EQ(unnamed.exitCode, 0) << unnamed.err;
        EXPECT_TRUE(readBytes(dir / "unnamed.png") == readBytes(dir / "plain.png")) << extension;
        writeBytes(dir / "NOTES.DAT", pack(std::vector<std::uint8_t>(20000, 'n')));
        const ProcessResult data =
            runProcess(kExporter, {"-q", "-o", "notes.png", "NOTES.DAT"}, dir.path());
        EXPECT_EQ(data.exitCode, 0) << data.err;
    }
}

// A folder in a batch is converted as a disk image is, into OUTDIR/<folder>/; with -r its
// subfolders and disk images too, each into a folder of its own, and a link back up is
// not followed; without -r each is named as left out. The whole listing and tree compared.
TEST(Exporter, BatchOverAFolderKeepsItsSubfoldersOnlyWithRecursive) {
    const TempDir dir;
    fs::create_directories(dir / "PICS/SUB/DEEP");
    fs::copy_file(sample("BARS.SC5"), dir / "PICS/BARS.SC5");
    fs::copy_file(sample("BARS.PL5"), dir / "PICS/BARS.PL5");
    writeBytes(dir / "PICS/NOTES.TXT", {'n', 'o', 't', 'e', 's', '\n'});
    fs::copy_file(sample("RGB.SC8"), dir / "PICS/SUB/RGB.SC8");
    fs::copy_file(sample("YJK.SCC"), dir / "PICS/SUB/DEEP/YJK.SCC");
    fs::create_directory_symlink("../..", dir / "PICS/SUB/DEEP/UP");
    const std::string disk = dir / "PICS/GAME.DSK";
    const std::string make = "mformat -C -f 360 -i '" + disk + "' :: && mcopy -i '" + disk + "' '" +
                             sample("LAND5.SC5") + "' ::/";
    ASSERT_EQ(std::system(make.c_str()), 0) << make;
    const std::string note = "tessarin-export: note: left out \"PICS/";
    const struct {
        std::vector<std::string> args;
        std::string out;
        std::string err;
        std::vector<std::string> tree;
    } cases[] = {
        {{"-d", "out", "PICS"},
         "out/PICS/BARS.png\n",
         note + "NOTES.TXT\": text, not a picture\n" + note +
             "SUB\": a folder, entered only with -r\n" + note +
             "GAME.DSK\": a disk image, converted only with -r\n"
             "tessarin-export: 1 written, 0 skipped, 0 failed\n",
         {"out/PICS", "out/PICS/BARS.png"}},
        {{"-d", "out", "--recursive", "PICS/"},
         "out/PICS/BARS.png\nout/PICS/SUB/RGB.png\nout/PICS/SUB/DEEP/YJK.png\n"
         "out/PICS/GAME/LAND5.png\n",
         note + "NOTES.TXT\": text, not a picture\n" + note +
             "SUB/DEEP/UP\": a link back to a folder it is in, not followed\n"
             "tessarin-export: 4 written, 0 skipped, 0 failed\n",
         {"out/PICS", "out/PICS/BARS.png", "out/PICS/GAME", "out/PICS/GAME/LAND5.png",
          "out/PICS/SUB", "out/PICS/SUB/DEEP", "out/PICS/SUB/DEEP/YJK.png",
          "out/PICS/SUB/RGB.png"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[2]);
        fs::remove_all(dir / "out");
        const ProcessResult r = runProcess(kExporter, c.args, dir.path());
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(r.err, c.err);
        std::vector<std::string> tree;
        for (const auto& entry : fs::recursive_directory_iterator(dir / "out")) {
            tree.push_back(fs::relative(entry.path(), dir.path()).string());
        }
        std::ranges::sort(tree);
        EXPECT_EQ(tree, c.tree);
    }
    // The pictures are those of the files converted on their own.
    ASSERT_EQ(
        runProcess(kExporter, {"-q", "-d", "alone", "PICS/BARS.SC5", "PICS/BARS.PL5"}, dir.path())
            .exitCode,
        0);
    EXPECT_TRUE(readBytes(dir / "out/PICS/BARS.png") == readBytes(dir / "alone/BARS.png"));
}

// The outputs, written as the walk goes on, are never walked again, whatever their format.
TEST(Exporter, ABatchDoesNotWalkTheFolderItWritesInto) {
    const TempDir dir;
    fs::create_directories(dir / "PICS/SUB");
    constexpr int kPictures = 80;
    for (int i = 0; i < kPictures; ++i) {
        fs::copy_file(sample("LAND5.SC5"), dir / ("PICS/P" + std::to_string(i) + ".SC5"));
    }
    const ProcessResult r =
        runProcess(kExporter, {"-r", "--format", "sc5", "-d", "PICS/SUB/out", "PICS"}, dir.path());
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(contains(r.err, "note: left out \"PICS/SUB/out\": the folder this batch writes "
                                "into, not entered"))
        << r.err;
    EXPECT_TRUE(contains(r.err, std::to_string(kPictures) + " written, 0 skipped, 0 failed"))
        << r.err;
}

TEST(Exporter, BatchConvertsPicturesToScreensWithTheirErrorAndRefusesBadOnes) {
    const TempDir in;
    const TempDir out;
    Picture picture;
    picture.resize(40, 30);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
            picture.row(y)[x] = {static_cast<std::uint8_t>(x * 6), 90,
                                 static_cast<std::uint8_t>(y * 8)};
        }
    }
    const std::vector<std::uint8_t> png = encodePng(picture);
    writeBytes(in / "a.png", {png.begin(), png.end()});
    writeBytes(in / "b.png", {png.begin(), png.end()});
    std::vector<unsigned char> huge(png.begin(), png.end());
    huge[16] = huge[20] = 0x7F; // IHDR: 2 billion pixels a side; libpng checks the CRC after
    writeBytes(in / "huge.png", huge);
    writeBytes(in / "c.jpg", {'n', 'o'});
    writeBytes(out / "b.sc5", {'k', 'e', 'e', 'p'});
    const ProcessResult r = runProcess(
        kExporter, {"-v", "-d", out.path(), "--to", "sc5", "a.png", "b.png", "c.jpg"}, in.path());
    EXPECT_EQ(r.exitCode, 1);
    const std::string kept = out / "b.sc5";
    EXPECT_TRUE(contains(r.err, "\"" + kept + "\" already exists")) << r.err;
    EXPECT_TRUE(contains(r.err, "\"c.jpg\" is neither a PNG nor a JPEG picture")) << r.err;
    EXPECT_TRUE(contains(r.out, std::string(out / "a.sc5") + " (colour difference: ")) << r.out;
    EXPECT_EQ(out.entries(), (std::vector<std::string>{"a.sc5", "b.sc5"}));
    EXPECT_TRUE(readBytes(out / "b.sc5") == (std::vector<unsigned char>{'k', 'e', 'e', 'p'}));
    const std::vector<unsigned char> sc5 = readBytes(out / "a.sc5");
    EXPECT_TRUE(std::vector(sc5.begin(), sc5.begin() + 7) ==
                (std::vector<unsigned char>{0xFE, 0, 0, 0x9F, 0x76, 0, 0}));
    // A picture inside an archive is read through it, to the same file.
    ASSERT_EQ(std::system(("cd '" + in.path().string() + "' && zip -q P.ZIP a.png").c_str()), 0);
    EXPECT_EQ(runProcess(kExporter, {"-o", "Z.SC5", "P.ZIP/a.png"}, in.path()).exitCode, 0);
    EXPECT_TRUE(readBytes(in / "Z.SC5") == sc5);
    const ProcessResult tooLarge = runProcess(kExporter, {"-o", "X.SC8", "huge.png"}, in.path());
    EXPECT_EQ(tooLarge.exitCode, 1);
    EXPECT_TRUE(contains(tooLarge.err, "\"huge.png\"")) << tooLarge.err;
    EXPECT_FALSE(fs::exists(in / "X.SC8"));
    // Interlaced, screen 12's pair is X.scc and X.s1c; a page 1 there already keeps its
    // picture from being written, as its screen file would.
    const TempDir pages;
    writeBytes(pages / "b.s1c", {'k'});
    const ProcessResult interlaced =
        runProcess(kExporter, {"-d", pages.path(), "--interlace", "--to", "sc12", "a.png", "b.png"},
                   in.path());
    EXPECT_EQ(interlaced.exitCode, 1);
    EXPECT_TRUE(contains(interlaced.err, "\"" + std::string(pages / "b.s1c") + "\" already exists"))
        << interlaced.err;
    EXPECT_EQ(pages.entries(), (std::vector<std::string>{"a.s1c", "a.scc", "b.s1c"}));
}

} // namespace
} // namespace tessarin::testing
