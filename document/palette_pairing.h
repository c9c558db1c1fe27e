#pragma once

#include <optional>
#include <span>
#include <string>

namespace tessarin {

// The text with ASCII letters made lower case; other bytes as they are. Base names are
// compared so in pairing.
[[nodiscard]] std::string lowerAscii(std::string s);

// The file name without its directory and its last extension ("PIC" of "a/PIC.SC5");
// a name that starts with its only dot keeps it.
[[nodiscard]] std::string baseNameWithoutExtension(const std::string& path);

// The palette file of screenFile among candidates: a palette file by the file-name rule
// whose base name is the screen file's, ASCII case ignored. Of several, the first in
// file-manager order (compareNatural of the names); the others pair with nothing. Names
// only: browsing passes the files of the screen file's folder, a batch its FILEs.
[[nodiscard]] std::optional<std::string> pairedPalette(const std::string& screenFile,
                                                       std::span<const std::string> candidates);

} // namespace tessarin
