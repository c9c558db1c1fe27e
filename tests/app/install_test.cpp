// What `cmake --install` lays down lets a desktop open a screen file with the viewer: the
// programs, a desktop entry naming the MIME types, their globs, and the icon.
#include "tests/platform/scratch_dir.h"

#include <QCoreApplication>
#include <QMimeDatabase>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <string>

namespace tessarin::test {
namespace {

namespace fs = std::filesystem;

TEST(Install, DesktopEntryAndMimeTypesOpenScreenAndPaletteFilesWithTheViewer) {
    const ScratchDir prefix;
    const std::string install = std::string("cmake --install '") + TESSARIN_BINARY_DIR +
                                "' --prefix '" + prefix.path() + "' >/dev/null";
    ASSERT_EQ(std::system(install.c_str()), 0);
    const fs::path root = prefix.path();
    for (const char* file :
         {"bin/tessarin", "bin/tessarin-export", "share/icons/hicolor/32x32/apps/tessarin.png"}) {
        EXPECT_TRUE(fs::is_regular_file(root / file)) << file;
    }

    std::map<std::string, std::string> entry; // the keys of the one [Desktop Entry] group
    std::ifstream desktop(root / "share/applications/tessarin.desktop");
    for (std::string line; std::getline(desktop, line);) {
        if (const auto equals = line.find('='); equals != std::string::npos) {
            entry[line.substr(0, equals)] = line.substr(equals + 1);
        }
    }
    EXPECT_EQ(entry["Type"], "Application");
    EXPECT_EQ(entry["Exec"], "tessarin %F");
    EXPECT_EQ(entry["Icon"], "tessarin");
    EXPECT_EQ(entry["MimeType"], "application/x-msx-screen;application/x-msx-palette;");

    // Read by name from the installed package, as a desktop finds it in its data dirs.
    qputenv("XDG_DATA_DIRS", QByteArray::fromStdString(root / "share") + ":/usr/share");
    int argc = 1;
    char name[] = "tessarin_install_tests";
    char* argv[] = {name, nullptr};
    const QCoreApplication app(argc, argv);
    const QMimeDatabase mime;
    const struct {
        const char* file;
        const char* type;
    } cases[] = {
        {"PIC.SC7", "application/x-msx-screen"},  {"pic.sc5", "application/x-msx-screen"},
        {"PIC.SCC", "application/x-msx-screen"},  {"PIC.SRS", "application/x-msx-screen"},
        {"PIC.GE5", "application/x-msx-screen"},  {"PIC.SCA", "application/x-msx-screen"},
        {"PIC.PL7", "application/x-msx-palette"}, {"COLORS.PAL", "application/x-msx-palette"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(mime.mimeTypeForFile(c.file, QMimeDatabase::MatchExtension).name(), c.type)
            << c.file;
    }
}

} // namespace
} // namespace tessarin::test
