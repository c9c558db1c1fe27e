// Disk images for benchmarks that no formatting tool makes:
//   tessarin-make-disk deep N OUT   N small pictures spread over 31 nested folders
//   tessarin-make-disk giant OUT    a 32 MiB disk of 983,040 directory entries in 30 nested
//                                   folders of 8 KB clusters, one picture in the root
#include "formats/bsave.h"
#include "tools/disk_writer.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

using tessarin::samples::DiskWriter;

constexpr int kFolders = 31;

// A screen-5 picture of its first 512 bytes: a few coloured lines.
std::vector<std::uint8_t> smallPicture() {
    std::vector<std::uint8_t> data(512);
    for (std::size_t i = 0; i < data.size(); ++i) {
        data[i] = static_cast<std::uint8_t>(i * 37);
    }
    return tessarin::bsaveFile(0, data);
}

std::string numbered(const char* format, int n) {
    std::array<char, 16> name{};
    std::snprintf(name.data(), name.size(), format, n);
    return name.data();
}

// The pictures share one cluster: 8,000 of their own would not fit a FAT12 disk.
DiskWriter deep(int pictures) {
    const int perFolder = (pictures + kFolders - 1) / kFolders;
    const std::size_t folderClusters = (perFolder + 3) * 32 / 512 + 1;
    DiskWriter disk(4084, 1);
    const auto picture = smallPicture();
    const std::uint16_t shared = disk.allocate(2);
    disk.put(shared, picture);
    std::uint16_t folder = DiskWriter::kRoot;
    for (int n = 0; n < pictures; ++n) {
        if (n % perFolder == 0) {
            folder = disk.addDirectory(folder, numbered("D%02d", n / perFolder), folderClusters);
        }
        disk.add(folder, numbered("P%05d.SC5", n), 0, shared,
                 static_cast<std::uint32_t>(picture.size()));
    }
    return disk;
}

DiskWriter giant() {
    constexpr std::size_t kFolderClusters = 128; // 1 MiB: 32,768 entries
    constexpr int kNested = 30;
    DiskWriter disk(4084, 16);
    (void)disk.addFile(DiskWriter::kRoot, "PIC.SC5", smallPicture());
    std::uint16_t folder = DiskWriter::kRoot;
    for (int level = 0; level < kNested; ++level) {
        folder = disk.addDirectory(folder, numbered("D%02d", level), kFolderClusters);
        const int entries = 32768 - 2 - (level + 1 < kNested ? 1 : 0); // ".", "..", the next
        for (int n = 0; n < entries; ++n) {
            disk.add(folder, numbered("E%07d.TXT", n), 0, 0, 0);
        }
    }
    return disk;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    DiskWriter disk(1);
    std::string out;
    if (args.size() == 3 && args[0] == "deep") {
        disk = deep(std::stoi(args[1]));
        out = args[2];
    } else if (args.size() == 2 && args[0] == "giant") {
        disk = giant();
        out = args[1];
    } else {
        std::cerr << "usage: tessarin-make-disk deep N OUT | giant OUT\n";
        return 2;
    }
    std::ofstream file(out, std::ios::binary);
    file.write(reinterpret_cast<const char*>(disk.bytes().data()),
               static_cast<std::streamsize>(disk.bytes().size()));
    return file ? 0 : 1;
}
