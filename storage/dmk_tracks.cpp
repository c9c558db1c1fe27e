#include "storage/dmk_tracks.h"

#include "platform/file_error.h"

#include <algorithm>
#include <array>
#include <optional>

namespace tessarin {

namespace {

using Bytes = std::span<const std::uint8_t>;

// The 16-byte header: 0 write protection, 1 tracks, 2..3 track length (u16 LE, its
// 128-byte header included), 4 options (bit 4 one side only, bit 6 single density only,
// bit 7 density ignored), 5..11 reserved, 12..15 zero for an image (12345678h names a real
// drive instead). Then each track's sides in turn, track t side s at 16 + (t * sides + s)
// * length.
constexpr std::size_t kHeaderBytes = 16;
constexpr std::size_t kTracksAt = 1;
constexpr std::size_t kLengthAt = 2;
constexpr std::size_t kOptionsAt = 4;
constexpr std::size_t kNativeAt = 12;
constexpr std::uint8_t kOneSide = 0x10;
constexpr std::uint8_t kSingleDensityOnly = 0x40;
constexpr std::size_t kLongestTrack = 0x2940;

// A track's header: 64 pointers (u16 LE) to the FEh of each IDAM, from the track's start,
// ascending, a 0 after the last; bit 15 marks a double-density sector, bit 14 is unused.
constexpr std::size_t kTrackHeaderBytes = 128;
constexpr std::size_t kPointers = kTrackHeaderBytes / 2;
constexpr std::uint16_t kDoubleDensity = 0x8000;
constexpr std::uint16_t kOffsetMask = 0x3FFF;

// An IDAM as the FDC writes it in double density: FEh, track, side, sector, size code,
// CRC (big-endian) over the three A1h sync bytes before it and these five. The data follow
// within 43 bytes after its CRC: an address mark FBh (F8h deleted), the sector's bytes and
// their CRC, over the sync bytes, the mark and the data.
constexpr std::uint8_t kIdMark = 0xFE;
constexpr std::size_t kIdBytes = 5; // the mark to the size code
constexpr std::size_t kSectorAt = 3;
constexpr std::size_t kSizeCodeAt = 4;
constexpr std::size_t kCrcBytes = 2;
constexpr std::size_t kDataMarkWindow = 43;
constexpr std::uint8_t kDataMark = 0xFB;
constexpr std::uint8_t kDeletedDataMark = 0xF8;
constexpr std::uint8_t kSync = 0xA1;
constexpr std::size_t kSyncBytes = 3;

// MSX-DOS sectors: 512 bytes (size code 2), numbered from 1, at most 18 a track.
constexpr std::uint8_t kSectorSizeCode = 2;
constexpr std::size_t kSectorBytes = 512;
constexpr std::uint8_t kMaxSectors = 18;

std::uint16_t crcOf(Bytes bytes) {
    // CRC-16-CCITT (x^16 + x^12 + x^5 + 1) from FFFFh, as the FDC keeps it; the sync
    // bytes first.
    std::uint16_t crc = 0xFFFF;
    const auto add = [&crc](std::uint8_t byte) {
        crc = static_cast<std::uint16_t>(crc ^ byte << 8);
        for (int bit = 0; bit < 8; ++bit) {
            crc = static_cast<std::uint16_t>(crc & 0x8000 ? crc << 1 ^ 0x1021 : crc << 1);
        }
    };
    for (std::size_t i = 0; i < kSyncBytes; ++i) {
        add(kSync);
    }
    std::ranges::for_each(bytes, add);
    return crc;
}

bool crcHolds(Bytes covered, Bytes stored) {
    return crcOf(covered) == (stored[0] << 8 | stored[1]);
}

[[noreturn]] void notDmk(const std::string& file, const std::string& why) {
    throw FileError(file, "\"" + file + "\" is no DMK disk image: " + why, Fault::notDiskImage);
}

// A sector found on a track: its number and its bytes (nothing where they fail their CRC).
struct Sector {
    std::uint8_t number;
    std::optional<Bytes> data;
};

// The 512-byte double-density sectors of one side of a track, in the order of its IDAMs.
std::vector<Sector> sectorsOn(Bytes track) {
    std::vector<Sector> sectors;
    for (std::size_t i = 0; i < kPointers; ++i) {
        const auto pointer = static_cast<std::uint16_t>(track[2 * i] | track[2 * i + 1] << 8);
        if (pointer == 0) {
            break;
        }
        const std::size_t at = pointer & kOffsetMask;
        if ((pointer & kDoubleDensity) == 0 || at < kTrackHeaderBytes ||
            at + kIdBytes + kCrcBytes > track.size() || track[at] != kIdMark) {
            continue; // single density never held MSX-DOS sectors; a pointer past the end
        }
        const Bytes id = track.subspan(at, kIdBytes);
        if (id[kSizeCodeAt] != kSectorSizeCode || id[kSectorAt] == 0 ||
            id[kSectorAt] > kMaxSectors) {
            continue;
        }
        Sector sector{id[kSectorAt], std::nullopt};
        const std::size_t after = at + kIdBytes + kCrcBytes;
        const Bytes window = track.subspan(after, std::min(kDataMarkWindow, track.size() - after));
        const auto mark = std::ranges::find_if(
            window, [](std::uint8_t b) { return b == kDataMark || b == kDeletedDataMark; });
        const std::size_t markAt = after + static_cast<std::size_t>(mark - window.begin());
        if (crcHolds(id, track.subspan(at + kIdBytes, kCrcBytes)) && mark != window.end() &&
            markAt + 1 + kSectorBytes + kCrcBytes <= track.size() &&
            crcHolds(track.subspan(markAt, 1 + kSectorBytes),
                     track.subspan(markAt + 1 + kSectorBytes, kCrcBytes))) {
            sector.data = track.subspan(markAt + 1, kSectorBytes);
        }
        sectors.push_back(sector);
    }
    return sectors;
}

} // namespace

std::vector<std::uint8_t> sectorsOfDmk(Bytes dmk, const std::string& file) {
    if (dmk.size() < kHeaderBytes) {
        notDmk(file, "shorter than its header");
    }
    const std::size_t tracks = dmk[kTracksAt];
    const std::size_t length = dmk[kLengthAt] | dmk[kLengthAt + 1] << 8;
    const std::size_t sides = (dmk[kOptionsAt] & kOneSide) != 0 ? 1 : 2;
    if (std::ranges::any_of(dmk.subspan(kNativeAt, kHeaderBytes - kNativeAt),
                            [](std::uint8_t b) { return b != 0; }) ||
        (dmk[kOptionsAt] & kSingleDensityOnly) != 0) {
        notDmk(file, "its header names a real drive or a single-density disk");
    }
    if (tracks == 0 || length <= kTrackHeaderBytes || length > kLongestTrack) {
        notDmk(file, "its header gives no tracks or a track length of " + std::to_string(length));
    }
    if (dmk.size() < kHeaderBytes + tracks * sides * length) {
        notDmk(file, "its " + std::to_string(tracks) + " tracks lie past its end");
    }
    const auto track = [&](std::size_t t, std::size_t s) {
        return dmk.subspan(kHeaderBytes + (t * sides + s) * length, length);
    };
    std::size_t perTrack = 0;
    for (const Sector& sector : sectorsOn(track(0, 0))) {
        perTrack = std::max<std::size_t>(perTrack, sector.number);
    }
    if (perTrack == 0) {
        notDmk(file, "its first track holds no sector of 512 bytes");
    }
    std::vector<std::uint8_t> disk(tracks * sides * perTrack * kSectorBytes);
    for (std::size_t t = 0; t < tracks; ++t) {
        for (std::size_t s = 0; s < sides; ++s) {
            std::array<bool, kMaxSectors + 1> laid{};
            for (const Sector& sector : sectorsOn(track(t, s))) {
                if (sector.number > perTrack || laid[sector.number]) {
                    continue; // the first of a number is the one the FDC finds
                }
                laid[sector.number] = true;
                const std::size_t at =
                    ((t * sides + s) * perTrack + sector.number - 1) * kSectorBytes;
                if (sector.data) {
                    std::ranges::copy(*sector.data, disk.begin() + static_cast<std::ptrdiff_t>(at));
                }
            }
        }
    }
    return disk;
}

} // namespace tessarin
