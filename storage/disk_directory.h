#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tessarin {

// One file or subdirectory named in a directory of an MSX-DOS disk.
struct DirectoryEntry {
    std::string name; // "NAME.EXT", or "NAME" without extension, as stored
    bool isDirectory = false;
    std::uint16_t firstCluster = 0;
    std::uint32_t size = 0; // bytes; 0 for a directory
};

// What parseDirectory found in a directory.
struct ParsedDirectory {
    std::vector<DirectoryEntry> entries;
    std::size_t slots = 0; // 32-byte entries looked at, whatever they held
    bool cut = false;      // stopped at the most slots asked for, with more after them
};

inline constexpr std::size_t kDirectoryEntryBytes = 32;

// The files and subdirectories of a directory's 32-byte entries, in their order, up to the
// entry that ends the directory or maxSlots entries. Deleted entries, volume labels,
// long-name entries and the "." and ".." of a subdirectory are left out.
[[nodiscard]] ParsedDirectory parseDirectory(std::span<const std::uint8_t> entries,
                                             std::size_t maxSlots);

} // namespace tessarin
