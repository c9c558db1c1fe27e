#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tessarin {

// File-manager order of two names: letters without regard to case, runs of digits by
// their value ("PIC2" before "pic10"); names equal so are ordered by their bytes.
// Negative, zero or positive as a is before, the same as or after b.
[[nodiscard]] int compareNatural(std::string_view a, std::string_view b);

// The screen file after (step > 0) or before (step < 0) current among the files of its
// folder in natural order: only names that the file-name rule gives a screen mode count,
// palette files never. Nothing at either end or when the folder cannot be read.
[[nodiscard]] std::optional<std::string> neighbourScreenFile(const std::string& current, int step);

// The palette file beside screenFile that pairedPalette chooses among the files of its
// folder (PIC.PL5 for PIC.SC5); nothing when there is none.
[[nodiscard]] std::optional<std::string> matchingPaletteFile(const std::string& screenFile);

} // namespace tessarin
