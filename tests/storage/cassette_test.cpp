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

// Tapes made as the BIOS writes them, opened through the place their name makes: each file
// listed as a disk would hold it, and what browsing makes of it (a picture's mode, else
// why it is none); broken ones fault naming the tape or the file.
TEST(Cassette, TapesListTheirFilesAsADiskWould) {
    const std::string samples = TESSARIN_SOURCE_DIR "/samples/";
    const Bytes land = test::readBytes(samples + "LAND5.SC5");  // 0000h-769Fh: screen 5
    const Bytes cells = test::readBytes(samples + "CELLS.SC2"); // 0000h-37FFh: screen 2
    const Bytes basic{0x09, 0x80, 0x0A, 0x00, 0x91, 0x20, 0x22, 0x41, 0x22, 0, 0, 0, 0, 0, 0, 0};
    Bytes tape, twice, noData, noEnd, headerless;
    test::casBinaryFile(tape, "LAND5", land);
    test::casHeader(tape, test::kCasBasic, "LOADER");
    test::casBlock(tape, basic);
    test::casBinaryFile(tape, "CELLS", cells);
    test::casAsciiFile(tape, "LIST", std::string(300, 'x'));
    test::casBinaryFile(twice, "PIC", cells);
    test::casBinaryFile(twice, "PIC", land);
    test::casBinaryFile(twice, "", cells); // a blank name is its header block's
    Bytes cut(tape.begin(), tape.begin() + 8 + 16 + 8 + 6 + 100); // 100 bytes of LAND5's data
    test::casHeader(noData, test::kCasBinary, "ALONE");
    test::casHeader(noEnd, test::kCasAscii, "TEXT");
    test::casBlock(noEnd, Bytes(256, 'y'));
    test::casBlock(headerless, Bytes(100, 0xC3)); // a loader's own block: no file header
    const std::string text = ": text, not a picture";

    struct Case {
        Bytes tape;
        std::vector<std::string> listed;   // "NAME: mode" or "NAME: reason"
        std::vector<std::string> problems; // the files they name
        std::optional<Fault> fails;        // opening the tape
    };
    const std::vector<Case> cases{
        {tape,
         {"CELLS: 2", "LAND5: 5", "LIST.ASC" + text,
          "LOADER.BAS: tokenised BASIC program, not a picture"},
         {},
         {}},
        {twice, {"BLOCK5: 2", "PIC: 2", "PIC~2: 5"}, {}, {}},
        {cut, {"LAND5: 5"}, {"GAME.CAS/LAND5"}, {}},
        {noData, {}, {"GAME.CAS/ALONE"}, {}},
        {noEnd, {"TEXT.ASC" + text}, {"GAME.CAS/TEXT.ASC"}, {}},
        {headerless, {"BLOCK1: data, not a picture"}, {}, {}},
        {Bytes(land.begin() + 1, land.end()), {}, {}, Fault::notCassette},
    };
    for (const Case& c : cases) {
        const test::ScratchDir dir;
        const std::string file = dir.path() + "/GAME.CAS";
        test::writeBytes(file, c.tape);
        SCOPED_TRACE(c.listed.empty() ? "" : c.listed.front());
        try {
            const auto storage = openStorage(Location::of(file));
            EXPECT_FALSE(c.fails);
            std::vector<std::string> names = storage->names(), listed, problems;
            std::ranges::sort(names);
            for (const std::string& name : names) {
                const InputBytes input = storage->read(name, kKindHeadBytes, name);
                const PictureKind kind = pictureKind(name, input.bytes, input.size);
                listed.push_back(name + ": " +
                                 (kind.screenMode ? std::to_string(int(*kind.screenMode))
                                                  : std::string(reasonText(kind.reason))));
            }
            EXPECT_EQ(listed, c.listed);
            for (const FileError& problem : storage->problems()) {
                EXPECT_EQ(problem.fault(), Fault::tapeFileBroken);
                problems.push_back(problem.fileName().substr(dir.path().size() + 1));
            }
            EXPECT_EQ(problems, c.problems);
        } catch (const FileError& error) {
            EXPECT_EQ(error.fault(), c.fails) << error.what();
            EXPECT_EQ(error.fileName(), file);
        }
    }
    // A binary file is the BSAVE file it was; a BASIC program gets its FFh.
    const test::ScratchDir dir;
    test::writeBytes(dir.path() + "/GAME.CAS", tape);
    const auto storage = openStorage(Location::of(dir.path() + "/GAME.CAS"));
    EXPECT_EQ(storage->read("LAND5", land.size() + 1, "").bytes, land);
    const Bytes program = storage->read("LOADER.BAS", 100, "").bytes;
    EXPECT_TRUE(program.front() == 0xFF && Bytes(program.begin() + 1, program.end()) == basic);
}

} // namespace
} // namespace tessarin
