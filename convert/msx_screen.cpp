#include "convert/msx_screen.h"

#include "convert/msx_encoders.h"
#include "formats/bsave.h"
#include "vdp/palette_entry.h"
#include "vdp/screen_modes.h"
#include "vdp/sprites.h"
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
constexpr std::array<MsxScreenRow, 10> kMsxScreens{{
    {MsxScreen::sc2, ImageFormat::sc2, ScreenMode::screen2},
    {MsxScreen::sc3, ImageFormat::sc3, ScreenMode::screen3},
    {MsxScreen::sc4, ImageFormat::sc4, ScreenMode::screen4},
    {MsxScreen::sc5, ImageFormat::sc5, ScreenMode::screen5},
    {MsxScreen::sc6, ImageFormat::sc6, ScreenMode::screen6},
    {MsxScreen::sc7, ImageFormat::sc7, ScreenMode::screen7},
    {MsxScreen::sc8, ImageFormat::sc8, ScreenMode::screen8},
    // Screens 10 and 11 differ only in how BASIC draws: their VRAM is one.
    {MsxScreen::sc10, ImageFormat::sc10, ScreenMode::screen10},
    {MsxScreen::sc11, ImageFormat::sc11, ScreenMode::screen10},
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

// The VRAM from address 0 of a display page of a bitmap picture: its lines from first on,
// every step-th, then, where it has a palette, the sprite list ended (so that BLOAD shows
// the picture alone) and the palette table.
std::vector<std::uint8_t> pageOf(const BitmapLines& picture, const ScreenModeFacts& facts,
                                 int first, int step) {
    const auto lineBytes = static_cast<std::size_t>(facts.bytesPerLine);
    std::vector<std::uint8_t> vram;
    for (auto at = static_cast<std::size_t>(first) * lineBytes; at < picture.bytes.size();
         at += static_cast<std::size_t>(step) * lineBytes) {
        vram.insert(vram.end(), picture.bytes.begin() + static_cast<std::ptrdiff_t>(at),
                    picture.bytes.begin() + static_cast<std::ptrdiff_t>(at + lineBytes));
    }
    if (picture.palette) {
        vram.resize(facts.paletteTable + kPaletteSize);
        vram.at(facts.spriteAttributes) = spriteListEnd(facts.spriteMode);
        std::ranges::copy(*picture.palette, vram.begin() + facts.paletteTable);
    }
    return vram;
}

BitmapLines encodeBitmap(const ScreenTarget& target, MsxScreen screen, ScreenMode mode) {
    switch (screen) {
    case MsxScreen::sc8:
        return encodeScreen8(target);
    case MsxScreen::sc12:
        return encodeScreen12(target);
    case MsxScreen::sc10:
    case MsxScreen::sc11:
        return encodeScreen10(target);
    default:
        return encodePackedScreen(target, mode);
    }
}

// The even rows from page 0's preview, the odd ones from page 1's.
Picture woven(const Picture& page0, const Picture& page1) {
    Picture picture;
    picture.resize(page0.width(), 2 * page0.height());
    for (int y = 0; y < page0.height(); ++y) {
        std::ranges::copy(page0.row(y), picture.row(2 * y).begin());
        std::ranges::copy(page1.row(y), picture.row(2 * y + 1).begin());
    }
    return picture;
}

} // namespace

std::optional<MsxScreen> msxScreenOf(ImageFormat format) {
    const auto* row = std::ranges::find(kMsxScreens, format, &MsxScreenRow::format);
    return row != kMsxScreens.end() ? std::optional(row->screen) : std::nullopt;
}

ImageFormat formatOf(MsxScreen screen) {
    return std::ranges::find(kMsxScreens, screen, &MsxScreenRow::screen)->format;
}

const char* fileExtensionOf(MsxScreen screen, bool interlace) {
    return interlace && screen == MsxScreen::sc12 ? "scc" : extensionOf(formatOf(screen));
}

ScreenMode screenModeOf(MsxScreen screen) {
    return std::ranges::find(kMsxScreens, screen, &MsxScreenRow::screen)->mode;
}

bool takesLines(MsxScreen screen, int lines) {
    const ScreenModeFacts& facts = *findScreenMode(screenModeOf(screen));
    return lines == facts.lines || (facts.kind == ModeKind::bitmap && lines == kPatternLines);
}

bool takesInterlace(MsxScreen screen) {
    return findScreenMode(screenModeOf(screen))->kind == ModeKind::bitmap;
}

MsxEncoding encodeMsx(const SourceImage& source, MsxScreen screen, const MsxChoices& choices) {
    const ScreenModeFacts& facts = *findScreenMode(screenModeOf(screen));
    const int lines = choices.lines == 0 ? facts.lines : choices.lines;
    if (!takesLines(screen, lines)) {
        throw std::invalid_argument("screen " + std::string(facts.name) + " has no frame of " +
                                    std::to_string(lines) + " lines");
    }
    if (choices.interlace && !takesInterlace(screen)) {
        throw std::invalid_argument("screen " + std::string(facts.name) + " has no interlace");
    }
    // Interlaced, a line is half as tall: its pixels twice as wide for their height.
    const int fields = choices.interlace ? 2 : 1;
    const double pixelAspect = choices.tvAspect * kNarrowWidth / facts.lineWidth * fields;
    FittedFrame frame = fitFrame(source, facts.lineWidth, fields * lines, choices.fit, pixelAspect,
                                 choices.transparent);
    ScreenTarget target;
    target.width = facts.lineWidth;
    target.height = fields * lines;
    target.pixels.reserve(frame.zero.size());
    for (const RgbTriple& p : frame.picture.pixels()) {
        target.pixels.push_back(oklabOf(p));
    }
    target.zero = std::move(frame.zero);
    target.zeroReserved = choices.transparent;
    target.dither = choices.dither;
    target.model = choices.colourModel;
    target.sprites = std::clamp(choices.sprites, 0, kMostScreen2Sprites);
    MsxEncoding encoding;
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
    default: {
        const BitmapLines picture = encodeBitmap(target, screen, facts.mode);
        vram = pageOf(picture, facts, 0, fields);
        if (choices.interlace) {
            const std::vector<std::uint8_t> page1 = pageOf(picture, facts, 1, fields);
            encoding.companion = bsaveFile(
                0, std::span(page1).first(static_cast<std::size_t>(lines) * facts.bytesPerLine));
            encoding.preview = woven(previewOf(vram, facts, lines, choices.colourModel),
                                     previewOf(page1, facts, lines, choices.colourModel));
        }
        break;
    }
    }
    if (!choices.interlace) {
        encoding.preview = previewOf(vram, facts, lines, choices.colourModel);
    }
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
