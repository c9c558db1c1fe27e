#include "export/batch_plan.h"
#include "export/options.h"
#include "names/file_name_rule.h"
#include "tests/platform/scratch_dir.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <variant>

namespace tessarin::exporter {
namespace {

// Options as parsed from "-o out.png FILE..." with nothing else given.
ExportOptions single(std::string screen, std::vector<std::string> files) {
    ExportOptions o;
    o.output = "out.png";
    o.screenFile = std::move(screen);
    o.files = std::move(files);
    o.format = ImageFormat::png;
    return o;
}

struct GoodCase {
    std::vector<std::string> args;
    std::function<void(ExportOptions&)> expect; // changes to single("PIC.SC5", {"PIC.SC5"})
};

TEST(ExportOptions, EveryOptionIsParsedIntoItsField) {
    const std::vector<GoodCase> cases{
        {{"-o", "out.png", "PIC.SC5"}, [](ExportOptions&) {}},
        {{"PIC.SC5", "-o", "out.png"}, [](ExportOptions&) {}},
        {{"--output=out.png", "PIC.SC5"}, [](ExportOptions&) {}},
        {{"-oout.png", "PIC.SC5"}, [](ExportOptions&) {}},
        {{"-o", "out.png", "--screen", "8", "PIC.SC5"},
         [](ExportOptions& o) { o.screenMode = ScreenMode::screen8; }},
        {{"-o", "out.png", "--screen=11", "PIC.SC5"},
         [](ExportOptions& o) { o.screenMode = ScreenMode::screen10; }},
        {{"-o", "out.png", "--screen", "12", "PIC.SC5"},
         [](ExportOptions& o) { o.screenMode = ScreenMode::screen12; }},
        {{"-o", "out.png", "--vram1", "P1.SC7", "PIC.SC5"},
         [](ExportOptions& o) { o.vram1File = "P1.SC7"; }},
        {{"-o", "out.png", "--palette", "X.PL5", "PIC.SC5"},
         [](ExportOptions& o) { o.paletteFile = "X.PL5"; }},
        {{"-o", "out.png", "--header0", "0", "--header1", "32767", "PIC.SC5"},
         [](ExportOptions& o) {
             o.headerSize = {0, 32767};
             o.fixedLayout = true;
         }},
        {{"-o", "out.png", "--line-pixels", "1", "PIC.SC5"},
         [](ExportOptions& o) {
             o.linePixels = 1;
             o.fixedLayout = true;
         }},
        {{"-o", "out.png", "--line-pixels=512", "PIC.SC5"},
         [](ExportOptions& o) {
             o.linePixels = 512;
             o.fixedLayout = true;
         }},
        {{"-o", "out.png", "--colours=msx2+", "--aspect", "pal", "PIC.SC5"},
         [](ExportOptions& o) {
             o.colourModel = ColourModel::msx2plus;
             o.aspect = PixelAspect::pal;
         }},
        {{"-o", "out.png", "--colours", "msx1", "--sprites", "off", "PIC.SC5"},
         [](ExportOptions& o) {
             o.colourModel = ColourModel::msx1;
             o.sprites = SpriteChoice::off;
         }},
        {{"-o", "X.SC2", "--sprites", "32", "--sprites", "on", "--sprite-size", "16", "PIC.SC5"},
         [](ExportOptions& o) {
             o.output = "X.SC2";
             o.format = ImageFormat::sc2;
             o.placedSprites = 32;
             o.sprites = SpriteChoice::on;
             o.largeSprites = true;
         }},
        {{"-o", "out.png", "--palette-source", "vram", "PIC.SC5"},
         [](ExportOptions& o) { o.paletteSource = PaletteSource::vram; }},
        {{"-o", "out.png", "--palette-source", "standard", "PIC.SC5"},
         [](ExportOptions& o) { o.paletteSource = PaletteSource::standard; }},
        {{"-o", "out.png", "--size", "512x424mag", "PIC.SC5"},
         [](ExportOptions& o) { o.size = ViewSize::magnify512x424; }},
        {{"-o", "out.png", "--size", "512x424int", "PIC.SC5"},
         [](ExportOptions& o) { o.size = ViewSize::interlace512x424; }},
        {{"-o", "out.png", "--size", "256x424joi", "--rotate", "PIC.SC5"},
         [](ExportOptions& o) {
             o.size = ViewSize::joint256x424;
             o.rotate = true;
         }},
        {{"-o", "out", "--format", "bmp", "PIC.SC5"},
         [](ExportOptions& o) {
             o.output = "out";
             o.format = ImageFormat::bmp;
         }},
        {{"-q", "-o", "out.png", "PIC.SC5"}, [](ExportOptions& o) { o.quiet = true; }},
        {{"--thumbnail", "4096", "-o", "out", "PIC.SC5"},
         [](ExportOptions& o) {
             o.output = "out";
             o.thumbnailSize = 4096;
             o.format = ImageFormat::png;
         }},
        {{"-j4", "-o", "out.png", "PIC.SC5"}, [](ExportOptions& o) { o.jobs = 4; }},
        {{"--quiet", "-o", "out.png", "PIC.SC5"}, [](ExportOptions& o) { o.quiet = true; }},
        // The file-name rule sorts the FILEs: a palette by its third character from the end.
        {{"-o", "out.png", "PIC.pl5", "PIC.SC5"},
         [](ExportOptions& o) {
             o.paletteFile = "PIC.pl5";
             o.files = {"PIC.pl5", "PIC.SC5"};
         }},
        {{"-o", "out.png", "--palette-source", "file", "PIC.SC5", "PIC.PL5"},
         [](ExportOptions& o) {
             o.paletteFile = "PIC.PL5";
             o.paletteSource = PaletteSource::file;
             o.files = {"PIC.SC5", "PIC.PL5"};
         }},
        // After "--" everything is a FILE, dashes and all.
        {{"-o", "out.png", "--", "-PIC.SC5"},
         [](ExportOptions& o) {
             o.screenFile = "-PIC.SC5";
             o.files = {"-PIC.SC5"};
         }},
        {{"-o", "out.BMP", "PIC.SC5"},
         [](ExportOptions& o) {
             o.output = "out.BMP";
             o.format = ImageFormat::bmp;
         }},
        // 192 lines in any screen, 212 in a bitmap one.
        {{"-o", "out.SC3", "--lines", "192", "PIC.SC5"},
         [](ExportOptions& o) {
             o.output = "out.SC3";
             o.format = ImageFormat::sc3;
             o.lines = 192;
         }},
        {{"-o", "out", "--to", "sc6", "--lines=212", "PIC.SC5"},
         [](ExportOptions& o) {
             o.output = "out";
             o.format = ImageFormat::sc6;
             o.lines = 212;
         }},
    };
    for (const GoodCase& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        const auto parsed = parseOptions(c.args);
        ASSERT_TRUE(std::holds_alternative<Command>(parsed))
            << std::get<UsageError>(parsed).message;
        ExportOptions expected = single("PIC.SC5", {"PIC.SC5"});
        c.expect(expected);
        EXPECT_EQ(std::get<Command>(parsed).action, Action::run);
        EXPECT_TRUE(std::get<Command>(parsed).options == expected);
    }
}

TEST(ExportOptions, BatchTakesEveryFileAndDefaultsToPng) {
    const std::vector<std::string> args{"-d", "out", "A.SC5", "A.PL5", "B.SC8"};
    const auto parsed = parseOptions(args);
    ASSERT_TRUE(std::holds_alternative<Command>(parsed));
    const ExportOptions& o = std::get<Command>(parsed).options;
    EXPECT_TRUE(o.batch());
    EXPECT_EQ(o.outDir, "out");
    EXPECT_EQ(o.files, (std::vector<std::string>{"A.SC5", "A.PL5", "B.SC8"}));
    EXPECT_EQ(o.format, ImageFormat::png);
}

TEST(ExportOptions, HelpAndVersionWinOverTheRest) {
    EXPECT_EQ(std::get<Command>(parseOptions(std::vector<std::string>{"--help"})).action,
              Action::help);
    EXPECT_EQ(
        std::get<Command>(parseOptions(std::vector<std::string>{"--version", "--bogus"})).action,
        Action::version);
}

struct BadCase {
    std::vector<std::string> args;
    std::string messagePart; // the option, value or file the message must name
};

TEST(ExportOptions, UsageErrorsNameTheBadOptionOrValue) {
    const std::vector<BadCase> cases{
        {{"--bogus", "-o", "x.png", "A.SC5"}, "\"--bogus\""},
        {{"-x", "-o", "x.png", "A.SC5"}, "\"-x\""},
        {{"-o", "x.png", "--screen", "9", "A.SC5"}, "\"9\" for --screen"},
        {{"-o", "x.png", "--screen", "", "A.SC5"}, "--screen needs a value"},
        {{"-o", "x.png", "--screen"}, "--screen needs a value"},
        {{"-o", "x.png", "--header0", "-1", "A.SC5"}, "\"-1\" for --header0"},
        {{"-o", "x.png", "--header1", "32768", "A.SC5"}, "\"32768\" for --header1"},
        {{"-o", "x.png", "--header0", "7x", "A.SC5"}, "\"7x\" for --header0"},
        {{"-o", "x.png", "--line-pixels", "0", "A.SC5"}, "\"0\" for --line-pixels"},
        {{"-o", "x.png", "--line-pixels", "513", "A.SC5"}, "\"513\" for --line-pixels"},
        {{"-o", "x.png", "--thumbnail", "0", "A.SC5"}, "\"0\" for --thumbnail"},
        {{"-o", "x.bmp", "--format", "png", "A.SC5"}, "does not agree with the extension"},
        {{"-d", "out", "--jobs", "257", "A.SC5"}, "\"257\" for --jobs"},
        {{"-o", "x.png", "--palette-source", "disk", "A.SC5"}, "\"disk\" for --palette-source"},
        {{"-o", "x.png", "--size", "640x480", "A.SC5"}, "\"640x480\" for --size"},
        {{"-o", "x.png", "--format", "gif", "A.SC5"}, "\"gif\" for --format"},
        {{"-o", "x.png", "--colours", "msx3", "A.SC5"}, "\"msx3\" for --colours"},
        {{"-o", "x.png", "--aspect", "4:3", "A.SC5"}, "\"4:3\" for --aspect"},
        {{"-o", "x.sc2", "--sprites", "33", "A.SC5"}, "\"33\" for --sprites"},
        {{"-o", "x.sc2", "--sprites", "many", "A.SC5"}, "on, off, auto or a number"},
        {{"-o", "x.sc5", "--sprites", "4", "A.SC5"}, "screen 2 files (.sc2) only"},
        {{"-d", "out", "--sprites", "4", "A.SC5"}, "screen 2 files (.sc2) only"},
        {{"-o", "x.png", "--sprite-size", "32", "A.SC5"}, "\"32\" for --sprite-size"},
        {{"-o", "x.png", "--rotate=yes", "A.SC5"}, "--rotate takes no value"},
        {{"-o", "x.png", "-qq", "A.SC5"}, "-q takes no value"},
        {{"-o", "x.png", "--palette-source", "file", "A.SC5"}, "--palette-source file"},
        {{"-o", "x.png", "A.SC5", "B.SC7"}, "\"A.SC5\" and \"B.SC7\""},
        {{"-o", "x.png", "A.PL5", "B.PL7"}, "\"A.PL5\" and \"B.PL7\""},
        {{"-o", "x.png", "--palette", "A.PL5", "A.SC5", "B.PL5"}, "\"A.PL5\" and \"B.PL5\""},
        {{"-o", "x.png", "A.SC5", "A.PL5", "C.SC8"}, "\"C.SC8\""},
        {{"-o", "x.png", "A.PL5"}, "\"A.PL5\""},
        {{"-o", "x.jpg", "A.SC5"}, "\"x.jpg\""},
        {{"-o", "x.png", "-d", "out", "A.SC5"}, "-o and -d"},
        {{"A.SC5"}, "-o OUTPUT or -d OUTDIR"},
        {{"-o", "x.png"}, "no input FILE"},
        {{"-d", "out"}, "no input FILE"},
        {{"-o", "x.SC8", "--lines", "200", "A.SC5"}, "\"200\" for --lines"},
        {{"-o", "x.SC4", "--lines", "212", "A.SC5"}, "screen 4 has 192 lines only"},
        {{"-d", "out", "--lines", "192", "A.SC5"}, "--lines is for a screen file written, not png"},
        {{"-o", "x.SC4", "--interlace", "A.SC5"}, "screens 5 to 12 written, not sc4"},
        {{"-o", "x.SC12", "--interlace", "A.SC5"}, "no page-1 name pairs with \"x.SC12\""},
    };
    for (const BadCase& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        const auto parsed = parseOptions(c.args);
        ASSERT_TRUE(std::holds_alternative<UsageError>(parsed));
        EXPECT_NE(std::get<UsageError>(parsed).message.find(c.messagePart), std::string::npos)
            << std::get<UsageError>(parsed).message;
    }
}

ExportOptions batchOf(std::vector<std::string> files) {
    ExportOptions o;
    o.outDir = "out";
    o.files = std::move(files);
    o.format = ImageFormat::png;
    return o;
}

// The walk's parts as one: their items and unused palettes in order.
std::variant<PlanPart, UsageError> plannedOf(const ExportOptions& options) {
    PlanPart all;
    const auto usage = planBatch(options, [&all](PlanPart&& part) {
        std::ranges::move(part.items, std::back_inserter(all.items));
        std::ranges::move(part.unusedPalettes, std::back_inserter(all.unusedPalettes));
        return true;
    });
    if (usage) {
        return *usage;
    }
    return all;
}

TEST(BatchPlan, PalettesPairByBaseNameIgnoringCase) {
    ExportOptions o = batchOf({"a/PIC.SC5", "c/pic.pl7", "b/pic.pl5", "OTHER.SC7", "ALONE.PL7"});
    o.paletteFile = "ALL.PL5";
    const auto planned = plannedOf(o);
    ASSERT_TRUE(std::holds_alternative<PlanPart>(planned));
    const PlanPart& plan = std::get<PlanPart>(planned);
    ASSERT_EQ(plan.items.size(), 2U);
    EXPECT_EQ(plan.items[0].output, "out/PIC.png");
    EXPECT_EQ(jobOf(o, plan.items[0]).paletteFile.path(), "b/pic.pl5");
    EXPECT_EQ(jobOf(o, plan.items[0]).screenMode, ScreenMode::screen5);
    EXPECT_EQ(jobOf(o, plan.items[0]).mapping.paletteSource, PaletteSource::automatic);
    EXPECT_EQ(plan.items[1].output, "out/OTHER.png");
    EXPECT_EQ(jobOf(o, plan.items[1]).paletteFile.path(), "ALL.PL5");
    EXPECT_EQ(jobOf(o, plan.items[1]).mapping.linePixels, (std::array<std::int16_t, 2>{512, 512}));
    // Of two palettes for one base name the first in file-manager order pairs.
    EXPECT_EQ(plan.unusedPalettes, (std::vector<std::string>{"c/pic.pl7", "ALONE.PL7"}));
}

TEST(BatchPlan, ProblemsWithTheFileListAreUsageErrorsNamingTheFiles) {
    const std::vector<BadCase> cases{
        {{"PIC.PL5"}, "no screen file"},
    };
    for (const BadCase& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        const auto planned = plannedOf(batchOf(c.args));
        ASSERT_TRUE(std::holds_alternative<UsageError>(planned));
        EXPECT_NE(std::get<UsageError>(planned).message.find(c.messagePart), std::string::npos)
            << std::get<UsageError>(planned).message;
    }
    ExportOptions o = batchOf({"A.SC5", "A.PL5", "B.SC5"});
    o.paletteSource = PaletteSource::file;
    const auto planned = plannedOf(o);
    ASSERT_TRUE(std::holds_alternative<UsageError>(planned));
    EXPECT_NE(std::get<UsageError>(planned).message.find("\"B.SC5\""), std::string::npos);
}

TEST(BatchPlan, CollidingOutputsKeepTheirExtensionThenANumber) {
    const struct {
        std::vector<std::string> files;
        std::vector<std::string> outputs;
    } cases[]{
        {{"X.SC5", "X.SR8", "Y.SC5"}, {"out/X.SC5.png", "out/X.SR8.png", "out/Y.png"}},
        {{"a/PIC.SC5", "b/PIC.SC5", "c/PIC.SC5"},
         {"out/PIC.SC5.png", "out/PIC.SC5-2.png", "out/PIC.SC5-3.png"}},
        // A number never takes the name another file has by its own.
        {{"a/P.SC5", "b/P.SC5", "P.SC5-2.SC8"},
         {"out/P.SC5.png", "out/P.SC5-3.png", "out/P.SC5-2.png"}},
        {{"PIC.SC5", "PIC.SC5"}, {"out/PIC.png"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.files));
        const auto planned = plannedOf(batchOf(c.files));
        ASSERT_TRUE(std::holds_alternative<PlanPart>(planned));
        std::vector<std::string> outputs;
        for (const BatchItem& item : std::get<PlanPart>(planned).items) {
            outputs.push_back(item.output);
        }
        EXPECT_EQ(outputs, c.outputs);
    }
}

// Each place is a part of its own, handed on in the FILEs' order, a folder's own pictures
// before its subfolder's.
TEST(BatchPlan, PartsComePlaceByPlaceInTheFilesOrder) {
    const test::ScratchDir dir;
    for (const char* name : {"A.SC5", "B.SC5", "DIR/X.SC5", "DIR/SUB/Y.SC5", "DIR/Z.SC5"}) {
        std::filesystem::create_directories(std::filesystem::path(dir.file(name)).parent_path());
        test::writeBytes(dir.file(name), {1});
    }
    ExportOptions o = batchOf({dir.file("A.SC5"), dir.file("DIR"), dir.file("B.SC5")});
    o.recursive = true;
    std::vector<std::vector<std::string>> parts;
    ASSERT_FALSE(planBatch(o, [&parts](PlanPart&& part) {
        parts.emplace_back();
        for (const BatchItem& item : part.items) {
            parts.back().push_back(item.output);
        }
        return true;
    }));
    EXPECT_EQ(parts, (std::vector<std::vector<std::string>>{{"out/A.png"},
                                                            {"out/DIR/X.png", "out/DIR/Z.png"},
                                                            {"out/DIR/SUB/Y.png"},
                                                            {"out/B.png"}}));
}

// A companion named with its screen file is that picture's page 1, as browsing shows it,
// not a picture of its own; named alone it is one.
TEST(BatchPlan, ACompanionNamedWithItsScreenFileIsItsPageOne) {
    const test::ScratchDir dir;
    for (const char* name : {"X.SC7", "X.S17", "Y.S17"}) {
        test::writeBytes(dir.file(name), {1});
    }
    const ExportOptions o = batchOf({dir.file("X.SC7"), dir.file("X.S17"), dir.file("Y.S17")});
    const auto planned = plannedOf(o);
    ASSERT_TRUE(std::holds_alternative<PlanPart>(planned));
    const std::vector<BatchItem>& items = std::get<PlanPart>(planned).items;
    ASSERT_EQ(items.size(), 2U);
    EXPECT_EQ(items[0].output, "out/X.png");
    EXPECT_EQ(jobOf(o, items[0]).vram1File.path(), dir.file("X.S17"));
    EXPECT_EQ(items[1].output, "out/Y.png");
}

// A palette's name on a file too large to be a palette is a screen file, as the viewer
// opens it: for -o and in a batch.
TEST(ExportOptions, APaletteNameOnAFileLargerThanAPaletteIsAScreenFile) {
    const test::ScratchDir dir;
    const std::string big = dir.file("BIG.PAL");
    const std::string small = dir.file("SMALL.PAL");
    test::writeBytes(big, std::vector<std::uint8_t>(kMaxPaletteFileSize + 1, 0));
    test::writeBytes(small, std::vector<std::uint8_t>(kMaxPaletteFileSize, 0));
    const auto parsed = parseOptions(std::vector<std::string>{"-o", "out.png", small, big});
    ASSERT_TRUE(std::holds_alternative<Command>(parsed)) << std::get<UsageError>(parsed).message;
    EXPECT_EQ(std::get<Command>(parsed).options.screenFile, big);
    EXPECT_EQ(std::get<Command>(parsed).options.paletteFile, small);
    const auto planned = plannedOf(batchOf({big}));
    ASSERT_TRUE(std::holds_alternative<PlanPart>(planned));
    ASSERT_EQ(std::get<PlanPart>(planned).items.size(), 1U);
    EXPECT_EQ(std::get<PlanPart>(planned).items[0].screenFile.path(), big);
}

TEST(BatchPlan, BaseNameDropsDirectoryAndLastExtensionOnly) {
    EXPECT_EQ(baseNameWithoutExtension("dir.x/PIC.SC5"), "PIC");
    EXPECT_EQ(baseNameWithoutExtension("a.b.SC5"), "a.b");
    EXPECT_EQ(baseNameWithoutExtension("NOEXT"), "NOEXT");
    EXPECT_EQ(baseNameWithoutExtension(".SC5"), ".SC5");
}

} // namespace
} // namespace tessarin::exporter
