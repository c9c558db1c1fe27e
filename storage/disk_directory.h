#pragma once

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

// The files and subdirectories of a directory's 32-byte entries, in their order, up to the
// entry that ends the directory. Deleted entries, volume labels, long-name entries and the
// "." and ".." of a subdirectory are left out.
[[nodiscard]] std::vector<DirectoryEntry> parseDirectory(std::span<const std::uint8_t> entries);

} // namespace tessarin
