#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tessarin {

// File-manager order of two names: letters without regard to case, runs of digits by
// their value ("PIC2" before "pic10"); names equal so are ordered by their bytes.
// Negative, zero or positive as a is before, the same as or after b.
[[nodiscard]] int compareNatural(std::string_view a, std::string_view b);

// Browsing a folder (a directory or a disk image, see file_source.h). Its screen files are
// the names the file-name rule gives a screen mode or a screen extension, palette files
// never, and companions (page 1 of another screen file present) not on their own. The
// folder's listing is worked out once while it is unchanged.

// The screen file after (step > 0) or before (step < 0) current among the screen files of
// its folder in natural order. Nothing at either end or when the folder cannot be read.
[[nodiscard]] std::optional<std::string> neighbourScreenFile(const std::string& current, int step);

// Where current stands among the screen files of its folder: its place from 1 and their
// count; nothing when it is not among them.
[[nodiscard]] std::optional<std::pair<int, int>> placeInFolder(const std::string& current);

// The screen files of folder, in browsing order.
[[nodiscard]] std::vector<std::string> screenFilesOf(const std::string& folder);
// The first of them; nothing when there is none.
[[nodiscard]] std::optional<std::string> firstScreenFile(const std::string& folder);

// The palette file beside screenFile that pairedPalette chooses among the files of its
// folder (PIC.PL5 for PIC.SC5); nothing when there is none.
[[nodiscard]] std::optional<std::string> matchingPaletteFile(const std::string& screenFile);

// The companion beside screenFile (X.S17 for X.SC7, X.S71 for X.S70): page 1 of its
// picture; nothing when there is none.
[[nodiscard]] std::optional<std::string> companionFile(const std::string& screenFile);

} // namespace tessarin
