#include "storage/disk_directory.h"

#include <utility>

namespace tessarin {

namespace {

constexpr std::size_t kEntryBytes = kDirectoryEntryBytes;
constexpr std::size_t kNameBytes = 8;      // offsets 0..7
constexpr std::size_t kExtensionBytes = 3; // offsets 8..10
constexpr std::size_t kAttributes = 11;
constexpr std::size_t kFirstCluster = 26; // u16 LE
constexpr std::size_t kSize = 28;         // u32 LE

constexpr std::uint8_t kEndOfDirectory = 0x00; // as the first name byte
constexpr std::uint8_t kDeleted = 0xE5;
constexpr std::uint8_t kStandsForE5 = 0x05; // a name that really starts with 0xE5
constexpr std::uint8_t kVolumeLabel = 0x08; // also set in long-name entries (0x0F)
constexpr std::uint8_t kDirectory = 0x10;

// Bytes with the trailing spaces removed.
[[nodiscard]] std::string trimmed(std::span<const std::uint8_t> bytes) {
    std::string text(bytes.begin(), bytes.end());
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

} // namespace

ParsedDirectory parseDirectory(std::span<const std::uint8_t> entries, std::size_t maxSlots) {
    ParsedDirectory parsed;
    std::vector<DirectoryEntry>& found = parsed.entries;
    for (std::size_t at = 0; at + kEntryBytes <= entries.size(); at += kEntryBytes) {
        const auto e = entries.subspan(at, kEntryBytes);
        const std::uint8_t attributes = e[kAttributes];
        if (e[0] == kEndOfDirectory) {
            break;
        }
        if (parsed.slots == maxSlots) {
            parsed.cut = true;
            break;
        }
        ++parsed.slots;
        if (e[0] == kDeleted || e[0] == '.' || (attributes & kVolumeLabel) != 0) {
            continue;
        }
        DirectoryEntry entry;
        entry.name = trimmed(e.first(kNameBytes));
        if (entry.name.empty()) {
            continue; // a blank name is no entry MSX-DOS writes
        }
        if (e[0] == kStandsForE5) {
            entry.name[0] = static_cast<char>(kDeleted);
        }
        if (const std::string extension = trimmed(e.subspan(kNameBytes, kExtensionBytes));
            !extension.empty()) {
            entry.name += '.' + extension;
        }
        entry.isDirectory = (attributes & kDirectory) != 0;
        entry.firstCluster =
            static_cast<std::uint16_t>(e[kFirstCluster] | e[kFirstCluster + 1] << 8);
        if (!entry.isDirectory) {
            entry.size = std::uint32_t{e[kSize]} | std::uint32_t{e[kSize + 1]} << 8 |
                         std::uint32_t{e[kSize + 2]} << 16 | std::uint32_t{e[kSize + 3]} << 24;
        }
        found.push_back(std::move(entry));
    }
    return parsed;
}

} // namespace tessarin
