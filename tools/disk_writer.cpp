#include "tools/disk_writer.h"

#include <algorithm>
#include <stdexcept>

namespace tessarin::samples {

namespace {

constexpr std::size_t kSector = 512;
constexpr std::size_t kEntryBytes = 32;
constexpr std::uint8_t kMedia = 0xF9;
constexpr std::uint32_t kFirstCluster = 2;
constexpr std::size_t kNameBytes = 8;
constexpr std::size_t kExtensionBytes = 3;

void put16(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t value) { // LE
    b[at] = static_cast<std::uint8_t>(value);
    b[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t value) { // LE
    put16(b, at, value & 0xFFFF);
    put16(b, at + 2, value >> 16);
}

std::size_t sectorsFor(std::size_t bytes) {
    return (bytes + kSector - 1) / kSector;
}

} // namespace

DiskWriter::DiskWriter(std::uint32_t clusters, std::uint32_t sectorsPerCluster,
                       std::uint32_t rootEntries)
    : fatOffset_(kSector), fatBytes_(sectorsFor((clusters + kFirstCluster) * 3 / 2 + 1) * kSector),
      rootOffset_(fatOffset_ + 2 * fatBytes_), rootEntries_(rootEntries),
      dataOffset_(rootOffset_ + sectorsFor(rootEntries * kEntryBytes) * kSector),
      clusterBytes_(sectorsPerCluster * kSector), clusters_(clusters) {
    bytes_.resize(dataOffset_ + clusters * clusterBytes_);
    const std::size_t totalSectors = bytes_.size() / kSector;
    // The parameter block, offsets 11..27 and 32..35, little-endian.
    put16(bytes_, 11, kSector);
    bytes_[13] = static_cast<std::uint8_t>(sectorsPerCluster);
    put16(bytes_, 14, 1); // reserved sectors: the boot sector
    bytes_[16] = 2;       // FATs
    put16(bytes_, 17, rootEntries);
    put16(bytes_, 19, totalSectors > 0xFFFF ? 0 : static_cast<std::uint32_t>(totalSectors));
    bytes_[21] = kMedia;
    put16(bytes_, 22, static_cast<std::uint32_t>(fatBytes_ / kSector));
    put16(bytes_, 24, 9); // sectors per track and heads: unused here, but tools want them
    put16(bytes_, 26, 2);
    put32(bytes_, 32, static_cast<std::uint32_t>(totalSectors));
    // Both FATs start with the media byte and two bytes of 0xFF.
    for (const std::size_t fat : {fatOffset_, fatOffset_ + fatBytes_}) {
        bytes_[fat] = kMedia;
        bytes_[fat + 1] = bytes_[fat + 2] = 0xFF;
    }
}

std::size_t DiskWriter::clusterOffset(std::uint16_t cluster) const {
    return dataOffset_ + (cluster - kFirstCluster) * clusterBytes_;
}

std::uint16_t DiskWriter::allocate(std::size_t n) {
    if (n == 0 || nextFree_ + n > kFirstCluster + clusters_) {
        throw std::length_error("disk full");
    }
    const auto first = static_cast<std::uint16_t>(nextFree_);
    for (std::size_t i = 0; i < n; ++i) {
        const auto cluster = static_cast<std::uint16_t>(first + i);
        link(cluster, i + 1 == n ? kEndOfChain : static_cast<std::uint16_t>(cluster + 1));
    }
    nextFree_ += static_cast<std::uint32_t>(n);
    return first;
}

void DiskWriter::link(std::uint16_t cluster, std::uint16_t next) {
    for (const std::size_t fat : {fatOffset_, fatOffset_ + fatBytes_}) {
        // 12-bit entries, two in three bytes, little-endian.
        const std::size_t at = fat + cluster * 3 / 2;
        const std::uint32_t old = bytes_[at] | bytes_[at + 1] << 8;
        put16(bytes_, at,
              cluster % 2 == 0 ? (old & 0xF000) | next : (old & 0x000F) | std::uint32_t{next} << 4);
    }
}

void DiskWriter::put(std::uint16_t cluster, std::span<const std::uint8_t> bytes) {
    std::copy(bytes.begin(), bytes.end(),
              bytes_.begin() + static_cast<std::ptrdiff_t>(clusterOffset(cluster)));
}

void DiskWriter::add(std::uint16_t directory, std::string_view name, std::uint8_t attributes,
                     std::uint16_t first, std::uint32_t size) {
    std::size_t& slot = nextSlot_[directory];
    const std::size_t at = directory == kRoot ? rootOffset_ + slot * kEntryBytes
                                              : clusterOffset(directory) + slot * kEntryBytes;
    if ((directory == kRoot && slot == rootEntries_) || at + kEntryBytes > bytes_.size()) {
        throw std::length_error("directory full");
    }
    ++slot;
    // Offsets 0..7 the name, 8..10 the extension, both padded with spaces; 11 the attributes;
    // 26 the first cluster (16-bit LE); 28 the size (32-bit LE).
    const bool dots = name == "." || name == ".."; // a subdirectory's own entries
    const std::size_t dot = dots ? std::string_view::npos : name.find('.');
    const std::string_view base = name.substr(0, std::min(dot, kNameBytes));
    const std::string_view extension =
        dot == std::string_view::npos ? "" : name.substr(dot + 1, kExtensionBytes);
    std::fill_n(bytes_.begin() + static_cast<std::ptrdiff_t>(at), kNameBytes + kExtensionBytes,
                ' ');
    std::copy(base.begin(), base.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(at));
    std::copy(extension.begin(), extension.end(),
              bytes_.begin() + static_cast<std::ptrdiff_t>(at + kNameBytes));
    bytes_[at + 11] = attributes;
    put16(bytes_, at + 26, first);
    put32(bytes_, at + 28, size);
}

std::uint16_t DiskWriter::addFile(std::uint16_t directory, std::string_view name,
                                  std::span<const std::uint8_t> bytes) {
    const std::uint16_t first =
        allocate(std::max<std::size_t>(1, (bytes.size() + clusterBytes_ - 1) / clusterBytes_));
    put(first, bytes);
    add(directory, name, 0, first, static_cast<std::uint32_t>(bytes.size()));
    return first;
}

std::uint16_t DiskWriter::addDirectory(std::uint16_t directory, std::string_view name,
                                       std::size_t clusters) {
    constexpr std::uint8_t kDirectory = 0x10;
    const std::uint16_t first = allocate(clusters);
    add(directory, name, kDirectory, first, 0);
    add(first, ".", kDirectory, first, 0);
    add(first, "..", kDirectory, directory, 0);
    return first;
}

} // namespace tessarin::samples
