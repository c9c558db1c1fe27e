#pragma once

#include "vdp/vdp_state.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace tessarin {

// The three kinds of file the document loads.
enum class FileSlot : int { vram0 = 0, vram1 = 1, palette = 2 };
inline constexpr std::array<FileSlot, 3> kFileSlots{FileSlot::vram0, FileSlot::vram1,
                                                    FileSlot::palette};

// Position of a VRAM slot in the per-slot arrays of VramMapping.
[[nodiscard]] constexpr std::size_t indexOf(FileSlot slot) {
    return static_cast<std::size_t>(slot);
}

// Output geometry: four sizes, each plain or rotated left.
enum class ViewMode : std::int8_t {
    plain256x212 = 0,
    magnify512x424 = 1,
    interlace512x424 = 2,
    joint256x424 = 3,
    plain256x212Rotated = 4,
    magnify512x424Rotated = 5,
    interlace512x424Rotated = 6,
    joint256x424Rotated = 7,
};

inline constexpr std::int16_t kDefaultHeaderSize = 7; // FEh, start, end, execution address
inline constexpr std::int16_t kDefaultLinePixels = 512;

// How files are laid into VRAM, and where the palette comes from; index 0 is VRAM0,
// 1 is VRAM1. The mapping dialog edits a copy of the whole record.
struct VramMapping {
    std::array<std::int16_t, 2> headerSize{kDefaultHeaderSize, kDefaultHeaderSize};
    std::array<std::int16_t, 2> linePixels{kDefaultLinePixels, kDefaultLinePixels};
    PaletteSource paletteSource = PaletteSource::standard;

    friend bool operator==(const VramMapping&, const VramMapping&) = default;
};

// The files the user opened, how they are laid into the one VDP, and the view.
class ScreenDocument {
public:
    ScreenDocument();

    // Probes the file; a missing, unreadable, non-regular or empty file changes nothing.
    // Otherwise stores the name in the slot and loads it. The result carries no meaning.
    bool openFile(const std::string& fileName, FileSlot slot);
    // Reads the slot's stored file: into VRAM0 (then re-laid by linePixels[0]), VRAM1,
    // or the file palette. Throws FileError when the file cannot be opened or read; after
    // a read error VRAM holds the bytes read before it (and VRAM0 is not re-laid).
    void loadSlot(FileSlot slot);
    // Loads again, in slot order, every slot that has a name.
    void reload();
    // Writes the picture in the geometry of viewMode into the existing file fileName,
    // cut to zero length first; an unknown viewMode leaves it empty. Throws FileError.
    void writeBitmap(const std::string& fileName);

    // Win32 colour value: red in bits 0-7, green 8-15, blue 16-23.
    [[nodiscard]] static std::uint32_t rgbToColor(const RgbTriple& rgb);

    std::unique_ptr<VdpState> vdp;
    std::string vram0FileName;
    std::string vram1FileName;
    std::string paletteFileName;
    VramMapping mapping;
    ViewMode viewMode = ViewMode::plain256x212;
};

} // namespace tessarin
