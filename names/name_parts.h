#pragma once

#include <string>
#include <string_view>

namespace tessarin {

// The parts of a path the names go by; "/" separates folders, also inside a disk image.

// The name without its directory ("PIC.SC5" of "a/PIC.SC5").
[[nodiscard]] std::string_view fileNameOf(std::string_view path);
// The name without its directory and its last extension ("PIC" of "a/PIC.SC5"); a name
// that starts with its only dot keeps it.
[[nodiscard]] std::string baseNameWithoutExtension(std::string_view path);
// The path without the last extension of its name ("a/PIC" of "a/PIC.SC5").
[[nodiscard]] std::string_view withoutExtension(std::string_view path);

} // namespace tessarin
