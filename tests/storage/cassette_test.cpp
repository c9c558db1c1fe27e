#include "catalog/picture_kind.h"
#include "platform/file_error.h"
#include "storage/storage_kinds.h"
#include "tests/platform/scratch_dir.h"
#include "tests/support/cassette_make.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <optional>

namespace tessarin {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes sample(const char* name) {
    return test::readBytes(std::string(TESSARIN_SOURCE_DIR "/samples/") + name);
}

// What a listed file is, as browsing judges it: a picture's mode, else why it is none.
struct Listed {
    std::string name;
    std::optional<ScreenMode> mode;
    NotPicture reason = NotPicture::none;
    bool operator==(const Listed&) const = default;
};

// Tapes made as the BIOS writes them, listed through the place their name makes: each file
// as a disk would hold it and what browsing makes of it; broken ones fault naming the tape
// or the file.
TEST(Cassette, TapesListTheirFilesAsADiskWould) {
    const Bytes land = sample("LAND5.SC5");  // BSAVE 0000h-769Fh: screen 5 with its palette
    const Bytes cells = sample("CELLS.SC2"); // BSAVE 0000h-37FFh: screen 2
    const Bytes basic{0x09, 0x80, 0x0A, 0x00, 0x91, 0x20, 0x22, 0x41, 0x22,
                      0x00, 0,    0,    0,    0,    0,    0,    0};
    Bytes collection;
    test::casBinaryFile(collection, "LAND5", land);
    test::casHeader(collection, test::kCasBasic, "LOADER");
    test::casBlock(collection, basic);
    test::casBinaryFile(collection, "CELLS", cells);
    test::casAsciiFile(collection, "LIST", std::string(300, 'x'));
    Bytes twice;
    test::casBinaryFile(twice, "PIC", cells);
    test::casBinaryFile(twice, "PIC", land);
    test::casBinaryFile(twice, "", cells); // a blank name is its header block's
    Bytes cut = collection;
    cut.resize(8 + 16 + 8 + 6 + 100); // LAND5's data block after 100 of its bytes
    Bytes noData;
    test::casHeader(noData, test::kCasBinary, "ALONE");
    Bytes noEnd;
    test::casHeader(noEnd, test::kCasAscii, "TEXT");
    test::casBlock(noEnd, Bytes(256, 'y'));
    Bytes headerless;
    test::casBlock(headerless, Bytes(100, 0xC3)); // a loader's own block: no file header

    struct Case {
        const char* what;
        Bytes tape;
        std::vector<Listed> listed;
        std::vector<std::string> problems; // the files they name
        std::optional<Fault> fails;        // opening the tape
    };
    const Listed landListed{"LAND5", ScreenMode::screen5, NotPicture::none};
    const std::vector<Case> cases{
        {"two pictures, BASIC and ASCII",
         collection,
         {{"CELLS", ScreenMode::screen2, NotPicture::none},
          landListed,
          {"LIST.ASC", std::nullopt, NotPicture::text},
          {"LOADER.BAS", std::nullopt, NotPicture::tokenisedBasic}},
         {},
         {}},
        {"one name twice, one blank",
         twice,
         {{"BLOCK5", ScreenMode::screen2, NotPicture::none},
          {"PIC", ScreenMode::screen2, NotPicture::none},
          {"PIC~2", ScreenMode::screen5, NotPicture::none}},
         {},
         {}},
        {"cut in a picture", cut, {landListed}, {"GAME.CAS/LAND5"}, {}},
        {"a header without data", noData, {}, {"GAME.CAS/ALONE"}, {}},
        {"ASCII without its end mark",
         noEnd,
         {{"TEXT.ASC", std::nullopt, NotPicture::text}},
         {"GAME.CAS/TEXT.ASC"},
         {}},
        {"a block of no file", headerless, {{"BLOCK1", std::nullopt, NotPicture::data}}, {}, {}},
        {"garbage", Bytes(land.begin() + 1, land.end()), {}, {}, Fault::notCassette},
        {"shifted off the boundary",
         [&] {
             Bytes shifted(4, 0);
             shifted.insert(shifted.end(), collection.begin(), collection.end());
             return shifted;
         }(),
         {},
         {},
         Fault::notCassette},
    };
    for (const Case& c : cases) {
        const test::ScratchDir dir;
        const std::string tape = dir.path() + "/GAME.CAS";
        test::writeBytes(tape, c.tape);
        try {
            const auto storage = openStorage(Location::of(tape));
            EXPECT_FALSE(c.fails) << c.what;
            std::vector<std::string> names = storage->names();
            std::ranges::sort(names);
            std::vector<Listed> listed;
            for (const std::string& name : names) {
                const InputBytes input = storage->read(name, kKindHeadBytes, tape + "/" + name);
                const PictureKind kind = pictureKind(name, input.bytes, input.size);
                listed.push_back({name, kind.screenMode, kind.reason});
            }
            EXPECT_EQ(listed, c.listed) << c.what;
            std::vector<std::string> problems;
            for (const FileError& problem : storage->problems()) {
                EXPECT_EQ(problem.fault(), Fault::tapeFileBroken) << c.what;
                problems.push_back(problem.fileName().substr(dir.path().size() + 1));
            }
            EXPECT_EQ(problems, c.problems) << c.what;
            if (c.what == cases.front().what) { // a binary file is the BSAVE file it was
                EXPECT_EQ(storage->read("LAND5", land.size() + 1, "").bytes, land);
                Bytes program{0xFF};
                program.insert(program.end(), basic.begin(), basic.end());
                program.resize(1 + 24); // and the zeros up to the next block
                EXPECT_EQ(storage->read("LOADER.BAS", 100, "").bytes, program);
            }
        } catch (const FileError& error) {
            EXPECT_EQ(error.fault(), c.fails) << c.what << ": " << error.what();
            EXPECT_EQ(error.fileName(), tape) << c.what;
        }
    }
}

} // namespace
} // namespace tessarin
