#pragma once

#include "document/vocabulary.h"

#include <optional>
#include <string_view>

namespace tessarin {

// What a file name says about its file: a palette when its third character from the
// end is "P" or "p"; otherwise a VRAM0 file whose last character may name a screen mode.
struct FileNameChoice {
    FileSlot slot;
    std::optional<ScreenMode> screenMode;

    friend bool operator==(const FileNameChoice&, const FileNameChoice&) = default;
};

// Names shorter than three characters are VRAM0 files chosen by their last character.
[[nodiscard]] FileNameChoice chooseByFileName(std::string_view fileName);

} // namespace tessarin
