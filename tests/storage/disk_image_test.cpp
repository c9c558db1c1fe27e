#include "platform/file_error.h"
#include "storage/disk_image.h"
#include "tests/platform/scratch_dir.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string_view>

namespace tessarin {
namespace {

using test::patternBytes;

// A small disk made byte by byte: 512-byte sectors, a cluster a sector, one reserved
// sector, two FATs of one sector, 16 root entries in sector 3, clusters 2..61 from sector 4.
struct Builder {
    static constexpr std::size_t kRoot = 3 * 512;
    std::vector<std::uint8_t> bytes = std::vector<std::uint8_t>(64 * 512);

    Builder() {
        // Offsets 11..23: bytes per sector, sectors per cluster, reserved sectors, FATs, root
        // entries, total sectors, media byte, sectors per FAT; little-endian.
        const std::uint8_t boot[] = {0x00, 0x02, 1, 1, 0, 2, 16, 0, 64, 0, 0xF9, 1, 0};
        std::copy(std::begin(boot), std::end(boot), bytes.begin() + 11);
        bytes[512] = 0xF9, bytes[513] = bytes[514] = 0xFF; // media byte, then the end mark
        entry(kRoot, 0, "VOLUME     ", 0x08, 0, 0);
        entry(kRoot, 1, "\xE5OLD    SC5", 0, 9, 10);
        entry(kRoot, 2, "PIC     SC5", 0, 2, 1200);
        chain({2, 3, 5}); // fragmented
        const auto pic = patternBytes(1200, 1);
        for (std::size_t i = 0; i < pic.size(); ++i) {
            bytes[cluster(i < 512 ? 2 : i < 1024 ? 3 : 5) + i % 512] = pic[i];
        }
        entry(kRoot, 3, "LONG NAME  ", 0x0F, 0, 0);
        entry(kRoot, 4, "EMPTY      ", 0, 0, 0);
        entry(kRoot, 5, "SUB        ", 0x10, 6, 0);
        chain({6});
        entry(cluster(6), 0, ".          ", 0x10, 6, 0);
        entry(cluster(6), 1, "..         ", 0x10, 0, 0);
        entry(cluster(6), 2, "\x05X      BIN", 0x02, 7, 10);
        chain({7, 8}); // longer than needed
    }
    void set16(std::size_t at, unsigned value) {
        bytes[at] = static_cast<std::uint8_t>(value);
        bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
    }
    static std::size_t cluster(unsigned n) { return (4 + n - 2) * 512; }
    void fat(unsigned n, unsigned value) {
        const std::size_t at = 512 + n * 3 / 2;
        const unsigned old = bytes[at] | bytes[at + 1] << 8;
        set16(at, n % 2 == 0 ? (old & 0xF000) | value : (old & 0x000F) | value << 4);
    }
    void chain(std::initializer_list<unsigned> clusters) {
        for (auto it = clusters.begin(); it != clusters.end(); ++it) {
            fat(*it, it + 1 == clusters.end() ? 0xFFF : *(it + 1));
        }
    }
    void entry(std::size_t dir, int index, std::string_view name, std::uint8_t attributes,
               unsigned first, std::uint32_t size) {
        const std::size_t at = dir + static_cast<std::size_t>(index) * 32;
        std::copy(name.begin(), name.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
        bytes[at + 11] = attributes;
        set16(at + 26, first);
        set16(at + 28, size); // below 64 KB: the high half stays 0
    }
};

[[nodiscard]] std::shared_ptr<const DiskReader> inMemory(std::vector<std::uint8_t> bytes) {
    return std::make_shared<const MemoryDiskReader>(std::move(bytes));
}

[[nodiscard]] std::vector<std::string> pathsOf(const DiskImage& image) {
    std::vector<std::string> paths;
    for (const auto& f : image.files()) {
        paths.push_back(f.path() + ' ' + std::to_string(f.size()));
    }
    return paths;
}

TEST(DiskImage, ListsAndReadsBuiltDisk) {
    const DiskImage image("GAME.DSK", inMemory(Builder().bytes));
    EXPECT_EQ(pathsOf(image),
              (std::vector<std::string>{"PIC.SC5 1200", "EMPTY 0", "SUB/\xE5X.BIN 10"}));
    EXPECT_EQ(image.read(image.files()[0]), patternBytes(1200, 1));
    EXPECT_TRUE(image.read(image.files()[1]).empty());
    EXPECT_TRUE(image.problems().empty());
}

// A disk that cannot be read fails naming it; damage the listing finds is a problem naming
// the place, and a damaged file reads as far as its chain holds (readPic: its first two
// clusters, 1024 of its 1200 bytes).
TEST(DiskImage, BrokenDisksFailNamingDiskFileAndFault) {
    enum Where { open, readPic, problem };
    const struct {
        std::function<void(Builder&)> damage;
        Where where;
        std::string message;
    } cases[] = {
        {[](Builder& b) { b.set16(11, 0); }, open,
         "GAME.DSK: not an MSX-DOS disk image: bytes per sector 0"},
        {[](Builder& b) { b.bytes.assign(4000, 'A'); }, open, "bytes per sector 16705"},
        {[](Builder& b) { b.bytes.resize(20); }, open, "20 bytes, too short for a boot sector"},
        {[](Builder& b) { b.bytes[21] = 0x12; }, open, "media byte 0x12"},
        {[](Builder& b) { b.bytes[512] = 0; }, open, "FAT starts with 0x00, no media byte"},
        {[](Builder& b) { b.set16(22, 200); }, open, "FAT past the end of the image"},
        {[](Builder& b) { b.set16(17, 2000); }, open, "root directory past the end of the image"},
        {[](Builder& b) { b.set16(19, 4); }, open, "data area empty"},
        {[](Builder& b) { b.set16(19, 0), b.set16(32, 9000); }, open,
         "8996 clusters, more than FAT12 can number"},
        {[](Builder& b) { b.set16(19, 1000); }, open, "FAT too small for 996 clusters"},
        {[](Builder& b) { b.fat(3, 2); }, readPic,
         "GAME.DSK/PIC.SC5: cluster chain loops at cluster 2; only its first 1024 of 1200 bytes"},
        {[](Builder& b) { b.fat(3, 0x900); }, readPic, "cluster 3 leads to cluster 2304, outside"},
        {[](Builder& b) { b.fat(3, 0); }, readPic, "cluster 3 of the chain is marked free"},
        {[](Builder& b) { b.fat(3, 0xFF7); }, readPic, "cluster 3 of the chain is marked bad"},
        {[](Builder& b) { b.fat(3, 0xFF8); }, readPic,
         "chain shorter than the file's size (2 of 3"},
        {[](Builder& b) { b.bytes.resize(Builder::cluster(5) + 100); }, readPic,
         "cluster 5 past the end of the image; only its first 1024"},
        {[](Builder& b) { b.bytes.resize(Builder::cluster(6)); }, problem,
         "GAME.DSK/SUB: cluster 6 past the end of the image"},
        {[](Builder& b) { b.entry(Builder::cluster(6), 3, "LOOP       ", 0x10, 6, 0); }, problem,
         "GAME.DSK/SUB/LOOP: directory loops back to cluster 6"},
        {[](Builder& b) { b.fat(6, 0); }, problem,
         "GAME.DSK/SUB: cluster 6 of the chain is marked free"},
        {[](Builder& b) {
             b.entry(Builder::kRoot, 6, "D          ", 0x10, 10, 0);
             for (unsigned c = 10; c < 45; ++c) { // each directory holds the next
                 b.entry(Builder::cluster(c), 0, "D          ", 0x10, c + 1, 0), b.chain({c});
             }
         },
         problem, "nested deeper than 32 levels"},
    };
    for (const auto& c : cases) {
        Builder b;
        c.damage(b);
        std::string error, problems;
        try {
            const DiskImage image("GAME.DSK", inMemory(b.bytes));
            problems = image.problems().empty() ? "" : image.problems().front().what();
            ASSERT_FALSE(image.files().empty()) << c.message;
            EXPECT_EQ(pathsOf(image)[0], "PIC.SC5 1200"); // the root lists all the same
            if (c.where == readPic) {
                const std::vector<std::uint8_t> whole = patternBytes(1200, 1);
                EXPECT_EQ(image.read(image.files()[0]),
                          std::vector<std::uint8_t>(whole.begin(), whole.begin() + 1024))
                    << c.message;
                EXPECT_EQ(image.problems().front().fileName(), "GAME.DSK/PIC.SC5");
            }
        } catch (const FileError& e) {
            error = e.fileName() + '|' + e.what();
        }
        const std::string& seen = c.where == open ? error : problems;
        EXPECT_NE(seen.find(c.message), std::string::npos) << c.message << ": " << seen;
        EXPECT_EQ(error.substr(0, error.find('|')), c.where == open ? "GAME.DSK" : "");
    }
}

TEST(DiskImage, ReadsWhatMtoolsWrote) {
    const auto run = [](const std::string& command) { return std::system(command.c_str()) == 0; };
    ASSERT_TRUE(run("command -v mformat >/dev/null"))
        << "mformat not found: install mtools (scripts/deps.sh test)";
    const test::ScratchDir dir;
    const std::string disk = dir.file("D.DSK");
    const std::string mtools = " -i '" + disk + "' ";
    const std::pair<std::string, std::size_t> written[] = {
        {"A", 3000},        {"B", 1500}, {"C", 5000}, {"EMPTY", 0}, {"SUB/PIC.SC5", 20000},
        {"SUB/DEEP/X.Y", 1}};
    // The last without a parameter block, as some MSX-DOS 1 disks are: the FAT names it.
    for (const auto& [format, noBlock] : {std::pair{"720", false}, {"360", false}, {"720", true}}) {
        ASSERT_TRUE(run("mformat -C -f " + std::string(format) + mtools + "::"));
        ASSERT_TRUE(run("mmd" + mtools + "::/SUB ::/SUB/DEEP"));
        for (const auto& [path, size] : written) {
            test::writeBytes(dir.file("in"), patternBytes(size, static_cast<std::uint8_t>(size)));
            ASSERT_TRUE(run("mcopy" + mtools + dir.file("in") + " ::/" + path));
            if (path == "B") { // C fills A's clusters, then goes on after B's
                ASSERT_TRUE(run("mdel" + mtools + "::/A"));
            }
        }
        std::vector<std::uint8_t> bytes = test::readBytes(disk);
        if (noBlock) {
            std::fill(bytes.begin() + 11, bytes.begin() + 36, 0);
        }
        const DiskImage image("D.DSK", inMemory(bytes));
        std::vector<std::string> paths = pathsOf(image);
        std::sort(paths.begin(), paths.end());
        EXPECT_EQ(paths, (std::vector<std::string>{"B 1500", "C 5000", "EMPTY 0", "SUB/DEEP/X.Y 1",
                                                   "SUB/PIC.SC5 20000"}));
        for (const auto& file : image.files()) {
            ASSERT_TRUE(run("mcopy -n" + mtools + "::/" + file.path() + " " + dir.file("out")));
            EXPECT_EQ(image.read(file), test::readBytes(dir.file("out"))) << format << file.path();
        }
    }
}

} // namespace
} // namespace tessarin
