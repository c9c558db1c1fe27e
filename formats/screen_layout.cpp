#include "formats/screen_layout.h"

#include "formats/graph_saurus.h"

#include <algorithm>
#include <optional>

namespace tessarin {

namespace {

constexpr std::size_t kWidthOffset = 0;  // COPY width, 16-bit LE
constexpr std::size_t kHeightOffset = 2; // COPY height, 16-bit LE
constexpr int kByteBits = 8;
constexpr const char* kEnDash = "\xE2\x80\x93";
constexpr const char* kTimes = "\xC3\x97";

std::uint32_t get16(std::span<const std::uint8_t> b, std::size_t offset) {
    return static_cast<std::uint32_t>(b[offset]) | static_cast<std::uint32_t>(b[offset + 1]) << 8;
}

// The 7-byte header, when head and the file hold one.
std::optional<BinaryHeader> binaryHeader(std::span<const std::uint8_t> head,
                                         std::uint64_t fileSize) {
    return fileSize < kBsaveHeaderSize ? std::nullopt : readBinaryHeader(head);
}

std::uint64_t packedBytes(std::uint64_t width, std::uint64_t height, int bitsPerPixel) {
    return (width * height * static_cast<std::uint64_t>(bitsPerPixel) + kByteBits - 1) / kByteBits;
}

std::optional<ScreenLayout> copyRectangle(std::span<const std::uint8_t> head,
                                          std::uint64_t fileSize, const ScreenModeFacts& mode) {
    // COPY to a file exists in the bitmap modes only.
    if (mode.kind != ModeKind::bitmap || head.size() < kCopyHeaderSize ||
        fileSize < kCopyHeaderSize) {
        return std::nullopt;
    }
    const std::uint32_t width = get16(head, kWidthOffset);
    const std::uint32_t height = get16(head, kHeightOffset);
    const auto pageLines = static_cast<std::uint32_t>(mode.pageSize / mode.bytesPerLine);
    if (width < 1 || width > static_cast<std::uint32_t>(mode.lineWidth) || height < 1 ||
        height > pageLines) {
        return std::nullopt;
    }
    const std::uint64_t packed = packedBytes(width, height, mode.bitsPerPixel);
    const std::uint64_t body = fileSize - kCopyHeaderSize;
    if (body != packed && body != packed + 1) {
        return std::nullopt;
    }
    ScreenLayout layout;
    layout.kind = LayoutKind::copyRectangle;
    layout.fileSize = fileSize;
    layout.dataOffset = kCopyHeaderSize;
    layout.length = static_cast<std::uint32_t>(packed);
    layout.width = static_cast<int>(width);
    layout.height = static_cast<int>(height);
    return layout;
}

ScreenLayout bsave(const BinaryHeader& header, std::uint64_t fileSize) {
    ScreenLayout layout;
    layout.kind = LayoutKind::bsave;
    layout.fileSize = fileSize;
    layout.dataOffset = kBsaveHeaderSize;
    layout.start = header.start;
    layout.headerEnd = header.end;
    // BLOAD stops at the end address; a short file stops earlier.
    layout.length = static_cast<std::uint32_t>(
        std::min<std::uint64_t>(header.dataSize(), fileSize - kBsaveHeaderSize));
    return layout;
}

// "1,234,567"
std::string withCommas(std::uint64_t n) {
    std::string digits = std::to_string(n);
    constexpr std::size_t kGroup = 3;
    for (std::size_t at = digits.size(); at > kGroup; at -= kGroup) {
        digits.insert(at - kGroup, 1, ',');
    }
    return digits;
}

// Four upper-case hex digits.
std::string hex4(std::uint32_t value) {
    constexpr int kDigits = 4;
    constexpr const char* kHex = "0123456789ABCDEF";
    std::string out(kDigits, '0');
    for (int i = kDigits - 1; i >= 0; --i) {
        out[static_cast<std::size_t>(i)] = kHex[value & 0xF];
        value >>= 4;
    }
    return out;
}

// Copies bytes to vram from address `at` on, as far as VRAM reaches.
VramRange copyInto(std::span<const std::uint8_t> bytes, std::span<std::uint8_t, kVramSize> vram,
                   std::uint64_t at) {
    const std::uint64_t first = std::min<std::uint64_t>(at, kVramSize);
    const std::uint64_t n = std::min<std::uint64_t>(bytes.size(), kVramSize - first);
    std::copy_n(bytes.begin(), n, vram.begin() + static_cast<std::ptrdiff_t>(first));
    return {static_cast<std::uint32_t>(first), static_cast<std::uint32_t>(first + n)};
}

// The rectangle's pixels, read bpp bits at a time high bits first, into the page's lines.
VramRange layRectangle(const ScreenLayout& layout, std::span<const std::uint8_t> data,
                       std::span<std::uint8_t, kVramSize> vram, const ScreenModeFacts& mode,
                       std::uint64_t pageBase) {
    const auto bpp = static_cast<std::uint64_t>(mode.bitsPerPixel);
    const auto width = static_cast<std::uint64_t>(layout.width);
    const auto pixels = std::min<std::uint64_t>(width * static_cast<std::uint64_t>(layout.height),
                                                data.size() * kByteBits / bpp);
    const auto mask = static_cast<unsigned>((1U << bpp) - 1);
    std::uint64_t first = kVramSize;
    std::uint64_t end = 0;
    for (std::uint64_t i = 0; i < pixels; ++i) {
        const std::uint64_t from = i * bpp;
        const unsigned value =
            (data[from / kByteBits] >> (kByteBits - bpp - from % kByteBits)) & mask;
        const std::uint64_t bit = (i % width) * bpp;
        const std::uint64_t address = pageBase +
                                      (i / width) * static_cast<std::uint64_t>(mode.bytesPerLine) +
                                      bit / kByteBits;
        if (address >= kVramSize) {
            break; // later pixels lie further on
        }
        const auto shift = static_cast<unsigned>(kByteBits - bpp - bit % kByteBits);
        std::uint8_t& target = vram[address];
        target = static_cast<std::uint8_t>((target & ~(mask << shift)) | value << shift);
        first = std::min(first, address);
        end = address + 1;
    }
    if (end == 0) {
        first = std::min<std::uint64_t>(pageBase, kVramSize);
        end = first;
    }
    return {static_cast<std::uint32_t>(first), static_cast<std::uint32_t>(end)};
}

} // namespace

ScreenLayout detectLayout(std::span<const std::uint8_t> head, std::uint64_t fileSize,
                          const ScreenModeFacts& mode) {
    const std::optional<BinaryHeader> header = binaryHeader(head, fileSize);
    const bool ordered = header && header->end >= header->start;
    const std::uint64_t body = fileSize - kBsaveHeaderSize; // valid with a header
    if (ordered && header->id == kBsaveId && header->dataSize() == body) {
        return bsave(*header, fileSize);
    }
    if (ordered && header->id == kGraphSaurusId &&
        graphSaurusBodyFits(header->start, header->end, body)) {
        ScreenLayout layout;
        layout.kind = LayoutKind::graphSaurus;
        layout.fileSize = fileSize;
        layout.dataOffset = kBsaveHeaderSize;
        layout.length = kGraphSaurusSize;
        return layout;
    }
    if (const std::optional<ScreenLayout> copy = copyRectangle(head, fileSize, mode)) {
        return *copy;
    }
    if (ordered && header->id == kBsaveId && fileSize > kBsaveHeaderSize) {
        return bsave(*header, fileSize);
    }
    ScreenLayout layout;
    layout.fileSize = fileSize;
    layout.length = static_cast<std::uint32_t>(std::min<std::uint64_t>(fileSize, kMaxLaidBytes));
    return layout;
}

std::string describeLayout(const ScreenLayout& layout) {
    switch (layout.kind) {
    case LayoutKind::bsave: {
        std::string text = "BSAVE " + hex4(layout.start) + kEnDash + hex4(layout.headerEnd);
        const std::uint64_t promised = std::uint64_t{layout.headerEnd} - layout.start + 1;
        if (layout.length < promised) {
            text += ", " + withCommas(layout.length) + " of " + withCommas(promised) + " bytes";
        }
        return text;
    }
    case LayoutKind::graphSaurus:
        return "Graph Saurus " + hex4(layout.start) + kEnDash +
               hex4(layout.start + layout.length - 1);
    case LayoutKind::copyRectangle:
        return "COPY " + std::to_string(layout.width) + kTimes + std::to_string(layout.height);
    case LayoutKind::raw:
        break;
    }
    return "raw " + withCommas(layout.fileSize) + " bytes";
}

VramRange layScreenFile(const ScreenLayout& layout, std::span<const std::uint8_t> file,
                        std::span<std::uint8_t, kVramSize> vram, const ScreenModeFacts& mode,
                        std::uint32_t pageBase) {
    const std::uint64_t offset = std::min<std::uint64_t>(layout.dataOffset, file.size());
    const std::uint64_t available = file.size() - offset;
    const std::span<const std::uint8_t> data =
        file.subspan(static_cast<std::size_t>(offset),
                     static_cast<std::size_t>(std::min<std::uint64_t>(available, layout.length)));
    const std::uint64_t at = std::uint64_t{pageBase} + layout.start;
    switch (layout.kind) {
    case LayoutKind::graphSaurus: {
        // The whole stream: its codes make up fewer bytes than they unpack to.
        const std::uint64_t first = std::min<std::uint64_t>(at, kVramSize);
        const std::uint64_t n = std::min<std::uint64_t>(layout.length, kVramSize - first);
        unpackGraphSaurus(
            file.subspan(static_cast<std::size_t>(offset)),
            vram.subspan(static_cast<std::size_t>(first), static_cast<std::size_t>(n)));
        return {static_cast<std::uint32_t>(first), static_cast<std::uint32_t>(first + n)};
    }
    case LayoutKind::copyRectangle:
        return layRectangle(layout, data, vram, mode, at);
    case LayoutKind::bsave:
    case LayoutKind::raw:
        break;
    }
    return copyInto(data, vram, at);
}

} // namespace tessarin
