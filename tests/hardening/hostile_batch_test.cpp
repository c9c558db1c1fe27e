// Batches over disk images and names that would lead outputs astray: every output lands in
// OUTDIR under a name of its own, and whatever a disk's reader found wrong is reported.
#include "run_process.h"
#include "test_text.h"
#include "tests/platform/scratch_dir.h"
#include "tools/disk_writer.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <jpeglib.h>
#include <numeric>
#include <set>
#include <sstream>
#include <sys/stat.h>

namespace tessarin::testing {
namespace {

namespace fs = std::filesystem;
using samples::DiskWriter;
using namespace std::string_literals;

const std::string kExporter = TESSARIN_EXPORT;

// A screen-5 BSAVE file of 512 bytes of its own.
std::vector<std::uint8_t> picture(std::uint8_t seed) {
    std::vector<std::uint8_t> file{0xFE, 0, 0, 0xFF, 0x01, 0, 0};
    const std::vector<std::uint8_t> data = test::patternBytes(512, seed);
    file.insert(file.end(), data.begin(), data.end());
    return file;
}

void writeDisk(const TempDir& dir, const std::string& name,
               const std::vector<std::pair<std::string, std::uint8_t>>& files) {
    DiskWriter disk(40);
    for (const auto& [file, seed] : files) {
        disk.addFile(DiskWriter::kRoot, file, picture(seed));
    }
    fs::create_directories((dir.path() / name).parent_path());
    test::writeBytes(dir / name, disk.bytes());
}

// Every file under dir, as paths from it.
std::set<std::string> tree(const fs::path& dir) {
    std::set<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        if (entry.is_regular_file()) {
            files.insert(fs::relative(entry.path(), dir).string());
        }
    }
    return files;
}

TEST(HostileBatch, EveryOutputLandsInOutdirUnderANameOfItsOwn) {
    const TempDir dir;
    writeDisk(dir, "...dsk", {{"PIC.SC5", 1}});
    writeDisk(dir, "..dsk", {{"PIC.SC5", 2}});
    writeDisk(dir, "a/GAME.DSK", {{"PIC.SC5", 3}});
    writeDisk(dir, "b/GAME.DSK", {{"PIC.SC5", 4}});
    writeDisk(dir, "PIC.png.DSK", {{"Q.SC5", 5}});
    writeDisk(dir, "CASE.DSK", {{"PIC.SC5", 6}, {"pic.sc5", 7}});
    writeDisk(dir, "NUL.DSK", {{"X\0Y.SC5"s, 8}});
    test::writeBytes(dir / "PIC.SC5", picture(9));
    test::writeBytes(dir / "P00.SC5", picture(10));
    // Two names of one file are two pictures; one path twice, however spelled, is one.
    std::filesystem::create_hard_link(dir / "P00.SC5", dir / "P01.SC5");
    const std::vector<std::string> args{"-d",           "out",        "...dsk",      "..dsk",
                                        "a/GAME.DSK",   "b/GAME.DSK", "PIC.png.DSK", "PIC.SC5",
                                        "CASE.DSK",     "NUL.DSK",    "P00.SC5",     "./P00.SC5",
                                        "a/../P00.SC5", ".//P00.SC5", "P01.SC5"};
    const ProcessResult r = runProcess(kExporter, args, dir.path());
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::set<std::string> outputs{"__/PIC.png",     "_/PIC.png",     "GAME/PIC.png",
                                        "GAME-2/PIC.png", "PIC.png/Q.png", "PIC.SC5.png",
                                        "CASE/PIC.png",   "CASE/pic.png",  "NUL/X_Y.png",
                                        "P00.png",        "P01.png"};
    EXPECT_EQ(tree(dir.path() / "out"), outputs);
    // Nothing beside OUTDIR.
    EXPECT_EQ(dir.entries(),
              (std::vector<std::string>{"...dsk", "..dsk", "CASE.DSK", "NUL.DSK", "P00.SC5",
                                        "P01.SC5", "PIC.SC5", "PIC.png.DSK", "a", "b", "out"}));
    // Different pictures stay different, whatever their names; the links' are one.
    std::set<std::vector<unsigned char>> pictures;
    for (const std::string& output : outputs) {
        pictures.insert(readBytes(dir.path() / "out" / output));
    }
    EXPECT_EQ(pictures.size(), outputs.size() - 1);

    // Run again, skipping what exists: every output is found where it was, none hidden.
    std::vector<std::string> again{"--skip-existing"};
    again.insert(again.end(), args.begin(), args.end());
    const ProcessResult skipped = runProcess(kExporter, again, dir.path());
    EXPECT_EQ(skipped.exitCode, 0) << skipped.err;
    EXPECT_TRUE(contains(skipped.err, "0 written, 11 skipped, 0 failed")) << skipped.err;
}

// A damaged file converts as far as its chain holds: the picture of its first bytes alone.
TEST(HostileBatch, DamageOnDisksAndEndlessListsFailNamingThePlace) {
    const TempDir dir;
    DiskWriter disk(40);
    const std::uint16_t sub = disk.addDirectory(DiskWriter::kRoot, "SUB");
    disk.addFile(sub, "A.SC5", picture(1));
    disk.add(sub, "LOOP", 0x10, sub, 0);
    const std::uint16_t looped =
        disk.addFile(DiskWriter::kRoot, "L.SC5", test::patternBytes(2000, 2));
    disk.link(looped + 1, looped);
    test::writeBytes(dir / "D.DSK", disk.bytes());
    const ProcessResult r = runProcess(kExporter, {"-d", "out", "D.DSK"}, dir.path());
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "out/D/L.png\nout/D/A.png\n");
    const std::string loop = "D.DSK/SUB/LOOP: directory loops back to cluster 2";
    EXPECT_EQ(r.err.find(loop), r.err.rfind(loop)) << r.err;
    EXPECT_TRUE(contains(r.err, loop)) << r.err;
    EXPECT_TRUE(contains(r.err, "\ntessarin-export: D.DSK/L.SC5: cluster chain loops at cluster " +
                                    std::to_string(looped) +
                                    "; only its first 1024 of 2000 bytes are read\n"))
        << r.err;
    EXPECT_TRUE(contains(r.err, "2 written, 0 skipped, 0 failed, 2 problems on disks")) << r.err;
    const std::vector<std::uint8_t> whole = test::patternBytes(2000, 2);
    test::writeBytes(dir / "L.SC5", std::vector<std::uint8_t>(whole.begin(), whole.begin() + 1024));
    ASSERT_EQ(runProcess(kExporter, {"-q", "-o", "cut.png", "L.SC5"}, dir.path()).exitCode, 0);
    EXPECT_EQ(readBytes(dir.path() / "out/D/L.png"), readBytes(dir.path() / "cut.png"));

    for (const std::vector<std::string>& list :
         {std::vector<std::string>{"-0", "--files-from", "/dev/zero"},
          std::vector<std::string>{"--files-from", "/dev/zero"}}) {
        std::vector<std::string> args{"-d", "out"};
        args.insert(args.end(), list.begin(), list.end());
        const ProcessResult endless = runProcess(kExporter, args, dir.path());
        EXPECT_EQ(endless.exitCode, 1);
        EXPECT_TRUE(contains(endless.err, "File list \"/dev/zero\": ")) << endless.err;
    }
}

// An LZH archive of level-0 headers, each member stored (-lh0-) under its name's bytes.
std::vector<std::uint8_t> lzh(const std::vector<std::string>& names) {
    const std::vector<std::uint8_t> data = picture(2);
    std::uint16_t crc = 0; // CRC-16 (0xA001, reflected) of the data
    for (const std::uint8_t byte : data) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1) != 0 ? (crc >> 1) ^ 0xA001 : crc >> 1;
        }
    }
    std::vector<std::uint8_t> out;
    for (const std::string& name : names) {
        // Method, packed and unpacked size, time and date (1980-01-01), attribute, level.
        std::vector<std::uint8_t> h{
            '-', 'l', 'h', '0', '-', 7,    2, 0,    0, 7,
            2,   0,   0,   0,   0,   0x21, 0, 0x20, 0, static_cast<std::uint8_t>(name.size())};
        h.insert(h.end(), name.begin(), name.end());
        h.insert(h.end(), {static_cast<std::uint8_t>(crc), static_cast<std::uint8_t>(crc >> 8)});
        out.push_back(static_cast<std::uint8_t>(h.size()));
        out.push_back(static_cast<std::uint8_t>(std::accumulate(h.begin(), h.end(), 0)));
        out.insert(out.end(), h.begin(), h.end());
        out.insert(out.end(), data.begin(), data.end());
    }
    out.push_back(0);
    return out;
}

// A grey 40x20 JPEG in two progressive scans (all DC, all AC), the first repeated dcScans
// times, with an EXIF orientation when not 0, its last cut bytes cut off.
std::vector<std::uint8_t> jpeg(int dcScans, std::uint8_t orientation, std::size_t cut = 0) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = 40;
    info.image_height = 20;
    info.input_components = 1;
    info.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    std::array<jpeg_scan_info, 2> scans{};
    scans[1].Ss = 1;
    scans[1].Se = 63;
    scans[0].comps_in_scan = scans[1].comps_in_scan = 1;
    info.scan_info = scans.data();
    info.num_scans = 2;
    jpeg_start_compress(&info, TRUE);
    // Exif, then a little-endian TIFF header and one entry: orientation (0112h), a short.
    const std::array<JOCTET, 32> exif{'E', 'x', 'i', 'f',  0, 0, 'I', 'I', 42, 0, 8, 0,          0,
                                      0,   1,   0,   0x12, 1, 3, 0,   1,   0,  0, 0, orientation};
    if (orientation != 0) {
        jpeg_write_marker(&info, JPEG_APP0 + 1, exif.data(), exif.size());
    }
    for (std::array<JSAMPLE, 40> row{}; info.next_scanline < info.image_height;) {
        row.fill(info.next_scanline < 10 ? 255 : 0);
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<std::uint8_t> bytes(buffer, buffer + size - cut);
    std::free(buffer);
    // The first scan: its SOS header (length big-endian at 2), then data up to a marker.
    const std::array<std::uint8_t, 2> sos{0xFF, 0xDA};
    const auto at = std::search(bytes.begin(), bytes.end(), sos.begin(), sos.end()) - bytes.begin();
    auto end = bytes.begin() + at + 2 + bytes[at + 2] * 256 + bytes[at + 3];
    while (end[0] != 0xFF || end[1] == 0) {
        ++end;
    }
    const std::vector<std::uint8_t> scan(bytes.begin() + at, end);
    for (int i = 1; i < dcScans; ++i) {
        bytes.insert(bytes.begin() + at, scan.begin(), scan.end());
    }
    return bytes;
}

// Words of text, split at spaces.
std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

struct Hostile {
    const char* what;
    std::string make; // run in the folder of P.SC5, the LZH and JPEG files (LC_ALL=C)
    std::string args;
    int exitCode;
    std::string outputs; // every file under out/
    std::string said;    // on standard error, each part between | in it
    int pngWidth = 0;    // of out/x.png, when not 0
};

TEST(HostileBatch, EveryMemberIsConvertedOrItsFailureReported) {
    const std::string links =
        "mkdir -p t/a o && cp P.SC5 o/Q.SC5 && ln -s ../o t/o && ln -s ../o t/p";
    const std::vector<std::pair<std::string, std::vector<std::uint8_t>>> files{
        {"j.lzh", lzh({"A.SC5", "\x93\xfa.SC5"})},
        {"l.lzh", lzh({"\xe9t\xe9.SC5"})},
        {"c.jpg", jpeg(1, 0, 20)},
        {"s.jpg", jpeg(600, 0)},
        {"e.jpg", jpeg(1, 6)},
        {"P.SC5", picture(1)}};
    const std::vector<Hostile> cases{
        {"names beyond ASCII, as 7-Zip writes them",
         "mkdir z && for n in A '\\303\\251' '\\346\\227\\245'; do cp P.SC5 z/$(printf $n).SC5; "
         "done && cd z && 7z a -tzip ../z.zip . >/dev/null && 7z a ../s.7z . >/dev/null",
         "-d out z.zip s.7z", 0,
         "z/A.png z/\xc3\xa9.png z/\xe6\x97\xa5.png s/A.png s/\xc3\xa9.png s/\xe6\x97\xa5.png", ""},
        {"LZH names in Shift-JIS, and in Latin-1", "true", "-d out j.lzh l.lzh", 0,
         "j/A.png j/\xe6\x97\xa5.png l/\xc3\xa9t\xc3\xa9.png", ""},
        {"one name twice, once .. is dropped, a folder named as a disk, one as an output",
         "mkdir ab GAME.DSK Q.png && for f in B ab/C C GAME.DSK/Y Q Q.png/X; do cp P.SC5 $f.SC5; "
         "done && zip -q d.zip P.SC5 B.SC5 ab/C.SC5 C.SC5 GAME.DSK/Y.SC5 Q.SC5 Q.png/X.SC5 && "
         "sed -i 's/B\\.SC5/P.SC5/g; s,ab/C\\.SC5,../C.SC5,g' d.zip",
         "-d out d.zip", 1, "d/P.png d/C.png d/Q.SC5.png d/Q.png/X.png",
         "d.zip/P.SC5: a second member of this name, not listed\n|d.zip/C.SC5: a second member of "
         "this name, not listed\n|d.zip/GAME.DSK/Y.SC5: in a folder named as a disk image or "
         "archive, not listed\n"},
        {"a member's folder over the system's limit",
         "d=$(printf '%0200d' 0)/$(printf '%0100d' 0) && mkdir -p $d && cp P.SC5 $d/X.SC5 && "
         "zip -qr p.zip 0* P.SC5 && sed -i \"s,$d,$(printf '%0301d' 0),g\" p.zip",
         "-d out p.zip", 1, "p/P.png", "File name too long\n|1 written, 0 skipped, 1 failed"},
        {"gzip data that does not match its CRC",
         "gzip -c P.SC5 | head -c -8 >B.SC5.gz && printf '\\0\\0\\0\\0\\7\\2\\0\\0' >>B.SC5.gz",
         "-d out B.SC5.gz", 1, "", "\"B.SC5.gz\": its data does not match its checksum (CRC-32)"},
        {"links to folders, inside and outside the tree, to nothing; a FIFO",
         links + " && cp P.SC5 t/a && ln -s a t/l && ln -s none t/n && mkfifo t/f", "-r -d out t",
         0, "t/a/P.png",
         "\"t/l\": the folder converted as \"t/a\", not followed again|/t\", followed only with "
         "--follow|\"t/n\": a link to nothing|\"t/f\": a FIFO"},
        {"links outside the tree with --follow", links, "-r --follow -d out t", 0, "t/o/Q.png",
         "\"t/p\": the folder converted as \"t/o\""},
        {"a 7z whose first member unpacks to 64 MiB of zeros, which reaching the next unpacks",
         "mkdir b && cp P.SC5 b/Q.SC5 && head -c 64M /dev/zero >b/A.BIN && cd b && "
         "7z a ../b.7z A.BIN Q.SC5 >/dev/null",
         "-d out b.7z", 1, "",
         "Cannot read the members of \"b.7z\" after \"b.7z/A.BIN\": it unpacks to more than "
         "1000 times its packed size"},
        {"a folder of PNGs to screen 5",
         "mkdir pngs && printf '\\211PNG\\r\\n\\032\\n' >pngs/a.png", "--to sc5 -d out pngs", 1, "",
         "nothing to convert"},
        {"a C1 control in a name", "cp P.SC5 \"$(printf 'A\\302\\233B.SC5')\"",
         "-d out A\302\233B.SC5", 0, "A_B.png", ""},
        {"a JPEG cut short", "mkdir out", "-o out/x.png c.jpg", 1, "",
         "\"c.jpg\" is a damaged JPEG: "},
        {"a JPEG of 600 scans", "mkdir out", "-o out/x.png s.jpg", 1, "",
         "\"s.jpg\" is a damaged JPEG: more than 500 scans"},
        {"a JPEG turned a quarter clockwise by its EXIF orientation", "mkdir out",
         "-o out/x.png e.jpg", 0, "x.png", "", 20},
    };
    for (const Hostile& c : cases) {
        SCOPED_TRACE(c.what);
        const TempDir dir;
        for (const auto& [name, bytes] : files) {
            test::writeBytes(dir / name, bytes);
        }
        ASSERT_EQ(std::system(
                      ("cd '" + dir.path().string() + "' && export LC_ALL=C && " + c.make).c_str()),
                  0);
        const ProcessResult r = runProcess(kExporter, words(c.args), dir.path());
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
        const fs::path out = dir.path() / "out";
        const std::vector<std::string> outputs = words(c.outputs);
        EXPECT_EQ(fs::exists(out) ? tree(out) : std::set<std::string>{},
                  std::set<std::string>(outputs.begin(), outputs.end()))
            << r.err;
        for (std::size_t start = 0, end = 0; start < c.said.size(); start = end + 1) {
            end = std::min(c.said.find('|', start), c.said.size());
            EXPECT_TRUE(contains(r.err, c.said.substr(start, end - start))) << r.err;
        }
        if (c.pngWidth != 0) {
            const std::vector<unsigned char> png = readBytes(out / "x.png");
            ASSERT_GT(png.size(), 20U);
            EXPECT_EQ(png[18] * 256 + png[19], c.pngWidth); // IHDR's width, big-endian at 16
        }
    }
}

} // namespace
} // namespace tessarin::testing
