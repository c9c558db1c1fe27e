#pragma once

#include "names/file_slot.h"
#include "names/name_parts.h"
#include "vdp/vocabulary.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tessarin {

// What a file name says about its file, in this order:
//   1. a whole extension of kScreenExtensions (any case): a screen file, perhaps a companion;
//   2. a "P" or "p" third from the end: a palette;
//   3. else a VRAM0 file whose last character may name a mode (5-8; A, B: 10; C, S: 12).
// A companion is page 1 of another screen file; by its name alone it is opened like any
// screen file, as VRAM0 in its mode (see NameIndex, which pairs it with its screen file).
struct FileNameChoice {
    FileSlot slot;
    std::optional<ScreenMode> screenMode;
    bool companion = false;

    friend bool operator==(const FileNameChoice&, const FileNameChoice&) = default;
};

// An extension (upper case, without the dot) of screen files, the mode it names, if any,
// and for a companion the extension of the screen file whose page 1 it is.
struct ScreenExtension {
    std::string_view extension;
    std::optional<ScreenMode> screenMode;
    std::string_view pageOneOf;
};

// Every extension of screen files the viewer knows, for the rule, the open dialog's filter
// and the desktop's MIME data. Modes 2-4 are named even where the VDP does not show them.
// clang-format off
inline constexpr std::array<ScreenExtension, 40> kScreenExtensions{{
    {"SC5", 5, ""},  {"SC6", 6, ""},  {"SC7", 7, ""},   {"SC8", 8, ""},  {"SCA", 10, ""},
    {"SCB", 10, ""}, {"SCC", 12, ""}, {"SRS", 12, ""},  {"S12", 12, ""}, {"SRC", 12, ""},
    {"SRA", 10, ""}, {"S10", 10, ""}, {"S11", 10, ""},  {"SR5", 5, ""},  {"SR6", 6, ""},
    {"SR7", 7, ""},  {"SR8", 8, ""},  {"GE5", 5, ""},   {"GE6", 6, ""},  {"GE7", 7, ""},
    {"GE8", 8, ""},  {"SC2", 2, ""},  {"SC3", 3, ""},   {"SC4", 4, ""},  {"GRP", 2, ""},
    {"PIC", std::nullopt, ""},
    // Interlaced pictures: the odd field beside X.SC5 ... X.SCC.
    {"S15", 5, "SC5"}, {"S16", 6, "SC6"}, {"S17", 7, "SC7"}, {"S18", 8, "SC8"},
    {"S1A", 10, "SCA"}, {"S1C", 12, "SCC"},
    // Page pairs: X.Sm1 is page 1 of X.Sm0.
    {"S50", 5, ""}, {"S51", 5, "S50"}, {"S60", 6, ""}, {"S61", 6, "S60"},
    {"S70", 7, ""}, {"S71", 7, "S70"}, {"S80", 8, ""}, {"S81", 8, "S80"},
}};
// clang-format on

// The extensions of palette files, for the filter and the MIME data (the rule itself
// goes by the "P" third from the end).
inline constexpr std::array<std::string_view, 5> kPaletteExtensions{"PL5", "PL6", "PL7", "PL8",
                                                                    "PAL"};

// Names shorter than three characters are VRAM0 files chosen by their last character. A
// directory part is ignored for the whole extension.
[[nodiscard]] FileNameChoice chooseByFileName(std::string_view fileName);

// The largest palette file: 256 bytes, eight copies of the 32-byte table.
inline constexpr std::uint64_t kMaxPaletteFileSize = 256;

// chooseByFileName for a file of size bytes: a file too large to be a palette file is a
// screen file whatever its name says, laid in the mode already chosen.
[[nodiscard]] FileNameChoice chooseByNameAndSize(std::string_view fileName, std::uint64_t size);

// The entry of kScreenExtensions of the name's whole extension (any case), if any.
[[nodiscard]] const ScreenExtension* screenExtensionOf(std::string_view fileName);

} // namespace tessarin
