#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tessarin {

// The largest DMK file read: 255 tracks of two sides at the longest track length, 2940h.
inline constexpr std::size_t kMaxDmkBytes = 16 + 255 * 2 * 0x2940;

// The sectors of a DMK track image (".dmk") as the plain image of the disk they make, for
// a disk's reader: each side of each track laid out as the FDC reads it, its double-density
// sectors of 512 bytes found through its IDAM pointers, in order of track, side and sector
// number. The sectors of a track are as many as track 0 side 0 numbers (at most 18); one
// absent, or whose ID or data fails its CRC, reads as zeros. FileError naming file
// (Fault::notDiskImage) when its header is none or its tracks lie past its end.
[[nodiscard]] std::vector<std::uint8_t> sectorsOfDmk(std::span<const std::uint8_t> dmk,
                                                     const std::string& file);

} // namespace tessarin
