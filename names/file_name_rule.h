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
inline constexpr std::array<ScreenExtension, 56> kScreenExtensions{{
    {"SC5", ScreenMode::screen5, ""},      {"SC6", ScreenMode::screen6, ""},
    {"SC7", ScreenMode::screen7, ""},      {"SC8", ScreenMode::screen8, ""},
    {"SCA", ScreenMode::screen10, ""},     {"SCB", ScreenMode::screen10, ""},
    {"SCC", ScreenMode::screen12, ""},     {"SRS", ScreenMode::screen12, ""},
    {"S12", ScreenMode::screen12, ""},     {"SRC", ScreenMode::screen12, ""},
    {"SRA", ScreenMode::screen10, ""},     {"S10", ScreenMode::screen10, ""},
    {"S11", ScreenMode::screen10, ""},     {"SR5", ScreenMode::screen5, ""},
    {"SR6", ScreenMode::screen6, ""},      {"SR7", ScreenMode::screen7, ""},
    {"SR8", ScreenMode::screen8, ""},      {"GE5", ScreenMode::screen5, ""},
    {"GE6", ScreenMode::screen6, ""},      {"GE7", ScreenMode::screen7, ""},
    {"GE8", ScreenMode::screen8, ""},      {"SC2", ScreenMode::screen2, ""},
    {"SC3", ScreenMode::screen3, ""},      {"SC4", ScreenMode::screen4, ""},
    {"GRP", ScreenMode::screen2, ""},      {"SC12", ScreenMode::screen12, ""},
    // The text screens (SCREEN 0 at WIDTH 40; WIDTH 80 is chosen by hand).
    {"SC0", ScreenMode::screen0, ""},      {"SC1", ScreenMode::screen1, ""},
    // Screens 2-8 in the Sm0 spelling of the page pairs below.
    {"S02", ScreenMode::screen2, ""},      {"S03", ScreenMode::screen3, ""},
    {"S04", ScreenMode::screen4, ""},      {"S05", ScreenMode::screen5, ""},
    {"S06", ScreenMode::screen6, ""},      {"S07", ScreenMode::screen7, ""},
    {"S08", ScreenMode::screen8, ""},
    {"PIC", std::nullopt, ""},
    // Graph Saurus's MSX1 screens, and its interlaced pictures, whose mode their bytes give.
    {"SR2", ScreenMode::screen2, ""},      {"SR3", ScreenMode::screen3, ""},
    {"SR4", ScreenMode::screen4, ""},      {"SRI", std::nullopt, ""},
    {"YJK", ScreenMode::screen12, ""},
    // Interlaced pictures: the odd field beside X.SC5 ... X.SCC.
    {"S15", ScreenMode::screen5, "SC5"},   {"S16", ScreenMode::screen6, "SC6"},
    {"S17", ScreenMode::screen7, "SC7"},   {"S18", ScreenMode::screen8, "SC8"},
    {"S1A", ScreenMode::screen10, "SCA"},  {"S1B", ScreenMode::screen10, "SCB"},
    {"S1C", ScreenMode::screen12, "SCC"},
    // Page pairs: X.Sm1 is page 1 of X.Sm0.
    {"S50", ScreenMode::screen5, ""},      {"S51", ScreenMode::screen5, "S50"},
    {"S60", ScreenMode::screen6, ""},      {"S61", ScreenMode::screen6, "S60"},
    {"S70", ScreenMode::screen7, ""},      {"S71", ScreenMode::screen7, "S70"},
    {"S80", ScreenMode::screen8, ""},      {"S81", ScreenMode::screen8, "S80"},
}};
// clang-format on

// The extensions of palette files, for the filter and the MIME data (the rule itself
// goes by the "P" third from the end).
inline constexpr std::array<std::string_view, 8> kPaletteExtensions{"PL5", "PL6", "PL7", "PL8",
                                                                    "PLA", "PLB", "PLC", "PAL"};

// Screen extensions that other programs' files have too (a .PIC image, a .SRC source, a
// .GRP program group): their files are pictures by their bytes, not by the name, for
// browsing, batches over disks, thumbnails and the desktop's MIME data.
inline constexpr std::array<std::string_view, 3> kSharedScreenExtensions{"PIC", "SRC", "GRP"};

// Names shorter than three characters are VRAM0 files chosen by their last character. A
// directory part is ignored for the whole extension.
[[nodiscard]] FileNameChoice chooseByFileName(std::string_view fileName);

// The largest palette file: 256 bytes, eight copies of the 32-byte table.
inline constexpr std::uint64_t kMaxPaletteFileSize = 256;

// chooseByFileName for a file of size bytes: a file too large to be a palette file is a
// screen file whatever its name says, laid in the mode already chosen.
[[nodiscard]] FileNameChoice chooseByNameAndSize(std::string_view fileName, std::uint64_t size);

// The mode the name's last character names (5-8; A, B: 10; C, S: 12), if any: for a
// palette file (X.PL7), the mode it was saved for.
[[nodiscard]] std::optional<ScreenMode> screenModeOfLastCharacter(std::string_view fileName);

// The entry of kScreenExtensions of the name's whole extension (any case), if any.
[[nodiscard]] const ScreenExtension* screenExtensionOf(std::string_view fileName);

// The name beside screenFile that page 1 of its picture is written under, so that it is
// paired with it: X.S17 for X.SC7, x.s17 for x.sc7 (the case of its extension's letters);
// nothing when no companion pairs with the extension (X.SC12).
[[nodiscard]] std::optional<std::string> companionNameOf(std::string_view screenFile);

} // namespace tessarin
