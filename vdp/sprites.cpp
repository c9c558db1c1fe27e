#include "vdp/sprites.h"

namespace tessarin {

namespace {

constexpr int kSprites = 32;
constexpr std::uint32_t kAttributeBytes = 4; // Y, X, pattern, colour (mode 1)
constexpr std::uint32_t kXByte = 1;
constexpr std::uint32_t kPatternByte = 2;
constexpr std::uint32_t kColourByte = 3;
constexpr int kYWrap = 0xFF; // Y counts modulo 256: 255 is the line above line 0
constexpr std::uint32_t kColourTableBefore = 512;
constexpr std::uint32_t kColourBytes = 16; // a sprite's colour table: one byte a line
constexpr int kEarlyClockShift = 32;
constexpr std::uint8_t kEarlyClock = 0x80;
constexpr std::uint8_t kCombine = 0x40; // CC
constexpr std::uint8_t kColourBits = 0x0F;
constexpr std::uint8_t kLargeNumberMask = 0xFC;
constexpr int kPatternSide = 8;
constexpr std::uint32_t kRightHalf = 16; // a 16x16 pattern's right column, past its left one
constexpr int kMode1PerLine = 4;
constexpr int kMode2PerLine = 8;
constexpr int kNoGroup = -1;

// A sprite the line shows: where, its 16 pattern bits of the line (left first), colour.
struct LineSprite {
    int x;
    std::uint16_t bits;
    std::uint8_t colour;
    bool combine;
};

// Addresses past the VRAM's end wrap, as the VDP's counters do.
std::uint8_t at(std::span<const std::uint8_t> vram, std::uint32_t address) {
    return vram[address % vram.size()];
}

// The shape the registers give every sprite.
struct SpriteShape {
    int scale; // 2 when magnified
    int side;  // pixels across and lines down
};

SpriteShape shapeOf(const SpriteTables& tables) {
    const int scale = tables.magnified ? 2 : 1;
    return {scale, (tables.large ? 2 * kPatternSide : kPatternSide) * scale};
}

// The sprites line y shows, in number order: up to the list's end and the line's limit.
struct LineSprites {
    std::array<LineSprite, kMode2PerLine> sprites{};
    int count = 0;
};

LineSprites spritesOnLine(const SpriteTables& tables, std::span<const std::uint8_t> vram, int y) {
    const bool mode2 = tables.mode == SpriteMode::mode2;
    const SpriteShape shape = shapeOf(tables);
    const int perLine = mode2 ? kMode2PerLine : kMode1PerLine;
    LineSprites line;
    for (int n = 0; n < kSprites && tables.mode != SpriteMode::none; ++n) {
        const std::uint32_t entry =
            tables.attributes + static_cast<std::uint32_t>(n) * kAttributeBytes;
        const std::uint8_t top = at(vram, entry);
        if (top == spriteListEnd(tables.mode)) {
            break;
        }
        const int row = (y - top - 1) & kYWrap;
        if (row >= shape.side) {
            continue;
        }
        if (line.count == perLine) {
            break; // the fifth (ninth) sprite of a line and those after it are not drawn
        }
        const int patternRow = row / shape.scale;
        const std::uint8_t colour =
            mode2 ? at(vram, tables.attributes - kColourTableBefore +
                                 static_cast<std::uint32_t>(n) * kColourBytes +
                                 static_cast<std::uint32_t>(patternRow))
                  : at(vram, entry + kColourByte);
        std::uint8_t number = at(vram, entry + kPatternByte);
        if (tables.large) {
            number &= kLargeNumberMask;
        }
        const std::uint32_t pattern = tables.patterns +
                                      static_cast<std::uint32_t>(number) * kPatternSide +
                                      static_cast<std::uint32_t>(patternRow);
        const auto left = static_cast<std::uint16_t>(at(vram, pattern) << kPatternSide);
        const auto right = tables.large ? at(vram, pattern + kRightHalf) : std::uint8_t{0};
        line.sprites[static_cast<std::size_t>(line.count++)] = LineSprite{
            at(vram, entry + kXByte) - ((colour & kEarlyClock) != 0 ? kEarlyClockShift : 0),
            static_cast<std::uint16_t>(left | right),
            static_cast<std::uint8_t>(colour & kColourBits), mode2 && (colour & kCombine) != 0};
    }
    return line;
}

} // namespace

SpriteTables spriteTablesOf(ScreenMode mode) {
    const ScreenModeFacts* facts = findScreenMode(mode);
    if (facts == nullptr) {
        facts = &kModeFacts<kDefaultScreenMode>;
    }
    SpriteTables tables;
    tables.mode = facts->spriteMode;
    tables.attributes = facts->spriteAttributes;
    tables.patterns = facts->spritePatterns;
    return tables;
}

bool drawSpriteLine(const SpriteTables& tables, std::span<const std::uint8_t> vram, int y,
                    SpriteLine& out) {
    out.fill(0);
    const SpriteShape shape = shapeOf(tables);
    const LineSprites line = spritesOnLine(tables, vram, y);
    // Each position belongs to the first sprite, in number order, that shows there; in
    // mode 2 a sprite with CC set belongs with the sprite before it without CC (a CC
    // sprite before any such is not shown) and ORs its colour into their positions.
    std::array<int, kSpritePositions> owner{};
    owner.fill(kNoGroup);
    int group = kNoGroup;
    bool any = false;
    for (int i = 0; i < line.count; ++i) {
        const LineSprite& s = line.sprites[static_cast<std::size_t>(i)];
        if (!s.combine) {
            group = i;
        }
        if (group == kNoGroup || s.colour == 0) {
            continue;
        }
        for (int p = 0; p < shape.side; ++p) {
            const int x = s.x + p;
            const bool set = ((s.bits >> (2 * kPatternSide - 1 - p / shape.scale)) & 1U) != 0;
            if (!set || x < 0 || x >= static_cast<int>(kSpritePositions)) {
                continue;
            }
            const auto position = static_cast<std::size_t>(x);
            if (owner[position] == kNoGroup) {
                owner[position] = group;
                out[position] = s.colour;
                any = true;
            } else if (owner[position] == group && s.combine) {
                out[position] |= s.colour;
            }
        }
    }
    return any;
}

} // namespace tessarin
