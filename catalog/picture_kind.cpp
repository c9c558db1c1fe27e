#include "catalog/picture_kind.h"

#include "formats/graph_saurus.h"
#include "formats/palette_shape.h"
#include "formats/screen_layout.h"
#include "image/image_input.h"
#include "names/ascii_case.h"
#include "names/file_name_rule.h"
#include "names/name_parts.h"

#include <algorithm>
#include <array>

namespace tessarin {

namespace {

constexpr std::uint8_t kTokenisedBasicId = 0xFF;
constexpr std::uint32_t kRamStart = 0x8000; // a BSAVE from here on saved the CPU's memory
// A screen 0 BSAVE to the end of WIDTH 80's patterns (WIDTH 40's end at 0FFFh) is of WIDTH 80.
constexpr std::uint32_t kText2End = 0x17FF;

// The modes a BSAVE of VRAM from address 0 fits by its end address, the first chosen; a raw
// dump of one byte more than the end address fits them too: screen 2's patterns and
// colours, screen 5's page 0 (212 lines, with the palette, or the whole 32 KB), which
// screen 6 lays alike; the 212 lines of the 64 KB modes, and screen 7's with its palette.
// Without a palette table 8 is first, with it 7.
struct EndModes {
    std::uint32_t end;
    std::array<ScreenMode, 4> modes;
    std::size_t count;

    [[nodiscard]] std::span<const ScreenMode> fits() const { return std::span(modes).first(count); }
};
constexpr ScreenMode kUnused = ScreenMode::screen2;
constexpr std::array<EndModes, 8> kEndModes{{
    {0x37FF, {ScreenMode::screen2, kUnused, kUnused, kUnused}, 1},
    {0x3FFF, {ScreenMode::screen2, kUnused, kUnused, kUnused}, 1},
    {0x69FF, {ScreenMode::screen5, ScreenMode::screen6, kUnused, kUnused}, 2},
    {0x6A00, {ScreenMode::screen5, ScreenMode::screen6, kUnused, kUnused}, 2},
    {0x769F, {ScreenMode::screen5, ScreenMode::screen6, kUnused, kUnused}, 2},
    {0x7FFF, {ScreenMode::screen5, ScreenMode::screen6, kUnused, kUnused}, 2},
    {0xD3FF,
     {ScreenMode::screen8, ScreenMode::screen7, ScreenMode::screen10, ScreenMode::screen12},
     4},
    {0xFA9F, {ScreenMode::screen7, ScreenMode::screen10, kUnused, kUnused}, 2},
}};

// Extensions of MSX-DOS programs, which a name alone rules out.
constexpr std::array<std::string_view, 2> kProgramExtensions{"COM", "SYS"};

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

// Why a PNG or JPEG, by its signature, is none; none for other bytes.
NotPicture importableReason(std::span<const std::uint8_t> head) {
    const std::string_view format = imageFormatOfBytes(head);
    if (format == "PNG") {
        return NotPicture::pngPicture;
    }
    return format == "JPEG" ? NotPicture::jpegPicture : NotPicture::none;
}

constexpr PictureKind notPicture(NotPicture reason) {
    return {false, std::nullopt, reason};
}

// The header of a BSAVE of VRAM from address 0 holding data, if head is one.
std::optional<BinaryHeader> bsaveFromZero(std::span<const std::uint8_t> head, std::uint64_t size) {
    const std::optional<BinaryHeader> header = readBinaryHeader(head);
    if (size > kBsaveHeaderSize && header && header->id == kBsaveId && header->start == 0) {
        return header;
    }
    return std::nullopt;
}

// The modes the bytes fit by a BSAVE's end address or a raw dump's size; none for others.
std::span<const ScreenMode> modesFitting(std::span<const std::uint8_t> head, std::uint64_t size) {
    const std::optional<BinaryHeader> header = bsaveFromZero(head, size);
    const std::uint64_t end = header ? header->end : size - 1;
    const auto* found = std::ranges::find(kEndModes, end, &EndModes::end);
    return found == kEndModes.end() ? std::span<const ScreenMode>() : found->fits();
}

// The mode the name gives (its extension's, else its last character's) where the bytes fit
// it, else the first they fit.
std::optional<ScreenMode> modeOf(std::string_view name, std::span<const ScreenMode> fits) {
    const std::optional<ScreenMode> named = chooseByFileName(name).screenMode;
    if (fits.empty() || (named && std::ranges::find(fits, *named) != fits.end())) {
        return named;
    }
    return fits.front();
}

// The mode of a COPY rectangle that fits the bytes: the name's, else the first
// bitmap mode whose depth and sizes fit.
std::optional<ScreenMode>
copyRectangleMode(std::string_view name, std::span<const std::uint8_t> head, std::uint64_t size) {
    const auto fits = [&](const ScreenModeFacts& mode) {
        return detectLayout(head, size, mode).kind == LayoutKind::copyRectangle;
    };
    if (const auto named = chooseByFileName(name).screenMode) {
        if (const ScreenModeFacts* facts = findScreenMode(*named); facts && fits(*facts)) {
            return named;
        }
    }
    const auto* found = std::ranges::find_if(kScreenModes, fits);
    return found == kScreenModes.end() ? std::nullopt : std::optional(found->mode);
}

} // namespace

std::string_view reasonText(NotPicture why) {
    switch (why) {
    case NotPicture::none:
        return "";
    case NotPicture::emptyFile:
        return "empty file, not a picture";
    case NotPicture::emptyPalette:
        return "empty file, not a palette";
    case NotPicture::unreadableFile:
        return "empty or unreadable file, not a picture";
    case NotPicture::unreadablePalette:
        return "empty or unreadable file, not a palette";
    case NotPicture::unreadFile:
        return "unread file, not a picture";
    case NotPicture::paletteFile:
        return "palette file, not a picture";
    case NotPicture::program:
        return "MSX-DOS program, not a picture";
    case NotPicture::tokenisedBasic:
        return "tokenised BASIC program, not a picture";
    case NotPicture::bsaveOfMemory:
        return "BSAVE of memory, not a picture";
    case NotPicture::bsaveOfPartOfVram:
        return "BSAVE of part of VRAM, not a picture";
    case NotPicture::text:
        return "text, not a picture";
    case NotPicture::textPalette:
        return "text, not a palette";
    case NotPicture::data:
        return "data, not a picture";
    case NotPicture::dataPalette:
        return "data, not a palette";
    case NotPicture::place:
        return "disk image, tape or archive, not a picture";
    case NotPicture::pngPicture:
        return "PNG picture, not a screen file";
    case NotPicture::jpegPicture:
        return "JPEG picture, not a screen file";
    case NotPicture::unloadablePalette:
        return "no palette";
    }
    return "";
}

bool isText(std::span<const std::uint8_t> bytes) {
    return !bytes.empty() && std::ranges::all_of(bytes, isTextByte);
}

std::optional<PictureKind> pictureKindByName(std::string_view name) {
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
        return notPicture(NotPicture::program);
    }
    return std::nullopt;
}

bool mayBePaletteFile(std::uint64_t size) {
    return size == kPaletteSize || size == kBsaveHeaderSize + kPaletteSize ||
           size == kMaxPaletteFileSize;
}

PictureKind pictureKind(std::string_view name, std::span<const std::uint8_t> head,
                        std::uint64_t size) {
    if (size == 0) {
        return notPicture(chooseByFileName(name).slot == FileSlot::palette
                              ? NotPicture::emptyPalette
                              : NotPicture::emptyFile);
    }
    const std::span<const std::uint8_t> whole =
        head.first(std::min<std::uint64_t>({head.size(), size, kKindHeadBytes}));
    if (const NotPicture reason = importableReason(whole); reason != NotPicture::none) {
        PictureKind kind = notPicture(reason);
        kind.importable = true;
        return kind;
    }
    const bool claimsPalette = chooseByNameAndSize(name, size).slot == FileSlot::palette;
    if (isPaletteByContent(whole, size) || (claimsPalette && isPaletteFile(whole, size))) {
        return {false, std::nullopt, NotPicture::paletteFile, true};
    }
    if (std::optional<PictureKind> byName = pictureKindByName(name)) {
        if (byName->picture && !byName->screenMode) {
            byName->screenMode = modeOf(name, modesFitting(whole, size)); // .SRI
        }
        if (const auto header = bsaveFromZero(whole, size);
            header && byName->screenMode == ScreenMode::screen0 && header->end == kText2End) {
            byName->screenMode = ScreenMode::screen0w80;
        }
        return *byName;
    }
    // No more than the listing reads, so that opening and browsing judge a file alike.
    head = whole.first(std::min(whole.size(), kPictureHeadBytes));
    if (head.empty()) {
        return notPicture(NotPicture::unreadFile);
    }
    if (head[0] == kTokenisedBasicId) {
        return notPicture(NotPicture::tokenisedBasic);
    }
    const std::optional<BinaryHeader> header =
        size > kBsaveHeaderSize ? readBinaryHeader(head) : std::nullopt;
    const bool hasHeader = header.has_value();
    const std::uint32_t start = hasHeader ? header->start : 0;
    const std::uint32_t end = hasHeader ? header->end : 0;
    if (hasHeader && head[0] == kGraphSaurusId &&
        graphSaurusBodyFits(start, end, size - kBsaveHeaderSize)) {
        return {true, chooseByFileName(name).screenMode, {}};
    }
    if (hasHeader && head[0] == kBsaveId) {
        if (start >= kRamStart) {
            return notPicture(NotPicture::bsaveOfMemory);
        }
        if (start != 0) {
            return notPicture(NotPicture::bsaveOfPartOfVram);
        }
        return {true, modeOf(name, modesFitting(head, size)), {}};
    }
    // Without a header, text is text whatever its size.
    if (isText(head)) {
        return notPicture(claimsPalette ? NotPicture::textPalette : NotPicture::text);
    }
    if (const auto copy = copyRectangleMode(name, head, size)) {
        return {true, copy, {}};
    }
    if (const auto raw = modesFitting(head, size); !raw.empty()) {
        return {true, modeOf(name, raw), {}};
    }
    return notPicture(claimsPalette ? NotPicture::dataPalette : NotPicture::data);
}

std::optional<ModeRuling> screenModeOf(std::string_view name, std::span<const std::uint8_t> head,
                                       std::uint64_t size) {
    return screenModeOf(name, pictureKind(name, head, size));
}

std::optional<ModeRuling> screenModeOf(std::string_view name, const PictureKind& kind) {
    const std::optional<ScreenMode> named = chooseByFileName(name).screenMode;
    if (kind.picture && kind.screenMode) {
        return ModeRuling{*kind.screenMode,
                          kind.screenMode == named ? ModeWhy::name : ModeWhy::bytes};
    }
    if (named) {
        return ModeRuling{*named, ModeWhy::name};
    }
    return std::nullopt;
}

namespace {

// fits in the mode table's order.
std::vector<ScreenMode> ordered(std::span<const ScreenMode> fits) {
    std::vector<ScreenMode> listed;
    for (const ScreenModeFacts& m : kScreenModes) {
        if (std::ranges::find(fits, m.mode) != fits.end()) {
            listed.push_back(m.mode);
        }
    }
    return listed;
}

} // namespace

std::vector<ScreenMode> modesTheBytesFit(std::string_view name, std::span<const std::uint8_t> head,
                                         std::uint64_t size) {
    const std::optional<ScreenMode> named = chooseByFileName(name).screenMode;
    if (!named) {
        const std::span<const ScreenMode> fits = modesFitting(head, size);
        return fits.size() < 2 ? std::vector<ScreenMode>() : ordered(fits);
    }
    const ScreenModeFacts* own = findScreenMode(*named);
    if (own == nullptr || own->kind != ModeKind::bitmap) {
        return {};
    }
    std::uint64_t picture = size;
    if (const auto header = bsaveFromZero(head, size);
        header && header->dataSize() + kBsaveHeaderSize == size) {
        picture = size - kBsaveHeaderSize;
    }
    const auto fullPicture = [](const ScreenModeFacts& m) {
        return static_cast<std::uint64_t>(m.bytesPerLine) * static_cast<std::uint64_t>(m.lines);
    };
    if (fullPicture(*own) == picture) {
        return {};
    }
    std::vector<ScreenMode> fits;
    for (const ScreenModeFacts& m : kScreenModes) {
        if (m.kind == ModeKind::bitmap && m.chip == Chip::v9938 && fullPicture(m) == picture) {
            fits.push_back(m.mode);
        }
    }
    return fits;
}

std::string describe(const ContentNote& note) {
    if (note.what != NotPicture::none) {
        return std::string(reasonText(note.what));
    }
    if (note.fits.empty()) {
        return {};
    }
    std::string said = "bytes fit screen ";
    for (std::size_t i = 0; i < note.fits.size(); ++i) {
        said += (i == 0                      ? ""
                 : i + 1 == note.fits.size() ? " or "
                                             : ", ") +
                std::string(findScreenMode(note.fits[i])->name);
    }
    return said;
}

} // namespace tessarin
