#include "platform/file_error.h"
#include "storage/archive_storage.h"
#include "storage/storage_kinds.h"
#include "tests/platform/scratch_dir.h"
#include "tests/support/zx0_pack.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <limits>

namespace tessarin {
namespace {

using test::readBytes;
constexpr std::size_t kAll = std::numeric_limits<std::size_t>::max();

std::string sample(const char* name) {
    return std::string(TESSARIN_SOURCE_DIR "/samples/") + name;
}

bool run(const std::string& command) {
    return std::system(command.c_str()) == 0;
}

InputBytes readThrough(const std::string& place, const std::string& name) {
    return openStorage(Location::of(place))->read(name, kAll, place + "/" + name);
}

struct Archiver {
    const char* archive;
    const char* tool;
    const char* command; // run in the folder to archive, ARCHIVE the archive's path
};

class Archives : public testing::TestWithParam<Archiver> {};

// What each archiver makes of a folder of pictures, a palette, a subfolder, an mtools disk
// and a packed picture reads through the storage byte for byte as the files alone; the
// disk and the packed file inside are places of their own.
TEST_P(Archives, HoldTheFilesTheyWereMadeOf) {
    const Archiver& archiver = GetParam();
    if (!run(std::string("command -v ") + archiver.tool + " >/dev/null")) {
        GTEST_SKIP() << archiver.tool << " is not installed";
    }
    const test::ScratchDir dir;
    const std::string in = dir.file("in");
    const std::string disk = in + "/GAME.DSK";
    ASSERT_TRUE(run("mkdir -p " + in + "/PICS && cp " + sample("BARS.SC5") + " " +
                    sample("BARS.PL5") + " " + in + " && cp " + sample("YJK.SCC") + " " + in +
                    "/PICS/ && mformat -C -f 720 -i " + disk + " :: && mcopy -i " + disk + " " +
                    sample("LAND5.SC5") + " ::/"));
    test::writeBytes(in + "/PICS/X.SR8.zx0", test::packZx0(readBytes(sample("LAND8.SR8"))));
    const std::string archive = dir.file(archiver.archive);
    ASSERT_TRUE(run("cd " + in + " && ARCHIVE=" + archive + " && " + archiver.command));

    const std::unique_ptr<const Storage> storage = openStorage(Location::of(archive));
    std::vector<std::string> names = storage->names();
    std::ranges::sort(names);
    const bool gzip = archive.ends_with(".gz");
    const std::vector<std::string> all{"BARS.PL5", "BARS.SC5", "GAME.DSK", "PICS/X.SR8.zx0",
                                       "PICS/YJK.SCC"};
    EXPECT_EQ(names, gzip ? std::vector<std::string>{"GAME.DSK"} : all);
    for (const std::string& name : names) {
        EXPECT_EQ(storage->read(name, kAll, archive + "/" + name).bytes, readBytes(in + "/" + name))
            << name;
    }
    EXPECT_TRUE(Location::of(archive + "/GAME.DSK").holdsFiles());
    EXPECT_EQ(readThrough(archive + "/GAME.DSK", "LAND5.SC5").bytes,
              readBytes(sample("LAND5.SC5")));
    EXPECT_EQ(Location::of(archive + "/GAME.DSK/LAND5.SC5").hostFile(), archive);
    if (!gzip) {
        EXPECT_EQ(Location::of(archive + "/PICS/X.SR8.zx0/X.SR8").nameInFolder(), "X.SR8");
        EXPECT_EQ(readThrough(archive + "/PICS/X.SR8.zx0", "X.SR8").bytes,
                  readBytes(sample("LAND8.SR8")));
    }
}

INSTANTIATE_TEST_SUITE_P(
    EachArchiver, Archives,
    testing::Values(Archiver{"GAME.ZIP", "zip", "zip -qr $ARCHIVE ."},
                    Archiver{"GAME.7Z", "7z", "7z a -bd $ARCHIVE . >/dev/null"},
                    Archiver{"GAME.LZH", "jlha", "jlha a $ARCHIVE . >/dev/null"},
                    Archiver{"GAME.DSK.gz", "gzip", "gzip -c GAME.DSK >$ARCHIVE"}),
    [](const testing::TestParamInfo<Archiver>& each) { return std::string(each.param.tool); });

// Each bound refuses what passes it, naming the archive and the member; names that lead
// out of the archive are listed inside it.
TEST(Archives, RefuseWhatPassesTheirBounds) {
    if (!run("command -v 7z >/dev/null && command -v zip >/dev/null")) {
        GTEST_SKIP() << "zip or 7z is not installed";
    }
    const test::ScratchDir dir;
    const std::string python = "cd " + dir.path() +
                               " && python3 -c \"import zipfile; z = "
                               "zipfile.ZipFile('X.ZIP', 'w'); ";
    struct Case {
        std::string make;
        std::string member; // read from X.ZIP or X.7Z; empty: opening fails
        Fault fault;
    };
    const Case cases[] = {
        {"cd " + dir.path() + " && truncate -s 33M BIG.BIN && zip -q X.ZIP BIG.BIN", "BIG.BIN",
         Fault::memberTooLarge},
        {"cd " + dir.path() + " && truncate -s 30M BOMB.BIN && 7z a -bd X.7Z BOMB.BIN >/dev/null",
         "BOMB.BIN", Fault::ratioTooHigh},
        {python + "[z.writestr(str(i), b'') for i in range(65537)]\"", "", Fault::tooManyEntries},
        {"cd " + dir.path() + " && printf 'PK\\003\\004 cut' >X.ZIP", "", Fault::archiveBroken},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(dir.path());
        std::filesystem::create_directory(dir.path());
        ASSERT_TRUE(run(c.make)) << c.make;
        const std::string archive =
            dir.file(c.make.find("7z") != std::string::npos ? "X.7Z" : "X.ZIP");
        try {
            const auto storage = openStorage(Location::of(archive));
            (void)storage->read(c.member, kAll, archive + "/" + c.member);
            ADD_FAILURE() << c.make;
        } catch (const FileError& error) {
            EXPECT_EQ(error.fault(), c.fault) << error.what();
            EXPECT_NE(
                std::string(error.what()).find(archive + (c.member.empty() ? "" : "/" + c.member)),
                std::string::npos)
                << error.what();
        }
    }
    ASSERT_TRUE(run(python + "z.writestr('../../UP.SC5', b'1'); z.writestr('/ROOT.SC5', b'2')\""));
    EXPECT_EQ(openStorage(Location::of(dir.file("X.ZIP")))->names(),
              (std::vector<std::string>{"UP.SC5", "ROOT.SC5"}));
}

} // namespace
} // namespace tessarin
