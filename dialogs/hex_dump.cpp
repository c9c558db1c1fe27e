#include "dialogs/hex_dump.h"

#include <algorithm>

namespace tessarin {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

void appendHex(std::string& out, std::size_t value, int digits) {
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) {
        out += kHexDigits[(value >> shift) & 0xF];
    }
}

} // namespace

std::vector<std::string> hexDumpLines(std::span<const std::uint8_t> bytes) {
    const std::size_t shown = std::min(bytes.size(), kHexDumpMaxBytes);
    std::vector<std::string> lines;
    lines.reserve(shown / kHexDumpBytesPerLine);
    for (std::size_t offset = 0; offset + kHexDumpBytesPerLine <= shown;
         offset += kHexDumpBytesPerLine) {
        std::string line;
        appendHex(line, offset, 4);
        for (const std::uint8_t b : bytes.subspan(offset, kHexDumpBytesPerLine)) {
            line += ' ';
            appendHex(line, b, 2);
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

} // namespace tessarin
