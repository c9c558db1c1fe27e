#pragma once

#include "vdp/colour_model.h"
#include "vdp/palette_entry.h"
#include "vdp/rgb.h"
#include "vdp/screen_modes.h"
#include "vdp/sprites.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace tessarin {

inline constexpr std::size_t kVramSize = 0x20000;     // 128 KB, addresses 0x00000..0x1FFFF
inline constexpr std::size_t kVramHalfSize = 0x10000; // VRAM0 and VRAM1
inline constexpr std::size_t kPaletteSize = 32;       // 16 entries of two bytes
inline constexpr int kPaletteColours = 16;
inline constexpr int kPictureLines = kBitmapLines; // the most lines of any page

// 16 entries, colour 0 first, two bytes each (vdp/palette_entry.h).
using PaletteRecord = std::array<std::uint8_t, kPaletteSize>;

// The emulated VDP: one flat record with the VRAM inside it.
class VdpState {
public:
    // vram all zero, file levels, colour tables filled, screen 7 page 0, standard palette
    // active.
    VdpState();

    // A mode of kScreenModes sets the mode and palette table address; any other is
    // ignored. Page 0 is selected in every case.
    void setScreenMode(ScreenMode mode);
    // Pages below the mode's page count (4 in screens 5 and 6, else 2); any other is ignored.
    void selectPage(std::int32_t page);
    // Stores the palette of a palette file; the active colours change only at selectPalette.
    void setFilePalette(std::span<const std::uint8_t, kPaletteSize> palette);
    // Copies the chosen source into activePalette, then always recomputes paletteRgb;
    // automatic (the document's rule) only recomputes the colours. The standard palette
    // is the colour model's own.
    void selectPalette(PaletteSource source);
    // Copies the 32 bytes at paletteTableAddress (absolute, not page-relative).
    void readVramPalette();
    // Recomputes every colour table for model; activePalette keeps its bytes (select the
    // standard palette again for the model's own). A value outside ColourModel is ignored.
    void setColourModel(ColourModel model);
    // The model chosen by setColourModel.
    [[nodiscard]] ColourModel colourModel() const { return colourModel_; }
    // The model whose colours the current mode shows: colourModel(), except msx2plus for
    // msx2 in the modes only the V9958 has.
    [[nodiscard]] ColourModel shownColourModel() const { return shownModel_; }

    // The sprite registers; a mode change sets the tables' addresses as SCREEN n does and
    // keeps the size and magnification.
    void setSpriteTables(const SpriteTables& tables) { spriteTables_ = tables; }
    [[nodiscard]] const SpriteTables& spriteTables() const { return spriteTables_; }
    // Whether the output draws the sprites over the picture (not at first).
    void setSpritesDrawn(bool drawn) { spritesDrawn_ = drawn; }
    [[nodiscard]] bool spritesDrawn() const { return spritesDrawn_; }
    // Whether any sprite shows on a line of the mode's page, drawn or not.
    [[nodiscard]] bool spritesShown() const;

    // --- Output in the current mode, of the display page last selected, line y at most 255.
    void renderLine256(int y, RgbRow256 out) const;
    void renderLine512(int y, RgbRow512 out) const;

    // Re-lays the packed data from VRAM address 0, n pixels per line, into the
    // 212 lines of the current bitmap mode, in place. n at or above the line width,
    // or a pattern mode, leaves VRAM unchanged; n <= 0 clears the 212 lines.
    void remapLinePixels(int n);

    // --- The state, read through its operations. Only the VRAM is written from outside:
    // files are loaded into it.
    [[nodiscard]] ScreenMode screenMode() const { return screenMode_; }
    [[nodiscard]] std::int32_t displayPage() const { return displayPage_; }
    // The display page's first VRAM address.
    [[nodiscard]] std::int32_t pageBase() const { return pageBase_; }
    // The current mode's palette table, an absolute VRAM address.
    [[nodiscard]] std::uint32_t paletteTableAddress() const { return paletteTableAddress_; }
    [[nodiscard]] const PaletteRecord& filePalette() const { return filePalette_; }
    // The table as readVramPalette last copied it.
    [[nodiscard]] const PaletteRecord& vramPalette() const { return vramPalette_; }
    [[nodiscard]] const PaletteRecord& activePalette() const { return activePalette_; }
    // activePalette's 16 colours at the shown model's levels.
    [[nodiscard]] const std::array<RgbTriple, kPaletteColours>& paletteRgb() const {
        return paletteRgb_;
    }
    // The shown model's 3-bit and 5-bit levels.
    [[nodiscard]] const std::array<std::uint8_t, 8>& level3() const { return level3_; }
    [[nodiscard]] const std::array<std::uint8_t, 32>& level5() const { return level5_; }
    [[nodiscard]] const std::array<std::uint8_t, kVramSize>& vram() const { return vram_; }
    // The VRAM to load files into.
    [[nodiscard]] std::span<std::uint8_t, kVramSize> vramForLoading() { return vram_; }

private:
    // The tables and paletteRgb for the model the current mode shows.
    void refreshColours();
    void computePaletteRgb();
    [[nodiscard]] const std::uint8_t* lineStart(int y, int bytesPerLine) const;
    // Line y of Mode into a row Width pixels wide: each pixel twice when the mode's line
    // is narrower, every other pixel when it is wider.
    template <ScreenMode Mode, std::size_t Width>
    void decodeLine(int y, std::span<RgbTriple, Width> out) const;
    // Line y of a pattern mode shown by decoder Coding into a row of Width pixels (256, or
    // 512 with each twice).
    template <Decoder Coding, std::size_t Width>
    void decodePatternLine(int y, std::span<RgbTriple, Width> out) const;
    // Line y of text mode Mode (screen 0 at 40 or 80 columns) into a row of Width pixels.
    template <ScreenMode Mode, std::size_t Width>
    void decodeTextLine(int y, std::span<RgbTriple, Width> out) const;
    // Line y's sprites drawn over out (vdp/sprites.cpp), in the current mode's colours.
    template <std::size_t Width> void overlaySprites(int y, std::span<RgbTriple, Width> out) const;
    // Line y in the current mode, by its row's decoder.
    template <std::size_t Width> void renderLine(int y, std::span<RgbTriple, Width> out) const;

    ScreenMode screenMode_ = kDefaultScreenMode;
    std::size_t modeRow_ = rowOf(kDefaultScreenMode); // screenMode_'s row of kScreenModes
    std::int32_t displayPage_ = 0;
    std::int32_t pageBase_ = 0;
    std::uint32_t paletteTableAddress_;
    PaletteRecord filePalette_{};
    PaletteRecord vramPalette_{};
    std::array<std::uint8_t, 8> level3_{};
    std::array<std::uint8_t, 32> level5_{};
    std::array<RgbTriple, kPaletteColours> paletteRgb_{};
    PaletteRecord activePalette_{};
    std::array<std::uint8_t, kVramSize> vram_{};
    ColourModel colourModel_ = ColourModel::levels;
    ColourModel shownModel_ = ColourModel::levels;
    SpriteTables spriteTables_ = spriteTablesOf(kDefaultScreenMode);
    bool spritesDrawn_ = false;
};

// The standard palette of the file levels.
extern const PaletteRecord kStandardPalette;
// The palette the V9938 and V9958 take at reset: colour 11 has blue 4, not 3.
extern const PaletteRecord kChipResetPalette;

// The standard palette under model.
[[nodiscard]] const PaletteRecord& standardPalette(ColourModel model);

} // namespace tessarin
