// Disk images that lie, through the storage interface the viewer and the exporter use:
// every fault is reported once with its kind and place, and never hides the sound files.
#include "catalog/file_source.h"
#include "storage/disk_image.h"
#include "tests/platform/scratch_dir.h"
#include "tools/disk_writer.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <optional>

namespace tessarin {
namespace {

using samples::DiskWriter;
using test::patternBytes;
using namespace std::string_literals;

constexpr std::uint8_t kDirectory = 0x10;

struct Read {
    std::string path; // inside the disk
    std::size_t limit;
    std::optional<Fault> fault;          // else the first limit bytes of what was written
    std::optional<std::size_t> got = {}; // fewer, where the chain holds fewer
};

struct HostileDisk {
    std::string what;
    std::function<std::vector<std::uint8_t>()> build;
    std::size_t files;                 // listed
    std::vector<Fault> damage;         // what damageOf says, in order
    std::string place;                 // where the first damage is, inside the disk
    std::vector<std::string> listed{}; // the first names listed, when they matter
    std::optional<Read> read{};
};

std::vector<std::uint8_t> nested(int depth) {
    DiskWriter d(200);
    std::uint16_t folder = DiskWriter::kRoot;
    for (int level = 0; level < depth; ++level) {
        d.addFile(folder, "P.SC5", patternBytes(10, 1));
        folder = d.addDirectory(folder, "D");
    }
    return d.bytes();
}

const std::vector<HostileDisk>& cases() {
    // clang-format off
    static const std::vector<HostileDisk> all{
        {"60 nested folders", [] { return nested(60); }, 33, {Fault::directoryTooDeep},
         "D/D/D/D/D/D/D/D/D/D/D/D/D/D/D/D/D/D/D/D/D/D/D/D/D/D/D/D/D/D/D/D/D"},
        {"a folder cut short after its first cluster", [] {
             DiskWriter d(20);
             const std::uint16_t sub = d.addDirectory(DiskWriter::kRoot, "SUB", 2);
             for (int n = 0; n < 15; ++n) { // 14 in its first cluster, after "." and ".."
                 d.addFile(sub, "F" + std::to_string(n) + ".SC5", patternBytes(9, 2));
             }
             d.link(sub, DiskWriter::kFree);
             return d.bytes();
         }, 14, {Fault::chainBroken}, "SUB"},
        {"a folder inside itself", [] {
             DiskWriter d(20);
             const std::uint16_t sub = d.addDirectory(DiskWriter::kRoot, "SUB");
             d.addFile(sub, "A.SC5", patternBytes(9, 3));
             d.add(sub, "LOOP", kDirectory, sub, 0);
             d.addFile(sub, "B.SC5", patternBytes(9, 3));
             return d.bytes();
         }, 2, {Fault::directoryLoop}, "SUB/LOOP", {"SUB/A.SC5", "SUB/B.SC5"}},
        {"a folder past the end of the image", [] {
             DiskWriter d(20);
             d.addFile(DiskWriter::kRoot, "A.SC5", patternBytes(9, 4));
             d.addDirectory(DiskWriter::kRoot, "SUB");
             std::vector<std::uint8_t> bytes = d.bytes();
             bytes.resize(bytes.size() - 19 * 512); // SUB, cluster 3, is cut off
             return bytes;
         }, 1, {Fault::clusterPastEnd}, "SUB"},
        {"more entries than are listed", [] {
             DiskWriter d(1200);
             const std::uint16_t folder = d.addDirectory(DiskWriter::kRoot, "BIG", 1100);
             for (int n = 0; n < 17000; ++n) {
                 d.add(folder, "E" + std::to_string(n), 0, 0, 0);
             }
             return d.bytes();
         }, DiskImage::kMaxEntries - 3, {Fault::tooManyEntries}, "BIG"},
        {"two entries of one name", [] {
             DiskWriter d(20);
             d.addFile(DiskWriter::kRoot, "A.SC5", patternBytes(9, 5));
             d.addFile(DiskWriter::kRoot, "A.SC5", patternBytes(9, 6));
             return d.bytes();
         }, 1, {Fault::sameName}, "A.SC5", {}, Read{"A.SC5", 100, std::nullopt}},
        {"names differing in case alone are two files", [] {
             DiskWriter d(20);
             d.addFile(DiskWriter::kRoot, "PIC.SC5", patternBytes(9, 7));
             d.addFile(DiskWriter::kRoot, "pic.sc5", patternBytes(9, 8));
             return d.bytes();
         }, 2, {}, "", {"PIC.SC5", "pic.sc5"}, Read{"pic.sc5", 100, std::nullopt}},
        {"a name with a NUL byte", [] {
             DiskWriter d(20);
             d.addFile(DiskWriter::kRoot, "X\0Y.SC5"s, patternBytes(9, 9));
             return d.bytes();
         }, 1, {}, "", {"X\0Y.SC5"s}, Read{"X\0Y.SC5"s, 100, std::nullopt}},
        {"a size of 33 MB is read no further than asked", [] {
             DiskWriter d(300);
             d.addFile(DiskWriter::kRoot, "BIG.SC5", patternBytes(140000, 10));
             d.add(DiskWriter::kRoot, "LIE.SC5", 0, 2, 33'000'000);
             return d.bytes();
         }, 2, {Fault::chainShort}, "LIE.SC5", {}, Read{"LIE.SC5", 131079, std::nullopt}},
        {"a size beyond its chain reads what the chain holds", [] {
             DiskWriter d(100);
             const auto first = d.addFile(DiskWriter::kRoot, "A.SC5", patternBytes(30000, 11));
             d.add(DiskWriter::kRoot, "LIE.SC5", 0, first, 33'000'000);
             return d.bytes();
         }, 2, {Fault::chainShort}, "LIE.SC5", {}, Read{"LIE.SC5", 131079, std::nullopt, 59 * 512}},
        {"a chain that starts outside the data area reads nothing", [] {
             DiskWriter d(20);
             d.add(DiskWriter::kRoot, "OUT.SC5", 0, 4000, 3000);
             return d.bytes();
         }, 1, {Fault::chainBroken}, "OUT.SC5", {}, Read{"OUT.SC5", 100, Fault::chainBroken}},
    };
    // clang-format on
    return all;
}

TEST(HostileDisks, EachFaultIsReportedOnceWithItsKindAndPlace) {
    const test::ScratchDir dir;
    int n = 0;
    for (const HostileDisk& c : cases()) {
        SCOPED_TRACE(c.what);
        // A name of its own each: a disk is kept open while its name and stamp stay.
        const std::string disk = dir.file("H" + std::to_string(n++) + ".DSK");
        const std::vector<std::uint8_t> bytes = c.build();
        test::writeBytes(disk, bytes);
        const FolderListing listing = fileSource().listFolder(Location::of(disk));
        EXPECT_EQ(listing->size(), c.files);
        for (std::size_t i = 0; i < c.listed.size() && i < listing->size(); ++i) {
            EXPECT_EQ((*listing)[i].path(), disk + "/" + c.listed[i]);
        }
        const std::vector<FileError> damage = fileSource().damageOf(Location::of(disk));
        std::vector<Fault> faults;
        for (const FileError& e : damage) {
            faults.push_back(e.fault());
        }
        EXPECT_EQ(faults, c.damage);
        if (!damage.empty()) {
            EXPECT_EQ(damage[0].fileName(), disk + "/" + c.place);
            EXPECT_TRUE(std::string(damage[0].what()).starts_with(disk + "/" + c.place + ": "));
        }
        if (!c.read) {
            continue;
        }
        const std::string path = disk + "/" + c.read->path;
        const auto at = std::ranges::find(*listing, path, &Location::path) - listing->begin();
        EXPECT_EQ(fileSource().placeInFolder(Location::of(path)),
                  std::pair(static_cast<int>(at) + 1, static_cast<int>(listing->size())));
        try {
            const InputBytes in = fileSource().read(Location::of(path), c.read->limit);
            EXPECT_FALSE(c.read->fault) << "no fault";
            const DiskImage image(disk, std::make_shared<const MemoryDiskReader>(bytes));
            const DiskImage::File* file = image.find(c.read->path);
            ASSERT_NE(file, nullptr);
            EXPECT_EQ(in.size, file->size());
            EXPECT_EQ(in.bytes, image.read(*file, c.read->limit));
            EXPECT_EQ(in.bytes.size(),
                      c.read->got.value_or(std::min<std::size_t>(file->size(), c.read->limit)));
        } catch (const FileError& e) {
            EXPECT_EQ(e.fault(), c.read->fault) << e.what();
            EXPECT_EQ(e.fileName(), path);
        }
    }
}

} // namespace
} // namespace tessarin
