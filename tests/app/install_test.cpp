// What `cmake --install` lays down makes the programs part of a desktop: the programs, a
// desktop entry naming the MIME types, their globs, the icons, manual pages that render
// cleanly, and a thumbnailer entry that file managers can run.
#include "tests/platform/scratch_dir.h"

#include <QCoreApplication>
#include <QMimeDatabase>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <string>

namespace tessarin::test {
namespace {

namespace fs = std::filesystem;

std::string quoted(const std::string& s) {
    std::string result = "'";
    for (const char c : s) {
        result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return result + "'";
}

std::string textOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The keys of a file with one group, such as a desktop or thumbnailer entry.
std::map<std::string, std::string> keysOf(const fs::path& file) {
    std::map<std::string, std::string> keys;
    std::istringstream lines(textOf(file));
    for (std::string line; std::getline(lines, line);) {
        if (const auto equals = line.find('='); equals != std::string::npos) {
            keys[line.substr(0, equals)] = line.substr(equals + 1);
        }
    }
    return keys;
}

void install(const ScratchDir& prefix) {
    const std::string command = "cmake --install " + quoted(TESSARIN_BINARY_DIR) + " --prefix " +
                                quoted(prefix.path()) + " >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
}

TEST(Install, DesktopEntryMimeTypesIconsAndManualPages) {
    const ScratchDir prefix;
    install(prefix);
    const fs::path root = prefix.path();
    for (const char* file :
         {"bin/tessarin", "bin/tessarin-export", "share/icons/hicolor/scalable/apps/tessarin.svg",
          "share/icons/hicolor/16x16/apps/tessarin.png",
          "share/icons/hicolor/22x22/apps/tessarin.png",
          "share/icons/hicolor/24x24/apps/tessarin.png",
          "share/icons/hicolor/32x32/apps/tessarin.png",
          "share/icons/hicolor/48x48/apps/tessarin.png",
          "share/icons/hicolor/64x64/apps/tessarin.png",
          "share/icons/hicolor/128x128/apps/tessarin.png",
          "share/icons/hicolor/256x256/apps/tessarin.png", "share/doc/tessarin/copyright",
          "share/thumbnailers/tessarin.thumbnailer",
          "share/bash-completion/completions/tessarin-export",
          "share/metainfo/org.example.tessarin.metainfo.xml"}) {
        EXPECT_TRUE(fs::is_regular_file(root / file)) << file;
    }

    // groff prints nothing on stderr for a page whose macros and escapes are all right.
    const ScratchDir scratch;
    for (const char* page : {"tessarin.1.gz", "tessarin-export.1.gz"}) {
        const fs::path file = root / "share/man/man1" / page;
        ASSERT_TRUE(fs::is_regular_file(file)) << page;
        const std::string render = "gzip -dc " + quoted(file) +
                                   " | groff -man -ww -Tutf8 >/dev/null 2>" +
                                   quoted(scratch.file("warnings"));
        EXPECT_EQ(std::system(render.c_str()), 0) << page;
        EXPECT_EQ(textOf(scratch.file("warnings")), "") << page;
    }

    auto entry = keysOf(root / "share/applications/org.example.tessarin.desktop");
    EXPECT_EQ(entry["Type"], "Application");
    EXPECT_EQ(entry["Exec"], "tessarin %F");
    EXPECT_EQ(entry["Icon"], "tessarin");
    EXPECT_EQ(entry["MimeType"],
              "image/x-msx-screen;application/x-msx-palette;application/x-msx-disk-image;"
              "application/x-msx-cassette;");

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
        {"PIC.SC7", "image/x-msx-screen"},        {"pic.sc5", "image/x-msx-screen"},
        {"PIC.SC6", "image/x-msx-screen"},        {"PIC.SC8", "image/x-msx-screen"},
        {"PIC.SCA", "image/x-msx-screen"},        {"PIC.SCB", "image/x-msx-screen"},
        {"PIC.SCC", "image/x-msx-screen"},        {"PIC.SRS", "image/x-msx-screen"},
        {"PIC.GE5", "image/x-msx-screen"},        {"pic.ge6", "image/x-msx-screen"},
        {"PIC.GE7", "image/x-msx-screen"},        {"PIC.GE8", "image/x-msx-screen"},
        {"PIC.PL5", "application/x-msx-palette"}, {"pic.pl6", "application/x-msx-palette"},
        {"PIC.PL7", "application/x-msx-palette"}, {"PIC.PL8", "application/x-msx-palette"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(mime.mimeTypeForFile(c.file, QMimeDatabase::MatchExtension).name(), c.type)
            << c.file;
    }
}

// A file manager substitutes %s (size), %i (input) and %o (output) and runs the line.
TEST(Install, ThumbnailerEntryMakesAPngOfAScreenFile) {
    const ScratchDir prefix;
    install(prefix);
    const fs::path bin = fs::path(prefix.path()) / "bin";
    auto entry = keysOf(fs::path(prefix.path()) / "share/thumbnailers/tessarin.thumbnailer");
    EXPECT_EQ(
        textOf(fs::path(prefix.path()) / "share/thumbnailers/tessarin.thumbnailer").substr(0, 19),
        "[Thumbnailer Entry]");
    EXPECT_EQ(entry["TryExec"], "tessarin-export");
    EXPECT_EQ(entry["MimeType"], "image/x-msx-screen;application/x-msx-disk-image;");

    const ScratchDir scratch;
    // The command line a file manager runs for one input.
    const auto commandFor = [&](const std::string& input) {
        const std::map<std::string, std::string> fields{
            {"%s", "128"}, {"%i", quoted(input)}, {"%o", quoted(scratch.file("thumbnail.png"))}};
        std::string command = entry["Exec"];
        EXPECT_TRUE(command.starts_with(entry["TryExec"] + " ")) << command;
        for (const auto& [field, value] : fields) {
            const auto at = command.find(field);
            EXPECT_NE(at, std::string::npos) << field << " in " << command;
            EXPECT_EQ(command.find(field, at + 1), std::string::npos) << field << " in " << command;
            command.replace(at, field.size(), value);
        }
        EXPECT_EQ(command.find('%'), std::string::npos) << command;
        return "PATH=" + quoted(bin.string()) + ":\"$PATH\" " + command;
    };
    const std::string sample = std::string(TESSARIN_SOURCE_DIR) + "/samples/BARS7.SC7";
    // A disk image's thumbnail is its first picture's; one without a picture has none.
    const std::string disk = scratch.file("GAME.DSK");
    const std::string empty = scratch.file("EMPTY.DSK");
    for (const std::string& make : {"mformat -C -f 720 -i " + quoted(disk) + " ::",
                                    "mcopy -i " + quoted(disk) + " " + quoted(sample) + " ::/A.SC7",
                                    "mformat -C -f 360 -i " + quoted(empty) + " ::"}) {
        ASSERT_EQ(std::system(make.c_str()), 0) << make;
    }
    EXPECT_NE(std::system((commandFor(empty) + " 2>/dev/null").c_str()), 0);

    for (const std::string& input : {sample, disk}) {
        std::filesystem::remove(scratch.file("thumbnail.png"));
        ASSERT_EQ(std::system(commandFor(input).c_str()), 0) << input;
        // Shape kept: the larger side of the 256x212 view becomes the size asked for.
        const auto png = readBytes(scratch.file("thumbnail.png"));
        ASSERT_GE(png.size(), 24U);
        const std::uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
        EXPECT_TRUE(std::equal(std::begin(signature), std::end(signature), png.begin()));
        const auto big = [&](std::size_t at) {
            return png[at] << 24 | png[at + 1] << 16 | png[at + 2] << 8 | png[at + 3];
        };
        EXPECT_EQ(std::max(big(16), big(20)), 128);
        EXPECT_GT(std::min(big(16), big(20)), 0);
    }
}

} // namespace
} // namespace tessarin::test
