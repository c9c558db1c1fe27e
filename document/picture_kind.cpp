#include "document/picture_kind.h"

#include "document/graph_saurus.h"
#include "document/screen_layout.h"
#include "names/ascii_case.h"
#include "names/file_name_rule.h"
#include "names/name_parts.h"

#include <algorithm>
#include <array>

namespace tessarin {

namespace {

constexpr std::uint8_t kTokenisedBasicId = 0xFF;
constexpr std::uint32_t kRamStart = 0x8000; // a BSAVE from here on saved the CPU's memory
constexpr std::size_t kStartOffset = 1;     // BSAVE start address, 16-bit LE
constexpr std::size_t kEndOffset = 3;       // BSAVE end address (inclusive), 16-bit LE

// End addresses that only one mode's picture has: a BSAVE of screen 2's patterns and
// colours, and of screen 5's page 0 (212 lines, with the palette, or the whole 32 KB).
struct EndMode {
    std::uint32_t end;
    ScreenMode mode;
};
constexpr std::array<EndMode, 6> kEndModes{{
    {0x37FF, ScreenMode::screen2},
    {0x3FFF, ScreenMode::screen2},
    {0x69FF, ScreenMode::screen5},
    {0x6A00, ScreenMode::screen5},
    {0x769F, ScreenMode::screen5},
    {0x7FFF, ScreenMode::screen5},
}};

// Extensions of MSX-DOS programs, which a name alone rules out.
constexpr std::array<std::string_view, 2> kProgramExtensions{"COM", "SYS"};

std::uint32_t get16(std::span<const std::uint8_t> b, std::size_t offset) {
    return static_cast<std::uint32_t>(b[offset]) | static_cast<std::uint32_t>(b[offset + 1]) << 8;
}

// Bytes a text file holds: printable ASCII, tab, line ends, the end-of-file mark.
bool isTextByte(std::uint8_t b) {
    constexpr std::uint8_t kTab = 0x09;
    constexpr std::uint8_t kLineFeed = 0x0A;
    constexpr std::uint8_t kReturn = 0x0D;
    constexpr std::uint8_t kEndOfFile = 0x1A;
    constexpr std::uint8_t kFirstPrintable = 0x20;
    constexpr std::uint8_t kLastPrintable = 0x7E;
    return (b >= kFirstPrintable && b <= kLastPrintable) || b == kTab || b == kLineFeed ||
           b == kReturn || b == kEndOfFile;
}

constexpr PictureKind notPicture(std::string_view reason) {
    return {false, std::nullopt, reason};
}

std::optional<ScreenMode> modeOfEnd(std::uint32_t end) {
    const auto* found = std::ranges::find(kEndModes, end, &EndMode::end);
    return found == kEndModes.end() ? std::nullopt : std::optional(found->mode);
}

} // namespace

std::optional<PictureKind> pictureKindByName(std::string_view name) {
    const FileNameChoice choice = chooseByFileName(name);
    if (choice.slot == FileSlot::palette) {
        return notPicture("palette file, not a picture");
    }
    if (const ScreenExtension* known = screenExtensionOf(name)) {
        const bool shared = std::ranges::any_of(
            kSharedScreenExtensions, [known](std::string_view e) { return e == known->extension; });
        if (shared) {
            return std::nullopt; // another program's file as often as ours: the bytes decide
        }
        return PictureKind{true, known->screenMode, {}};
    }
    const std::string_view file = fileNameOf(name);
    const std::size_t dot = file.rfind('.');
    const std::string_view extension =
        dot == std::string_view::npos ? std::string_view() : file.substr(dot + 1);
    if (std::ranges::any_of(kProgramExtensions, [extension](std::string_view program) {
            return equalIgnoringAsciiCase(program, extension);
        })) {
        return notPicture("MSX-DOS program, not a picture");
    }
    return std::nullopt;
}

PictureKind pictureKind(std::string_view name, std::span<const std::uint8_t> head,
                        std::uint64_t size) {
    if (const std::optional<PictureKind> byName = pictureKindByName(name)) {
        return *byName;
    }
    if (size == 0) {
        return notPicture("empty file, not a picture");
    }
    // No more than the listing reads, so that opening and browsing judge a file alike.
    head = head.first(std::min<std::uint64_t>({head.size(), size, kPictureHeadBytes}));
    if (head.empty()) {
        return notPicture("unread file, not a picture");
    }
    if (head[0] == kTokenisedBasicId) {
        return notPicture("tokenised BASIC program, not a picture");
    }
    const bool hasHeader = head.size() >= kBsaveHeaderSize && size > kBsaveHeaderSize;
    const std::uint32_t start = hasHeader ? get16(head, kStartOffset) : 0;
    const std::uint32_t end = hasHeader ? get16(head, kEndOffset) : 0;
    if (hasHeader && head[0] == kGraphSaurusId && end >= start &&
        end - start == size - kBsaveHeaderSize) {
        return {true, chooseByFileName(name).screenMode, {}};
    }
    if (hasHeader && head[0] == kBsaveId) {
        if (start >= kRamStart) {
            return notPicture("BSAVE of memory, not a picture");
        }
        if (start != 0) {
            return notPicture("BSAVE of part of VRAM, not a picture");
        }
        const std::optional<ScreenMode> mode = modeOfEnd(end);
        return {true, mode ? mode : chooseByFileName(name).screenMode, {}};
    }
    if (std::ranges::all_of(head, isTextByte)) {
        return notPicture("text, not a picture");
    }
    return notPicture("data, not a picture");
}

std::string sizeHint(std::string_view name, std::span<const std::uint8_t> head,
                     std::uint64_t size) {
    const std::optional<ScreenMode> named = chooseByFileName(name).screenMode;
    const ScreenModeFacts* own = named ? findScreenMode(*named) : nullptr;
    if (own == nullptr || own->kind != ModeKind::bitmap) {
        return {};
    }
    std::uint64_t picture = size;
    if (head.size() >= kBsaveHeaderSize && head[0] == kBsaveId && get16(head, kStartOffset) == 0 &&
        get16(head, kEndOffset) + 1 + kBsaveHeaderSize == size) {
        picture = size - kBsaveHeaderSize;
    }
    const auto fullPicture = [](const ScreenModeFacts& m) {
        return static_cast<std::uint64_t>(m.bytesPerLine) * static_cast<std::uint64_t>(m.lines);
    };
    if (fullPicture(*own) == picture) {
        return {};
    }
    std::string fits;
    for (const ScreenModeFacts& m : kScreenModes) {
        if (m.kind == ModeKind::bitmap && m.chip == Chip::v9938 && fullPicture(m) == picture) {
            fits += (fits.empty() ? "bytes fit screen " : " or ") + std::string(m.name);
        }
    }
    return fits;
}

} // namespace tessarin
