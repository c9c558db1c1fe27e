#pragma once

#include "vdp/vdp_state.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace tessarin {

// The three kinds of file the document loads.
enum FileSlot : int { fsVram0 = 0, fsVram1 = 1, fsPalette = 2 };

// Output geometry: four sizes, each plain or rotated left.
enum ViewMode : std::int8_t {
    vm256x212 = 0,
    vm512x424mag = 1,
    vm512x424int = 2,
    vm256x424joi = 3,
    vm256x212Rot = 4,
    vm512x424magRot = 5,
    vm512x424intRot = 6,
    vm256x424joiRot = 7,
};

inline constexpr std::int16_t kDefaultHeaderSize = 7; // FEh, start, end, execution address
inline constexpr std::int16_t kDefaultLinePixels = 512;

// How files are laid into VRAM, and where the palette comes from; index 0 is VRAM0,
// 1 is VRAM1. The mapping dialog edits a copy of the whole record.
struct VramMapping {
    std::array<std::int16_t, 2> headerSize{kDefaultHeaderSize, kDefaultHeaderSize};
    std::array<std::int16_t, 2> linePixels{kDefaultLinePixels, kDefaultLinePixels};
    PaletteSource paletteSource = psStandard;

    friend bool operator==(const VramMapping&, const VramMapping&) = default;
};

// The files the user opened, how they are laid into the one VDP, and the view.
class TScreenDocument {
public:
    TScreenDocument();

    // Probes the file; a missing, unreadable, non-regular or empty file changes nothing.
    // Otherwise stores the name in the slot and loads it. The result carries no meaning.
    bool OpenFile(const std::string& fileName, int slot);
    // Reads the slot's stored file: into VRAM0 (then re-laid by linePixels[0]), VRAM1,
    // or the file palette. Throws FileError when the file cannot be opened or read; after
    // a read error VRAM holds the bytes read before it (and VRAM0 is not re-laid).
    void LoadSlot(int slot);
    // Loads again, in slot order, every slot that has a name.
    void Reload();
    // Writes the picture in the geometry of viewMode into the existing file fileName,
    // cut to zero length first; an unknown viewMode leaves it empty. Throws FileError.
    void WriteBitmap(const std::string& fileName);

    // Win32 colour value: red in bits 0-7, green 8-15, blue 16-23.
    [[nodiscard]] static std::uint32_t RgbToColor(const RgbTriple& rgb);

    std::unique_ptr<TVdpState> vdp;
    std::string vram0FileName;
    std::string vram1FileName;
    std::string paletteFileName;
    VramMapping mapping;
    std::int8_t viewMode = vm256x212;
};

} // namespace tessarin
