#include "storage/disk_geometry.h"

#include <array>
#include <bit>
#include <optional>
#include <span>
#include <string_view>

namespace tessarin {

namespace {

// The fields of the parameter block, in sectors unless said otherwise.
struct Parameters {
    std::uint32_t bytesPerSector;
    std::uint32_t sectorsPerCluster;
    std::uint32_t reservedSectors;
    std::uint32_t fatCount;
    std::uint32_t rootEntries;
    std::uint32_t totalSectors;
    std::uint32_t sectorsPerFat;
    std::uint8_t media;
};

constexpr std::size_t kBootFieldBytes = 36; // through the 32-bit total sectors at offset 32
constexpr std::uint32_t kEntryBytes = 32;
constexpr std::uint32_t kMaxClusters = 4084; // FAT12 numbers clusters 2..0xFF5
constexpr std::uint32_t kMaxFats = 4;

// Geometries picked by the first FAT byte when the parameter block is garbage.
constexpr std::array<Parameters, 2> kStandard{{
    {512, 2, 1, 2, 112, 720, 2, 0xF8},  // 360 KB: one side, 80 tracks of 9 sectors
    {512, 2, 1, 2, 112, 1440, 3, 0xF9}, // 720 KB: two sides
}};

using BootFields = std::array<std::uint8_t, kBootFieldBytes>;

// The byte at offset, or none past the image's end.
[[nodiscard]] std::optional<std::uint8_t> byteAt(const DiskReader& image, std::uint64_t offset) {
    std::array<std::uint8_t, 1> byte{};
    if (image.readAt(offset, byte) != byte.size()) {
        return std::nullopt;
    }
    return byte[0];
}

[[nodiscard]] std::uint32_t get16(std::span<const std::uint8_t> b, std::size_t at) {
    return std::uint32_t{b[at]} | std::uint32_t{b[at + 1]} << 8;
}

[[nodiscard]] std::uint32_t get32(std::span<const std::uint8_t> b, std::size_t at) {
    return get16(b, at) | get16(b, at + 2) << 16;
}

[[nodiscard]] bool isMediaByte(std::uint32_t byte) {
    return byte == 0xF0 || (byte >= 0xF8 && byte <= 0xFF);
}

[[nodiscard]] bool isMediaByte(std::optional<std::uint8_t> byte) {
    return byte && isMediaByte(std::uint32_t{*byte});
}

[[nodiscard]] std::string hexByte(std::uint32_t byte) {
    constexpr std::string_view kDigits = "0123456789ABCDEF";
    return {'0', 'x', kDigits[byte >> 4 & 0xF], kDigits[byte & 0xF]};
}

[[nodiscard]] Parameters parametersOf(std::span<const std::uint8_t> boot) {
    Parameters p{};
    p.bytesPerSector = get16(boot, 11); // LE
    p.sectorsPerCluster = boot[13];
    p.reservedSectors = get16(boot, 14); // LE
    p.fatCount = boot[16];
    p.rootEntries = get16(boot, 17);  // LE
    p.totalSectors = get16(boot, 19); // LE; 0: the 32-bit count at 32 holds it
    if (p.totalSectors == 0) {
        p.totalSectors = get32(boot, 32); // LE
    }
    p.media = boot[21];
    p.sectorsPerFat = get16(boot, 22); // LE
    return p;
}

// What is wrong with the fields themselves; empty when each is in its range.
[[nodiscard]] std::string fieldProblem(const Parameters& p) {
    const auto field = [](const char* what, std::uint32_t value) {
        return std::string(what) + ' ' + std::to_string(value);
    };
    if (!std::has_single_bit(p.bytesPerSector) || p.bytesPerSector < 128 ||
        p.bytesPerSector > 4096) {
        return field("bytes per sector", p.bytesPerSector);
    }
    if (!std::has_single_bit(p.sectorsPerCluster)) {
        return field("sectors per cluster", p.sectorsPerCluster);
    }
    if (p.reservedSectors == 0) {
        return field("reserved sectors", p.reservedSectors);
    }
    if (p.fatCount == 0 || p.fatCount > kMaxFats) {
        return field("number of FATs", p.fatCount);
    }
    if (p.rootEntries == 0) {
        return field("root directory entries", p.rootEntries);
    }
    if (!isMediaByte(p.media)) {
        return "media byte " + hexByte(p.media);
    }
    if (p.sectorsPerFat == 0) {
        return field("sectors per FAT", p.sectorsPerFat);
    }
    return {};
}

} // namespace

std::optional<DiskGeometry> DiskGeometry::of(const DiskReader& image, std::string& whyNot) {
    BootFields boot{};
    if (image.readAt(0, boot) < boot.size()) {
        whyNot = std::to_string(image.size()) + " bytes, too short for a boot sector";
        return std::nullopt;
    }
    // Layout checks in 64 bits: a 32-bit sector count times a sector size overflows 32.
    const auto layout = [&](const Parameters& p) -> std::optional<DiskGeometry> {
        if (whyNot = fieldProblem(p); !whyNot.empty()) {
            return std::nullopt;
        }
        const std::uint64_t sector = p.bytesPerSector;
        const std::uint64_t fatStart = p.reservedSectors * sector;
        const std::uint64_t rootStart =
            fatStart + std::uint64_t{p.fatCount} * p.sectorsPerFat * sector;
        const std::uint64_t rootSectors = (p.rootEntries * kEntryBytes + sector - 1) / sector;
        const std::uint64_t dataStart = rootStart + rootSectors * sector;
        if (rootStart > image.size()) {
            whyNot = "FAT past the end of the image";
            return std::nullopt;
        }
        if (const auto first = byteAt(image, fatStart); !isMediaByte(first)) {
            whyNot = "FAT starts with " + hexByte(first.value_or(0)) + ", no media byte";
            return std::nullopt;
        }
        if (dataStart > image.size()) {
            whyNot = "root directory past the end of the image";
            return std::nullopt;
        }
        const std::uint64_t dataSectors =
            p.totalSectors > dataStart / sector ? p.totalSectors - dataStart / sector : 0;
        const std::uint64_t clusters = dataSectors / p.sectorsPerCluster;
        if (clusters == 0) {
            whyNot = "data area empty";
            return std::nullopt;
        }
        if (clusters > kMaxClusters) {
            whyNot = std::to_string(clusters) + " clusters, more than FAT12 can number";
            return std::nullopt;
        }
        const std::uint64_t fatBytes = p.sectorsPerFat * sector;
        if (fatBytes * 2 / 3 < clusters + kFirstCluster) {
            whyNot = "FAT too small for " + std::to_string(clusters) + " clusters";
            return std::nullopt;
        }
        DiskGeometry g;
        g.fatOffset_ = fatStart;
        g.fatBytes_ = fatBytes;
        g.rootOffset_ = rootStart;
        g.rootBytes_ = p.rootEntries * kEntryBytes;
        g.dataOffset_ = dataStart;
        g.clusterBytes_ = p.sectorsPerCluster * sector;
        g.clusterCount_ = static_cast<std::uint32_t>(clusters);
        return g;
    };
    if (auto geometry = layout(parametersOf(boot))) {
        return geometry;
    }
    // Only an image of exactly a standard size whose FAT names it falls back, so that a
    // damaged disk of another size is refused rather than misread.
    const std::string declared = whyNot;
    for (const Parameters& standard : kStandard) {
        const std::uint64_t bytes = std::uint64_t{standard.totalSectors} * standard.bytesPerSector;
        if (image.size() == bytes && byteAt(image, standard.bytesPerSector) == standard.media) {
            return layout(standard);
        }
    }
    whyNot = declared;
    return std::nullopt;
}

} // namespace tessarin
