#pragma once

#include "vdp/vocabulary.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tessarin {

// Whether a file holds a picture, for browsing, batches over folders and disks, and a
// disk's first picture. A file opened by name is laid whatever it holds.
struct PictureKind {
    bool picture = false;
    // A picture's mode, where its name or bytes say it; nothing keeps the mode chosen.
    std::optional<ScreenMode> screenMode;
    // Why a file is no picture ("tokenised BASIC program, not a picture"); empty for one.
    std::string_view reason;

    friend bool operator==(const PictureKind&, const PictureKind&) = default;
};

// Why a file that could not be read, or holds nothing, is no picture.
inline constexpr std::string_view kUnreadableFile = "empty or unreadable file, not a picture";

// The bytes pictureKind looks at; fewer do for a shorter file.
inline constexpr std::size_t kPictureHeadBytes = 16;

// The kind by the name alone, when the name decides: a whole extension of the screen
// extensions (a picture in its mode), a palette file, an MSX-DOS program (.COM, .SYS). A
// name that leaves it to the bytes gives nothing.
[[nodiscard]] std::optional<PictureKind> pictureKindByName(std::string_view name);

// The kind of a file of size bytes whose first bytes are head. When the name does not
// decide, a picture is a BSAVE of VRAM from address 0 holding data, or a Graph Saurus file
// whose header fits its size; its mode is the one its end address gives (37FFh, 3FFFh:
// screen 2; 69FFh, 6A00h, 769Fh, 7FFFh: screen 5), else the one the name's last character
// gives, else none. Anything else is no picture: empty, tokenised BASIC (first byte FFh),
// text, a BSAVE of RAM (from 8000h) or from elsewhere, data without a header.
[[nodiscard]] PictureKind pictureKind(std::string_view name, std::span<const std::uint8_t> head,
                                      std::uint64_t size);

// A hint where the name and the bytes disagree: a file whose picture (raw, or a BSAVE from
// address 0 of exactly its data) is as large as the full picture of other V9938 bitmap
// modes but not of the mode its name gives says which ("bytes fit screen 7 or 8" for a
// .SC5 of 54,272 bytes). Empty otherwise; the mode still follows the name.
[[nodiscard]] std::string sizeHint(std::string_view name, std::span<const std::uint8_t> head,
                                   std::uint64_t size);

} // namespace tessarin
