#include "storage/location.h"
#include "tests/platform/scratch_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace tessarin {
namespace {

// Names as users give them, over files that are only named (nothing is opened): the kind
// of place each is, the folder it is listed in, its name there and the file a save must
// not replace. Names stay as spelled: "./", "//" and ".." are not resolved.
TEST(Location, ParsesTheChainOfPlacesANameLeadsThrough) {
    const test::ScratchDir dir;
    for (const char* file : {"GAME.ZIP", "GAME.DSK", "X.SR8.zx0", "PIC.SC5"}) {
        test::writeBytes(dir.file(file), {1});
    }
    std::filesystem::create_directories(dir.file("SUB/FOLDER.DSK"));
    struct Case {
        const char* name;
        PlaceKind kind;
        const char* folder; // "" for dir itself
        const char* inFolder;
        const char* host; // "" for the name itself
    };
    const Case cases[] = {
        {"PIC.SC5", PlaceKind::none, "", "PIC.SC5", ""},
        {"GONE.SC5", PlaceKind::none, "", "GONE.SC5", ""},
        {"SUB", PlaceKind::directory, "", "SUB", ""},
        {"SUB/FOLDER.DSK", PlaceKind::directory, "SUB", "FOLDER.DSK", ""},
        {"SUB/FOLDER.DSK/PIC.SC5", PlaceKind::none, "SUB/FOLDER.DSK", "PIC.SC5", ""},
        {"GAME.DSK", PlaceKind::disk, "", "GAME.DSK", ""},
        {"GAME.DSK/", PlaceKind::none, "GAME.DSK", "", ""},
        {"GAME.DSK/PICS/PIC.SC5", PlaceKind::none, "GAME.DSK", "PICS/PIC.SC5", "GAME.DSK"},
        {"GAME.DSK/X.DSK", PlaceKind::none, "GAME.DSK", "X.DSK", "GAME.DSK"},
        {"GONE.DSK/PIC.SC5", PlaceKind::none, "GONE.DSK", "PIC.SC5", ""},
        {"GAME.ZIP", PlaceKind::archive, "", "GAME.ZIP", ""},
        {"GAME.ZIP/PICS/GAME.DSK", PlaceKind::disk, "GAME.ZIP", "PICS/GAME.DSK", "GAME.ZIP"},
        {"GAME.ZIP/GAME.DSK/PIC.SC5", PlaceKind::none, "GAME.ZIP/GAME.DSK", "PIC.SC5", "GAME.ZIP"},
        {"GAME.ZIP/A.DSK/B.DSK", PlaceKind::none, "GAME.ZIP/A.DSK", "B.DSK", "GAME.ZIP"},
        {"GAME.ZIP/IN.ZIP", PlaceKind::none, "GAME.ZIP", "IN.ZIP", "GAME.ZIP"},
        {"GAME.ZIP/X.SR8.zx0", PlaceKind::packed, "GAME.ZIP", "X.SR8.zx0", "GAME.ZIP"},
        {"X.SR8.zx0", PlaceKind::packed, "", "X.SR8.zx0", ""},
        {"X.SR8.zx0/X.SR8", PlaceKind::none, "X.SR8.zx0", "X.SR8", "X.SR8.zx0"},
        {"./GAME.ZIP//GAME.DSK/PIC.SC5", PlaceKind::none, "./GAME.ZIP//GAME.DSK", "PIC.SC5",
         "./GAME.ZIP"},
        {"SUB/../GAME.DSK/PIC.SC5", PlaceKind::none, "SUB/../GAME.DSK", "PIC.SC5",
         "SUB/../GAME.DSK"},
    };
    const auto inDir = [&](const char* name) { return *name ? dir.file(name) : dir.path(); };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Location location = Location::of(dir.file(c.name));
        EXPECT_EQ(location.kind(), c.kind);
        EXPECT_EQ(location.folder().path(), inDir(c.folder));
        EXPECT_EQ(location.nameInFolder(), c.inFolder);
        EXPECT_EQ(location.hostFile(), *c.host ? dir.file(c.host) : location.path());
        if (location.throughPlace()) {
            // The folder is a place made without parsing again: as its name parsed is.
            const Location folder = Location::of(location.folder().path());
            EXPECT_EQ(location.folder().kind(), folder.kind());
            if (folder.isPlace()) {
                EXPECT_EQ(folder.child(location.nameInFolder()).kind(), location.kind());
            }
        }
    }
    EXPECT_EQ(Location::of(dir.file("X.SR8.zx0")).soleFile()->path(), dir.file("X.SR8.zx0/X.SR8"));
    EXPECT_FALSE(Location::of(dir.file("GAME.DSK")).soleFile());
}

} // namespace
} // namespace tessarin
