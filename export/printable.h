#pragma once

#include <string>
#include <string_view>

namespace tessarin::exporter {

// text as shown on a terminal: control characters escaped C-like ("\e", "\n", "\x7f"), so
// that no file name can set the terminal's title or colours. Those are the bytes below 0x20
// and 0x7F, and the C1 controls however they come: as UTF-8 (0xC2 0x80..0x9F), or as raw
// bytes 0x80..0x9F outside a valid UTF-8 sequence, which a terminal reading 8-bit codes obeys.
// Everything else as it is.
[[nodiscard]] std::string printable(std::string_view text);

// Whether a C1 control in UTF-8 (0xC2 0x80..0x9F) starts at text[at].
[[nodiscard]] bool isUtf8C1At(std::string_view text, std::size_t at);

} // namespace tessarin::exporter
