#pragma once

#include "names/file_slot.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tessarin {

// A file by its name, and the slot the name rule (with its size, where known) gives it.
struct NamedFile {
    std::string name; // a path, or the name inside a disk image
    FileSlot slot = FileSlot::vram0;
};

// The files of one folder, or of a batch's FILEs, as the names pair them: a screen file
// with its companion (page 1 of its picture: X.S17 beside X.SC7, X.S71 beside X.S70) and
// with its palette file (PIC.PL5 beside PIC.SC5). Names are compared without regard to
// ASCII case. Worked out once: a folder may hold 100,000 files.
class NameIndex {
public:
    explicit NameIndex(std::vector<NamedFile> files);

    [[nodiscard]] const std::vector<NamedFile>& files() const { return files_; }

    // The companion of screenFile among the files: beside it (the same path but for the
    // extension) with the extension whose page 1 it is. Nothing when there is none.
    [[nodiscard]] std::optional<std::string> companionOf(std::string_view screenFile) const;

    // True when file is a companion whose screen file is among the files: it is shown with
    // that file, never on its own.
    [[nodiscard]] bool isShownWithItsScreen(std::string_view file) const;

    // The palette file of screenFile: a palette among the files whose base name is the
    // screen file's (its folder aside); of several, the one saved for the screen file's own
    // mode (X.PL7 for X.SR7 and X.SC7), else the first in file-manager order. Nothing when
    // there is none.
    [[nodiscard]] std::optional<std::string> paletteOf(std::string_view screenFile) const;

private:
    std::vector<NamedFile> files_;
    std::unordered_map<std::string, std::size_t> byPath_; // folded path -> file
    // folded base name -> its palettes, in file-manager order
    std::unordered_map<std::string, std::vector<std::size_t>> palettesByBase_;
};

} // namespace tessarin
