#include "vdp/colour_model.h"
#include "vdp/levels.h"
#include "vdp/pixel_words.h"
#include "vdp/vdp_state.h"

#include <algorithm>
#include <climits>
#include <limits>
#include <utility>

namespace tessarin {

namespace {

// The four Y fields and the raw (not sign-converted) J and K of a YJK group.
struct YjkGroup {
    std::uint8_t y0, y1, y2, y3;
    std::uint8_t j, k;
};

constexpr int kYjkMax = kMaxLevel5; // each YJK channel is a 5-bit level
constexpr int kSixBitSign = 32;     // raw J and K of 32..63 are -32..-1
constexpr int kGroupPixels = 4;

// Every mode's line fits a row: decodeLine doubles or halves it to the row's width.
static_assert(std::ranges::all_of(kScreenModes, [](const ScreenModeFacts& facts) {
    return facts.lineWidth == kNarrowWidth || facts.lineWidth == kWideWidth;
}));

// Without a branch: random J and K defeat branch prediction. The pixel operations clamp
// with it, and the line decoders' tables are made with it.
constexpr int clampYjk(int v) {
    constexpr int kSignShift = std::numeric_limits<int>::digits; // all ones when negative
    v &= ~(v >> kSignShift);                                     // below 0: 0
    const int over = (kYjkMax - v) >> kSignShift;                // above kYjkMax: all ones
    return (v & ~over) | (kYjkMax & over);
}

// Without a branch: J and K of random-looking pictures defeat branch prediction.
constexpr int signExtendSixBits(int v) {
    return (v ^ kSixBitSign) - kSixBitSign;
}

// The per-pixel and per-group helpers below are forced into the line decoders:
// instrumented builds would otherwise keep them as calls, each with its own entry checks.

// Blue is (kBlueY Y - kBlueJ J - K + rounding) / kBlueDivisor, the rounding of the colour
// model (0 truncates, 2 rounds to nearest).
constexpr int kBlueY = 5;
constexpr int kBlueJ = 2;
constexpr int kBlueDivisor = 4;

// Blue's level from its numerator 5Y - 2J - K. The division truncates toward 0; a rounded
// numerator below 0 is then floor((n + 2) / 4) all the same, since both clamp to 0.
constexpr int yjkBlue(int numerator, int rounding) {
    return clampYjk((numerator + rounding) / kBlueDivisor);
}

std::uint8_t yField(std::uint8_t b) {
    return static_cast<std::uint8_t>(b >> 3);
}

// Byte 0 carries K bits 2-0, byte 1 K bits 5-3, byte 2 J bits 2-0, byte 3 J bits 5-3.
[[gnu::always_inline]] inline YjkGroup splitGroup(std::span<const std::uint8_t, 4> b) {
    return YjkGroup{yField(b[0]),
                    yField(b[1]),
                    yField(b[2]),
                    yField(b[3]),
                    static_cast<std::uint8_t>(((b[3] & 7) << 3) | (b[2] & 7)),
                    static_cast<std::uint8_t>(((b[1] & 7) << 3) | (b[0] & 7))};
}

using PaletteWords = std::array<PixelWord, kPaletteColours>;

// The palette index of pixel x of a line packed Bits to a pixel, leftmost in the high bits.
template <int Bits>
[[gnu::always_inline]] inline std::uint8_t packedIndex(const std::uint8_t* line, int x) {
    constexpr int kPerByte = CHAR_BIT / Bits;
    const int shift = CHAR_BIT - Bits * (x % kPerByte + 1);
    return static_cast<std::uint8_t>((line[x / kPerByte] >> shift) & ((1 << Bits) - 1));
}

// YJK without clamping at run time: red is Y + J and green Y + K, looked up biased by the
// most negative J or K; blue looked up by its numerator 5Y - 2J - K, biased by the most
// negative one. Each entry is the clamped level in the model's 8 bits and already in its
// place in a pixel word.
constexpr int kChannelBias = kSixBitSign;
constexpr int kBlueBias = 3 * (kSixBitSign - 1); // -2J - K at J = K = 31
constexpr int kChannelEntries = kYjkMax + (kSixBitSign - 1) + kChannelBias + 1;
constexpr int kBlueEntries = kBlueY * kYjkMax + 3 * kSixBitSign + kBlueBias + 1;

template <int Entries> using WordTable = std::array<PixelWord, Entries>;

// The colours of the modes without a palette, per colour model, made at compile time.
struct ModelWords {
    std::array<PixelWord, 256> screen8;
    WordTable<kChannelEntries> red;
    WordTable<kChannelEntries> green;
    WordTable<kBlueEntries> blue;
};

constexpr WordTable<kChannelEntries> channelWords(const ColourLevels& levels, int shift) {
    WordTable<kChannelEntries> t{};
    for (int i = 0; i < kChannelEntries; ++i) {
        t[i] = PixelWord{levels.level5[clampYjk(i - kChannelBias)]} << shift;
    }
    return t;
}

constexpr ModelWords modelWords(const ColourLevels& levels) {
    ModelWords w{};
    for (std::size_t b = 0; b < w.screen8.size(); ++b) {
        w.screen8[b] = wordOf(screen8Colour(levels, static_cast<std::uint8_t>(b)));
    }
    w.red = channelWords(levels, kRedShift);
    w.green = channelWords(levels, kGreenShift);
    for (int i = 0; i < kBlueEntries; ++i) {
        w.blue[i] = levels.level5[yjkBlue(i - kBlueBias, levels.blueRounding)];
    }
    return w;
}

constexpr std::array<ModelWords, kColourModelCount> kModelWords{
    modelWords(colourLevels(ColourModel::levels)), modelWords(colourLevels(ColourModel::msx2)),
    modelWords(colourLevels(ColourModel::msx2plus)), modelWords(colourLevels(ColourModel::msx1))};

// A group's J and K as offsets into the tables (never negative), so that each pixel only
// adds its Y.
struct YjkTerms {
    std::size_t red;
    std::size_t green;
    std::size_t blue;
};

[[gnu::always_inline]] inline YjkTerms yjkTerms(int j, int k) {
    return {static_cast<std::size_t>(j + kChannelBias), static_cast<std::size_t>(k + kChannelBias),
            static_cast<std::size_t>(kBlueBias - kBlueJ * j - k)};
}

[[gnu::always_inline]] inline PixelWord yjkWord(const ModelWords& w, const YjkTerms& t,
                                                std::size_t y) {
    return w.blue[kBlueY * y + t.blue] | w.green[y + t.green] | w.red[y + t.red];
}

// A YJK pixel of a group; in the yjkPalette decoder bit 0 of Y set gives the palette colour
// of the byte's high nibble instead.
template <Decoder Coding>
[[gnu::always_inline]] inline PixelWord yjkPixel(const ModelWords& w, const YjkTerms& t,
                                                 const PaletteWords& palette, std::uint8_t yv) {
    const PixelWord yjk = yjkWord(w, t, yv);
    if constexpr (Coding == Decoder::yjkPalette) {
        const PixelWord usePalette = 0U - (yv & 1U);
        return (palette[yv >> 1] & usePalette) | (yjk & ~usePalette);
    }
    return yjk;
}

// Pixels x, x + Stride, x + 2 Stride and x + 3 Stride of a line of Mode, spelt out: a loop
// would keep the four words in memory.
template <ScreenMode Mode, int Stride>
[[gnu::always_inline]] inline Quad quadAt(const std::uint8_t* line, int x, const ModelWords& w,
                                          const PaletteWords& palette) {
    constexpr Decoder kCoding = kModeFacts<Mode>.decoder;
    if constexpr (kCoding == Decoder::direct) {
        return Quad{w.screen8[line[x]], w.screen8[line[x + 1]], w.screen8[line[x + 2]],
                    w.screen8[line[x + 3]]};
    } else if constexpr (kCoding == Decoder::yjk || kCoding == Decoder::yjkPalette) {
        static_assert(Stride == 1, "a YJK group is never split");
        const YjkGroup g = splitGroup(std::span<const std::uint8_t, kGroupPixels>(line + x, 4));
        const YjkTerms t = yjkTerms(signExtendSixBits(g.j), signExtendSixBits(g.k));
        return Quad{yjkPixel<kCoding>(w, t, palette, g.y0), yjkPixel<kCoding>(w, t, palette, g.y1),
                    yjkPixel<kCoding>(w, t, palette, g.y2), yjkPixel<kCoding>(w, t, palette, g.y3)};
    } else {
        static_assert(kCoding == Decoder::packed);
        constexpr int kBits = kModeFacts<Mode>.bitsPerPixel;
        return Quad{palette[packedIndex<kBits>(line, x)],
                    palette[packedIndex<kBits>(line, x + Stride)],
                    palette[packedIndex<kBits>(line, x + 2 * Stride)],
                    palette[packedIndex<kBits>(line, x + 3 * Stride)]};
    }
}

} // namespace

const std::uint8_t* VdpState::lineStart(int y, int bytesPerLine) const {
    return vram_.data() + pageBase_ + y * bytesPerLine;
}

// Each mode's line decoded straight at the row's width, four row pixels at a time: each
// pixel twice when the row is wider than the line, every other one when narrower. Decoding
// at the row's width saves a pass over a line buffer; four pixels go out as three 4-byte
// stores instead of twelve byte stores.
template <ScreenMode Mode, std::size_t Width>
void VdpState::decodeLine(int y, std::span<RgbTriple, Width> out) const {
    constexpr ScreenModeFacts kFacts = kModeFacts<Mode>;
    constexpr int kRowWidth = static_cast<int>(Width);
    constexpr int kStride = std::max(1, kFacts.lineWidth / kRowWidth); // line pixels a row pixel
    constexpr int kRepeat = std::max(1, kRowWidth / kFacts.lineWidth); // row pixels a line pixel
    const std::uint8_t* src = lineStart(y, kFacts.bytesPerLine);
    std::uint8_t* row = reinterpret_cast<std::uint8_t*>(out.data());

    [[maybe_unused]] const PaletteWords palette =
        kFacts.usesPalette() ? wordsOf(paletteRgb_) : PaletteWords{};
    const ModelWords& words = kModelWords[indexOf(shownModel_)];

    for (int x = 0; x < kFacts.lineWidth; x += kQuadPixels * kStride) {
        const Quad q = quadAt<Mode, kStride>(src, x, words, palette);
        if constexpr (kRepeat == 1) {
            putFour(row, q[0], q[1], q[2], q[3]);
        } else {
            static_assert(kRepeat == 2);
            putFour(row, q[0], q[0], q[1], q[1]);
            putFour(row + kQuadBytes, q[2], q[2], q[3], q[3]);
        }
        row += kRepeat * kQuadBytes;
    }
}

// The decoder of the current mode's row, looked up in a table made from kScreenModes: a
// pattern mode's by its decoder, a bitmap mode's by its mode.
template <std::size_t Width>
void VdpState::renderLine(int y, std::span<RgbTriple, Width> out) const {
    using LineDecoder = void (VdpState::*)(int, std::span<RgbTriple, Width>) const;
    constexpr auto decoderOf = []<std::size_t Row>() -> LineDecoder {
        constexpr ScreenModeFacts kFacts = kScreenModes[Row];
        if constexpr (kFacts.decoder == Decoder::text) {
            return &VdpState::decodeTextLine<kFacts.mode, Width>;
        } else if constexpr (kFacts.kind == ModeKind::pattern) {
            return &VdpState::decodePatternLine<kFacts.decoder, Width>;
        } else {
            return &VdpState::decodeLine<kFacts.mode, Width>;
        }
    };
    constexpr auto tableOf = [decoderOf]<std::size_t... Row>(std::index_sequence<Row...>) {
        return std::array<LineDecoder, sizeof...(Row)>{decoderOf.template operator()<Row>()...};
    };
    static constexpr auto kDecoders = tableOf(std::make_index_sequence<kScreenModes.size()>{});
    (this->*kDecoders[modeRow_])(y, out);
    if (spritesDrawn_) {
        overlaySprites(y, out);
    }
}

void VdpState::renderLine256(int y, RgbRow256 out) const {
    renderLine(y, out);
}

void VdpState::renderLine512(int y, RgbRow512 out) const {
    renderLine(y, out);
}

} // namespace tessarin
