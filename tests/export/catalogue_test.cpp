// The catalogue of a small collection, made by the real tessarin-export.
#include "image_files.h"
#include "run_process.h"
#include "test_text.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <sstream>

namespace tessarin::testing {
namespace {

namespace fs = std::filesystem;

const std::string kExporter = TESSARIN_EXPORT;

// The 64-bit FNV-1a of the width and height (4 bytes each, little-endian) and the pixels.
std::string fnvOf(const Pixels& p) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    const auto mix = [&](std::uint8_t byte) { hash = (hash ^ byte) * 0x100000001b3ULL; };
    for (const int size : {p.width, p.height}) {
        for (int i = 0; i < 4; ++i) {
            mix(static_cast<std::uint8_t>(static_cast<std::uint32_t>(size) >> (8 * i)));
        }
    }
    std::ranges::for_each(p.rgb, mix);
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

// BARS.PL5 with colour 1's red and colour 2's green a level up, in the 2 bytes of each
// colour (0RRR0BBB, 00000GGG): the bars a little brighter.
void writeOtherPalette(const fs::path& file, std::uint8_t level) {
    std::vector<unsigned char> palette = readBytes(sample("BARS.PL5"));
    palette[2] = static_cast<unsigned char>((palette[2] & 0x0F) | level << 4);
    palette[5] = level;
    writeBytes(file, palette);
}

// A folder with three screen files, one of them (with its palette) also on a disk image and
// one the same picture under another palette, and a disk image that is none.
void makeCollection(const fs::path& coll) {
    fs::create_directories(coll);
    fs::copy_file(sample("BARS.SC5"), coll / "A.SC5");
    fs::copy_file(sample("BARS.PL5"), coll / "A.PL5");
    fs::copy_file(sample("BARS.SC5"), coll / "C.SC5");
    writeOtherPalette(coll / "C.PL5", 2);
    fs::copy_file(sample("RGB.SC8"), coll / "B&<i>.SC8");
    writeBytes(coll / "BAD.DSK", std::vector<unsigned char>(3000, 0xE5));
    const std::string mtools = " -i '" + (coll / "GAME.DSK").string() + "' ";
    for (const std::string& command : {"mformat -C -f 720" + mtools + "::",
                                       "mcopy" + mtools + sample("BARS.SC5") + " ::/COPY.SC5",
                                       "mcopy" + mtools + sample("BARS.PL5") + " ::/COPY.PL5"}) {
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
}

std::map<std::string, std::vector<std::string>> tableRows(const fs::path& file) {
    std::istringstream text(readText(file));
    std::map<std::string, std::vector<std::string>> rows;
    std::string line;
    std::getline(text, line);
    EXPECT_EQ(line, "location\tmode\tlayout\tpalette\tsize\thash\tnear-hash\tpicture\tthumbnail");
    while (std::getline(text, line)) {
        std::vector<std::string> fields;
        std::istringstream row(line);
        for (std::string field; std::getline(row, field, '\t');) {
            fields.push_back(field);
        }
        EXPECT_EQ(fields.size(), 9U) << line;
        rows[fields.front()] = fields;
    }
    return rows;
}

std::string percentDecoded(const std::string& link) {
    std::string path;
    for (std::size_t i = 0; i < link.size(); ++i) {
        path += link[i] == '%' ? static_cast<char>(std::stoi(link.substr(i + 1, 2), nullptr, 16))
                               : link[i];
        i += link[i] == '%' ? 2 : 0;
    }
    return std::regex_replace(path, std::regex("&amp;"), "&");
}

TEST(Catalogue, PagesLinksDuplicatesAndRowsOfACollection) {
    const TempDir dir;
    makeCollection(dir.path() / "coll");
    const ProcessResult run =
        runProcess(kExporter, {"-r", "-j", "2", "--catalogue", "out", "coll"}, dir.path());
    EXPECT_EQ(run.exitCode, 1) << run.err; // BAD.DSK is a problem
    const fs::path out = dir.path() / "out";

    const auto rows = tableRows(out / "catalogue.tsv");
    ASSERT_EQ(rows.size(), 4U);
    const auto& a = rows.at("coll/A.SC5");
    const auto& copy = rows.at("coll/GAME.DSK/COPY.SC5");
    const auto& b = rows.at("coll/B&<i>.SC8");
    EXPECT_EQ(
        (std::vector<std::string>(a.begin() + 1, a.begin() + 5)),
        (std::vector<std::string>{"screen 5", "BSAVE 0000–E9FF", "palette: A.PL5", "256x212"}));
    EXPECT_EQ(b[1], "screen 8");
    EXPECT_EQ(a[5], copy[5]);
    EXPECT_NE(a[5], b[5]);
    // The other palette: other pixels (the same look: near duplicates below).
    const auto& c = rows.at("coll/C.SC5");
    EXPECT_NE(a[5], c[5]);
    for (const auto& [location, row] : rows) {
        EXPECT_EQ(row[5], fnvOf(pngPixels(out / row[7]))) << location;
        EXPECT_EQ(pngPixels(out / row[8]).width, 128) << location;
    }

    // Every link and picture of every page is there; nothing comes from outside.
    const std::regex link(R"re((?:href|src)="([^"]*)")re");
    for (const auto& page : fs::directory_iterator(out)) {
        if (page.path().extension() != ".html") {
            continue;
        }
        const std::string html = readText(page.path());
        EXPECT_EQ(html.find("<i>.SC8"), std::string::npos) << page.path() << ": a name unescaped";
        EXPECT_EQ(html.find("://"), std::string::npos) << page.path();
        for (std::sregex_iterator m(html.begin(), html.end(), link), end; m != end; ++m) {
            EXPECT_TRUE(fs::exists(out / percentDecoded((*m)[1])))
                << page.path() << ": " << (*m)[1];
        }
    }
    // The two places of the same picture are one entry, on the duplicates page too.
    const std::string index = readText(out / "index.html");
    EXPECT_NE(index.find("<li>coll/A.SC5</li><li>coll/GAME.DSK/COPY.SC5</li>"), std::string::npos);
    EXPECT_NE(index.find("B&amp;&lt;i&gt;.SC8"), std::string::npos);
    const std::string duplicates = readText(out / "duplicates.html");
    EXPECT_NE(duplicates.find("<li>coll/A.SC5</li><li>coll/GAME.DSK/COPY.SC5</li>"),
              std::string::npos);
    EXPECT_EQ(duplicates.find("SC8"), std::string::npos);
    const std::string near = readText(out / "near-duplicates.html");
    EXPECT_NE(near.find("<li>coll/A.SC5</li><li>coll/GAME.DSK/COPY.SC5</li>"), std::string::npos);
    EXPECT_NE(near.find("<li>coll/C.SC5</li>"), std::string::npos);
    EXPECT_EQ(near.find("SC8"), std::string::npos);
    EXPECT_NE(readText(out / "problems.html").find("coll/BAD.DSK: not an MSX-DOS disk image"),
              std::string::npos);
    // The disk's sheet: its one thumbnail in a cell with its margins.
    EXPECT_EQ(pngPixels(out / "sheets" / "coll" / "GAME.png").width, 128 + 2 * 4);

    // A rerun reads again only what changed: C's palette; B gone drops out with its files.
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
    for (const std::string& made : {a[7], c[7], std::string("sheets/coll/GAME.png")}) {
        fs::last_write_time(out / made, old);
    }
    writeOtherPalette(dir.path() / "coll" / "C.PL5", 3);
    fs::last_write_time(dir.path() / "coll" / "C.PL5", old); // not the time alone: the size too
    fs::remove(dir.path() / "coll" / "B&<i>.SC8");
    writeBytes(out / "sheets" / "GONE.png", {0}); // a sheet of a disk gone
    const ProcessResult rerun =
        runProcess(kExporter, {"-r", "--skip-existing", "--catalogue", "out", "coll"}, dir.path());
    EXPECT_NE(rerun.err.find("2 pictures and 1 contact sheets kept"), std::string::npos)
        << rerun.err;
    const auto again = tableRows(out / "catalogue.tsv");
    EXPECT_EQ(again.size(), 3U);
    EXPECT_EQ(again.at("coll/A.SC5"), a);
    EXPECT_NE(again.at("coll/C.SC5")[5], c[5]);
    EXPECT_EQ(again.at("coll/C.SC5")[5], fnvOf(pngPixels(out / c[7])));
    EXPECT_EQ(fs::last_write_time(out / a[7]), old);
    EXPECT_EQ(fs::last_write_time(out / "sheets" / "coll" / "GAME.png"), old);
    EXPECT_NE(fs::last_write_time(out / c[7]), old);
    EXPECT_FALSE(fs::exists(out / b[7]));
    EXPECT_FALSE(fs::exists(out / b[8]));
    EXPECT_EQ(readText(out / "index.html").find("SC8"), std::string::npos);
    EXPECT_FALSE(fs::exists(out / "sheets" / "GONE.png"));
    for (const auto& file : fs::directory_iterator(out)) {
        EXPECT_FALSE(file.path().filename().string().starts_with(".")) << file.path();
    }

    // --contact-sheet writes the sheets alone.
    EXPECT_EQ(runProcess(kExporter, {"-r", "-q", "--contact-sheet", "sheets", "coll"}, dir.path())
                  .exitCode,
              1);
    EXPECT_TRUE(fs::exists(dir.path() / "sheets" / "coll" / "GAME.png"));
    EXPECT_EQ(std::distance(fs::recursive_directory_iterator(dir.path() / "sheets"), {}), 2);
}

} // namespace
} // namespace tessarin::testing
