#pragma once

#include "names/file_name_rule.h"
#include "vdp/vocabulary.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tessarin {

// Why a file is no picture (or, where its name claims one, no palette); none for a picture.
// Only reasonText turns it into words, for the status bar, a batch's notes and -v.
enum class NotPicture : std::uint8_t {
    none,
    emptyFile,
    emptyPalette,
    unreadableFile,
    unreadablePalette,
    unreadFile,
    paletteFile,
    program,
    tokenisedBasic,
    bsaveOfMemory,
    bsaveOfPartOfVram,
    text,
    textPalette,
    data,
    dataPalette,
    place,
    pngPicture,
    jpegPicture,
    unloadablePalette // found beside a picture, but its bytes could not be laid in
};

// "tokenised BASIC program, not a picture", "text, not a palette"; "" for none.
[[nodiscard]] std::string_view reasonText(NotPicture why);

// Whether a file holds a picture, for browsing, batches over folders and disks, and a
// disk's first picture. A file opened by name is laid whatever it holds.
struct PictureKind {
    bool picture = false;
    // A picture's mode, where its name or bytes say it; nothing keeps the mode chosen.
    std::optional<ScreenMode> screenMode;
    // Why a file is no picture; none for one.
    NotPicture reason = NotPicture::none;
    // A palette file by its bytes (and by its name, where the name claims one): never a
    // picture, whatever its name.
    bool palette = false;
    // A picture of a format an import converts (PNG, JPEG), never a screen file.
    bool importable = false;

    friend bool operator==(const PictureKind&, const PictureKind&) = default;
};

// Whether bytes is text: each byte printable ASCII, a tab, a line end or the end-of-file
// mark.
[[nodiscard]] bool isText(std::span<const std::uint8_t> bytes);

// The bytes pictureKind looks at for a picture; fewer do for a shorter file.
inline constexpr std::size_t kPictureHeadBytes = 16;
// The bytes pictureKind looks at in all: a palette file is read whole.
inline constexpr std::size_t kKindHeadBytes = kMaxPaletteFileSize;

// The kind by the name alone, when the name decides for a file of a size that is neither
// empty nor a palette's (see mayBePaletteFile): a whole extension of the screen extensions
// (a picture in its mode), an MSX-DOS program (.COM, .SYS). A name that leaves it to the
// bytes, a palette's name among them, gives nothing.
[[nodiscard]] std::optional<PictureKind> pictureKindByName(std::string_view name);

// Whether a file of size bytes may be a palette file by its bytes (32, 39 or 256 bytes),
// so that a name which decides still leaves it to them.
[[nodiscard]] bool mayBePaletteFile(std::uint64_t size);

// The kind of a file of size bytes whose first bytes are head (kKindHeadBytes are enough).
// Whatever the name: an empty file is no picture, a PNG or JPEG is importable, a palette by its
// bytes (isPaletteByContent) is a palette. A name that claims a palette ("P" third from the end) is
// one when its bytes are a palette file's (isPaletteFile). A name of the screen extensions is a
// picture in its mode. Else only the bytes make a picture: a BSAVE of VRAM from address 0 holding
// data, a Graph Saurus file whose header fits its size, a COPY rectangle, or a raw dump of exactly
// a screen's bytes (text is none). Its mode, and that of a screen extension that names none (.SRI),
// is the one the name's last character gives where the bytes fit it, else the first mode their end
// address or size fits (D3FFh: screen 8, 7, 10 or 12), else the last character's. Anything else is
// no picture: tokenised BASIC (first byte FFh), text, a BSAVE of RAM (from 8000h) or from
// elsewhere, data without a header.
[[nodiscard]] PictureKind pictureKind(std::string_view name, std::span<const std::uint8_t> head,
                                      std::uint64_t size);

// Why a picture is shown in its mode.
enum class ModeWhy : std::uint8_t {
    chosen,  // the user chose it (a menu, --screen)
    name,    // the name gives it: its extension, or its last character where the bytes fit
    bytes,   // the bytes give it where the name gives none or another: their end address or size
    standard // nothing gives one: a new viewer's mode
};

// A screen mode and why.
struct ModeRuling {
    ScreenMode mode = kDefaultScreenMode;
    ModeWhy why = ModeWhy::standard;

    friend bool operator==(const ModeRuling&, const ModeRuling&) = default;
};

// The one mode rule: the mode a screen file is shown in where its name or bytes give one, a
// picture's (pictureKind), else the name's (its extension's or last character's), and which
// of the two gave it. Nothing leaves it to the caller: a new viewer's mode, or the one
// already chosen.
[[nodiscard]] std::optional<ModeRuling>
screenModeOf(std::string_view name, std::span<const std::uint8_t> head, std::uint64_t size);
// The same rule for a file whose kind is already known (a folder's listing found it).
[[nodiscard]] std::optional<ModeRuling> screenModeOf(std::string_view name,
                                                     const PictureKind& kind);

// A hint where the name and the bytes disagree: a file whose picture (raw, or a BSAVE from
// address 0 of exactly its data) is as large as the full picture of other V9938 bitmap
// modes but not of the mode its name gives says which ("bytes fit screen 7 or 8" for a
// .SC5 of 54,272 bytes); the mode still follows the name. Where the name gives no mode and
// the bytes fit several, says which ("bytes fit screen 7, 8, 10 or 12"). Empty otherwise;
// in the mode table's order.
[[nodiscard]] std::vector<ScreenMode>
modesTheBytesFit(std::string_view name, std::span<const std::uint8_t> head, std::uint64_t size);

// What the viewer says of the file it shows: what its bytes are when no picture, or the
// modes they fit where the name's mode is not one of them; nothing for neither.
struct ContentNote {
    NotPicture what = NotPicture::none;
    std::vector<ScreenMode> fits;

    friend bool operator==(const ContentNote&, const ContentNote&) = default;
};

// For the user: "tokenised BASIC program, not a picture", "bytes fit screen 7 or 8",
// "bytes fit screen 7, 8, 10 or 12"; "" for nothing to say.
[[nodiscard]] std::string describe(const ContentNote& note);

} // namespace tessarin
