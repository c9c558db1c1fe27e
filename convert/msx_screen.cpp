#include "convert/msx_screen.h"

#include "convert/msx_encoders.h"
#include "formats/bsave.h"
#include "vdp/palette_entry.h"
#include "vdp/screen_modes.h"
#include "vdp/vdp_state.h"

#include <algorithm>
#include <array>
#include <memory>
#include <stdexcept>
#include <string>

namespace tessarin {

namespace {

// Each screen written: the format that names it and the mode it is.
struct MsxScreenRow {
    MsxScreen screen;
    ImageFormat format;
    ScreenMode mode;
};
constexpr std::array<MsxScreenRow, 8> kMsxScreens{{
    {MsxScreen::sc2, ImageFormat::sc2, ScreenMode::screen2},
    {MsxScreen::sc3, ImageFormat::sc3, ScreenMode::screen3},
    {MsxScreen::sc4, ImageFormat::sc4, ScreenMode::screen4},
    {MsxScreen::sc5, ImageFormat::sc5, ScreenMode::screen5},
    {MsxScreen::sc6, ImageFormat::sc6, ScreenMode::screen6},
    {MsxScreen::sc7, ImageFormat::sc7, ScreenMode::screen7},
    {MsxScreen::sc8, ImageFormat::sc8, ScreenMode::screen8},
    {MsxScreen::sc12, ImageFormat::sc12, ScreenMode::screen12},
}};

// The first lines of the VRAM's picture as the VDP shows it, through the decoders the
// viewer uses. Screen 2's sprites are drawn, at the size its files are shown at.
Picture previewOf(const std::vector<std::uint8_t>& vram, const ScreenModeFacts& facts, int lines,
                  ColourModel model) {
    auto vdp = std::make_unique<VdpState>();
    vdp->setColourModel(model);
    vdp->setScreenMode(facts.mode);
    if (facts.mode == ScreenMode::screen2) {
        SpriteTables sprites = vdp->spriteTables();
        sprites.large = kScreen2LargeSprites;
        vdp->setSpriteTables(sprites);
        vdp->setSpritesDrawn(true);
    }
    std::ranges::copy(vram, vdp->vramForLoading().begin());
    if (facts.usesPalette()) {
        vdp->readVramPalette();
        vdp->selectPalette(PaletteSource::vram);
    }
    Picture preview;
    preview.resize(facts.lineWidth, lines);
    for (int y = 0; y < lines; ++y) {
        if (facts.lineWidth == kWideWidth) {
            vdp->renderLine512(y, RgbRow512(preview.row(y).data(), kWideWidth));
        } else {
            vdp->renderLine256(y, RgbRow256(preview.row(y).data(), kNarrowWidth));
        }
    }
    return preview;
}

} // namespace

std::optional<MsxScreen> msxScreenOf(ImageFormat format) {
    const auto* row = std::ranges::find(kMsxScreens, format, &MsxScreenRow::format);
    return row != kMsxScreens.end() ? std::optional(row->screen) : std::nullopt;
}

ScreenMode screenModeOf(MsxScreen screen) {
    return std::ranges::find(kMsxScreens, screen, &MsxScreenRow::screen)->mode;
}

bool takesLines(MsxScreen screen, int lines) {
    const ScreenModeFacts& facts = *findScreenMode(screenModeOf(screen));
    return lines == facts.lines || (facts.kind == ModeKind::bitmap && lines == kPatternLines);
}

MsxEncoding encodeMsx(const SourceImage& source, MsxScreen screen, const MsxChoices& choices) {
    const ScreenModeFacts& facts = *findScreenMode(screenModeOf(screen));
    const int lines = choices.lines == 0 ? facts.lines : choices.lines;
    if (!takesLines(screen, lines)) {
        throw std::invalid_argument("screen " + std::string(facts.name) + " has no frame of " +
                                    std::to_string(lines) + " lines");
    }
    const double pixelAspect = choices.tvAspect * kNarrowWidth / facts.lineWidth;
    FittedFrame frame =
        fitFrame(source, facts.lineWidth, lines, choices.fit, pixelAspect, choices.transparent);
    ScreenTarget target;
    target.width = facts.lineWidth;
    target.height = lines;
    target.pixels.reserve(frame.zero.size());
    for (const RgbTriple& p : frame.picture.pixels()) {
        target.pixels.push_back(oklabOf(p));
    }
    target.zero = std::move(frame.zero);
    target.zeroReserved = choices.transparent;
    target.dither = choices.dither;
    target.model = choices.colourModel;
    target.sprites = std::clamp(choices.sprites, 0, kMostScreen2Sprites);
    std::vector<std::uint8_t> vram;
    switch (screen) {
    case MsxScreen::sc2:
        vram = encodeScreen2(target);
        break;
    case MsxScreen::sc3:
        vram = encodeScreen3(target);
        break;
    case MsxScreen::sc4:
        vram = encodeScreen4(target);
        break;
    case MsxScreen::sc5:
    case MsxScreen::sc6:
    case MsxScreen::sc7:
        vram = encodePackedScreen(target, facts.mode);
        break;
    case MsxScreen::sc8:
        vram = encodeScreen8(target);
        break;
    case MsxScreen::sc12:
        vram = encodeScreen12(target);
        break;
    }
    MsxEncoding encoding;
    encoding.preview = previewOf(vram, facts, lines, choices.colourModel);
    encoding.file = bsaveFile(0, vram);
    encoding.fitted = std::move(frame.picture);
    return encoding;
}

Lab latticeColour(int red, int green, int blue, ColourModel model) {
    const auto& level3 = colourLevels(model).level3;
    return oklabOf(RgbTriple{level3[blue], level3[green], level3[red]});
}

Lab entryColour(const PaletteRecord& palette, int i, ColourModel model) {
    const PaletteLevels c = levelsOf(palette[2 * i], palette[2 * i + 1]);
    return latticeColour(c.red, c.green, c.blue, model);
}

} // namespace tessarin
