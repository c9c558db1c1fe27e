#pragma once

#include <string>
#include <string_view>

namespace tessarin {

// Names on MSX disks and in folders are compared without regard to ASCII case; other
// bytes (UTF-8 and all) stay as they are, whatever the locale.

[[nodiscard]] constexpr char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// text with its ASCII letters in lower case.
[[nodiscard]] std::string asciiLower(std::string_view text);

// Whether a and b are equal but for the case of ASCII letters.
[[nodiscard]] bool equalIgnoringAsciiCase(std::string_view a, std::string_view b);

} // namespace tessarin
