#include "vdp/vdp_state.h"

#include "vdp/levels.h"
#include "vdp/tms9918_colours.h"

#include <algorithm>

namespace tessarin {

const PaletteRecord kStandardPalette = {
    0x00, 0x00, 0x00, 0x00, 0x11, 0x06, 0x33, 0x07, 0x17, 0x01, 0x27, 0x03, 0x51, 0x01, 0x27, 0x06,
    0x71, 0x01, 0x73, 0x03, 0x61, 0x06, 0x63, 0x06, 0x11, 0x04, 0x65, 0x02, 0x55, 0x05, 0x77, 0x07,
};

const PaletteRecord kChipResetPalette = {
    0x00, 0x00, 0x00, 0x00, 0x11, 0x06, 0x33, 0x07, 0x17, 0x01, 0x27, 0x03, 0x51, 0x01, 0x27, 0x06,
    0x71, 0x01, 0x73, 0x03, 0x61, 0x06, 0x64, 0x06, 0x11, 0x04, 0x65, 0x02, 0x55, 0x05, 0x77, 0x07,
};

const PaletteRecord& standardPalette(ColourModel model) {
    return model == ColourModel::levels ? kStandardPalette : kChipResetPalette;
}

VdpState::VdpState() : paletteTableAddress_(kModeFacts<kDefaultScreenMode>.paletteTable) {
    refreshColours();
    setScreenMode(kDefaultScreenMode);
    selectPalette(PaletteSource::standard);
}

void VdpState::setScreenMode(ScreenMode mode) {
    if (const ScreenModeFacts* facts = findScreenMode(mode)) {
        screenMode_ = mode;
        modeRow_ = rowOf(mode);
        paletteTableAddress_ = facts->paletteTable;
        SpriteTables tables = spriteTablesOf(mode);
        tables.large = spriteTables_.large;
        tables.magnified = spriteTables_.magnified;
        spriteTables_ = tables;
        if (tessarin::shownColourModel(colourModel_, mode) != shownModel_) {
            refreshColours();
        }
    }
    selectPage(0);
}

void VdpState::setColourModel(ColourModel model) {
    if (indexOf(model) < kColourModelCount) {
        colourModel_ = model;
        refreshColours();
    }
}

void VdpState::refreshColours() {
    shownModel_ = tessarin::shownColourModel(colourModel_, screenMode_);
    const ColourLevels& levels = colourLevels(shownModel_);
    level3_ = levels.level3;
    level5_ = levels.level5;
    computePaletteRgb();
}

void VdpState::selectPage(std::int32_t page) {
    const ScreenModeFacts* facts = findScreenMode(screenMode_);
    if (facts != nullptr && page >= 0 && page < facts->pageCount) {
        displayPage_ = page;
        pageBase_ = page * facts->pageSize;
    }
}

void VdpState::setFilePalette(std::span<const std::uint8_t, kPaletteSize> palette) {
    std::copy(palette.begin(), palette.end(), filePalette_.begin());
}

void VdpState::selectPalette(PaletteSource source) {
    switch (source) {
    case PaletteSource::file:
        activePalette_ = filePalette_;
        break;
    case PaletteSource::vram:
        activePalette_ = vramPalette_;
        break;
    case PaletteSource::standard:
        activePalette_ = standardPalette(colourModel_);
        break;
    case PaletteSource::automatic:
        break; // the document resolves it; here it only recomputes the colours
    }
    computePaletteRgb();
}

void VdpState::computePaletteRgb() {
    if (shownModel_ == ColourModel::msx1) {
        paletteRgb_ = kTms9918Colours; // the TMS9918 has no palette
        return;
    }
    for (int i = 0; i < kPaletteColours; ++i) {
        const PaletteLevels c = levelsOf(activePalette_[2 * i], activePalette_[2 * i + 1]);
        paletteRgb_[i] = RgbTriple{level3_[c.blue], level3_[c.green], level3_[c.red]};
    }
}

bool VdpState::spritesShown() const {
    SpriteLine line{};
    for (int y = 0; y < pictureLinesOf(screenMode_); ++y) {
        if (drawSpriteLine(spriteTables_, vram_, y, line)) {
            return true;
        }
    }
    return false;
}

void VdpState::readVramPalette() {
    std::copy_n(vram_.begin() + paletteTableAddress_, kPaletteSize, vramPalette_.begin());
}

} // namespace tessarin
