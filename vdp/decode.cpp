#include "vdp/vdp_state.h"

#include <limits>

namespace tessarin {

namespace {
constexpr int kYjkMax = 31;
constexpr int kSixBitSign = 32; // raw J and K of 32..63 are -32..-1
constexpr int kGroupPixels = 4;

// Constants, not look-ups at run time, so that the line loops keep their fixed counts.
constexpr int kScreen5LineBytes = kModeFacts<5>.bytesPerLine;
constexpr int kScreen6LineBytes = kModeFacts<6>.bytesPerLine;
constexpr int kScreen7LineBytes = kModeFacts<7>.bytesPerLine;
constexpr int kScreen8LineBytes = kModeFacts<8>.bytesPerLine;
constexpr int kScreen10LineBytes = kModeFacts<10>.bytesPerLine;
constexpr int kScreen12LineBytes = kModeFacts<12>.bytesPerLine;

// Each line decoder fills a buffer exactly as wide as its mode's line.
template <ScreenMode Mode, typename Row>
constexpr bool kLineFits = Row::extent == static_cast<std::size_t>(kModeFacts<Mode>.lineWidth);
static_assert(kLineFits<5, RgbRow256> && kLineFits<6, RgbRow512> && kLineFits<7, RgbRow512> &&
              kLineFits<8, RgbRow256> && kLineFits<10, RgbRow256> && kLineFits<12, RgbRow256>);

// Without a branch or a table: random J and K defeat branch prediction, and in
// instrumented builds each branch is a counter and each table read a checked load.
int clampYjk(int v) {
    constexpr int kSignShift = std::numeric_limits<int>::digits; // all ones when negative
    v &= ~(v >> kSignShift);                                     // below 0: 0
    const int over = (kYjkMax - v) >> kSignShift;                // above kYjkMax: all ones
    return (v & ~over) | (kYjkMax & over);
}

// Without a branch: J and K of random-looking pictures defeat branch prediction.
int signExtendSixBits(int v) {
    return (v ^ kSixBitSign) - kSixBitSign;
}

// The per-pixel and per-group helpers below are forced into the line decoders:
// instrumented builds would otherwise keep them as calls, each with its own entry checks.

// One pixel of a YJK group from its Y and the group's signed J and K.
[[gnu::always_inline]] inline RgbTriple yjkColour(const decltype(VdpState::level5)& level5, int y,
                                                  int j, int k) {
    const int r = clampYjk(y + j);
    const int g = clampYjk(y + k);
    const int b = clampYjk((5 * y - 2 * j - k) / 4); // C++ division truncates toward zero
    return RgbTriple{level5[b], level5[g], level5[r]};
}

// Screens 10/11: bit 3 of the byte, the lowest bit of its Y field, marks a palette
// pixel whose colour index is bits 7-4; j and k are signed.
[[gnu::always_inline]] inline RgbTriple screen10Colour(const VdpState& vdp, std::uint8_t v, int j,
                                                       int k) {
    if ((v & 1) != 0) {
        return vdp.paletteRgb[v >> 1];
    }
    return yjkColour(vdp.level5, v, j, k);
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

} // namespace

std::array<std::uint8_t, 2> VdpState::splitPixels4bpp(std::uint8_t b) {
    return {static_cast<std::uint8_t>(b >> 4), static_cast<std::uint8_t>(b & 15)};
}

std::array<std::uint8_t, 4> VdpState::splitPixels2bpp(std::uint8_t b) {
    return {static_cast<std::uint8_t>((b >> 6) & 3), static_cast<std::uint8_t>((b >> 4) & 3),
            static_cast<std::uint8_t>((b >> 2) & 3), static_cast<std::uint8_t>(b & 3)};
}

YjkGroup VdpState::splitYjkGroup(std::span<const std::uint8_t, 4> b) {
    return splitGroup(b);
}

RgbTriple VdpState::yjkToRgb(int y, int j, int k) const {
    return yjkColour(level5, y, signExtendSixBits(j), signExtendSixBits(k));
}

const std::uint8_t* VdpState::lineStart(int y, int bytesPerLine) const {
    return vram.data() + pageBase + y * bytesPerLine;
}

RgbTriple VdpState::screen10Pixel(std::uint8_t v, const YjkGroup& g) const {
    return screen10Colour(*this, v, signExtendSixBits(g.j), signExtendSixBits(g.k));
}

RgbTriple VdpState::pixelScreen5(int x, int y) const {
    const auto idx = splitPixels4bpp(lineStart(y, kScreen5LineBytes)[x / 2]);
    return paletteRgb[idx[x % 2]];
}

RgbTriple VdpState::pixelScreen6(int x, int y) const {
    const auto idx = splitPixels2bpp(lineStart(y, kScreen6LineBytes)[x / 4]);
    return paletteRgb[idx[x % 4]];
}

RgbTriple VdpState::pixelScreen7(int x, int y) const {
    const auto idx = splitPixels4bpp(lineStart(y, kScreen7LineBytes)[x / 2]);
    return paletteRgb[idx[x % 2]];
}

RgbTriple VdpState::pixelScreen8(int x, int y) const {
    return screen8Rgb[lineStart(y, kScreen8LineBytes)[x]];
}

RgbTriple VdpState::pixelScreen10(int x, int y) const {
    const std::uint8_t* group = lineStart(y, kScreen10LineBytes) + kGroupPixels * (x / 4);
    const YjkGroup g = splitYjkGroup(std::span<const std::uint8_t, 4>(group, 4));
    const std::array<std::uint8_t, 4> ys{g.y0, g.y1, g.y2, g.y3};
    return screen10Pixel(ys[x % 4], g);
}

RgbTriple VdpState::pixelScreen12(int x, int y) const {
    const std::uint8_t* group = lineStart(y, kScreen12LineBytes) + kGroupPixels * (x / 4);
    const YjkGroup g = splitYjkGroup(std::span<const std::uint8_t, 4>(group, 4));
    const std::array<std::uint8_t, 4> ys{g.y0, g.y1, g.y2, g.y3};
    return yjkToRgb(ys[x % 4], g.j, g.k);
}

// Puts the pixels of a mode's line into a row Width pixels wide, as the views show it:
// each pixel twice when the row is wider than the line, every other one when narrower.
// Decoding straight at the row's width saves a pass over a line buffer.
template <int LineWidth, std::size_t Width> class ScaledRow {
public:
    explicit ScaledRow(std::span<RgbTriple, Width> row) : row_(row) {}

    // Pixel x of the mode's line.
    [[gnu::always_inline]] void put(int x, const RgbTriple& colour) {
        constexpr int kRowWidth = static_cast<int>(Width);
        if constexpr (kRowWidth >= LineWidth) {
            constexpr int kRepeat = kRowWidth / LineWidth;
            for (int r = 0; r < kRepeat; ++r) {
                setColour(row_[static_cast<std::size_t>(kRepeat * x + r)], colour);
            }
        } else {
            constexpr int kStep = LineWidth / kRowWidth;
            if (x % kStep == 0) {
                setColour(row_[static_cast<std::size_t>(x / kStep)], colour);
            }
        }
    }

private:
    std::span<RgbTriple, Width> row_;
};

template <ScreenMode Mode, std::size_t Width>
void VdpState::decodeLine(int y, std::span<RgbTriple, Width> out) const {
    constexpr ScreenModeFacts kFacts = kModeFacts<Mode>;
    ScaledRow<kFacts.lineWidth, Width> row(out);
    const std::uint8_t* src = lineStart(y, kFacts.bytesPerLine);
    if constexpr (Mode == 5 || Mode == 7) {
        for (int i = 0; i < kFacts.bytesPerLine; ++i) {
            const auto idx = splitPixels4bpp(src[i]);
            row.put(2 * i, paletteRgb[idx[0]]);
            row.put(2 * i + 1, paletteRgb[idx[1]]);
        }
    } else if constexpr (Mode == 6) {
        for (int i = 0; i < kFacts.bytesPerLine; ++i) {
            const auto idx = splitPixels2bpp(src[i]);
            for (int p = 0; p < 4; ++p) {
                row.put(4 * i + p, paletteRgb[idx[static_cast<std::size_t>(p)]]);
            }
        }
    } else if constexpr (Mode == 8) {
        for (int i = 0; i < kFacts.bytesPerLine; ++i) {
            row.put(i, screen8Rgb[src[i]]);
        }
    } else {
        static_assert(Mode == 10 || Mode == 12);
        for (int n = 0; n < kFacts.bytesPerLine; n += kGroupPixels) {
            const YjkGroup g = splitGroup(std::span<const std::uint8_t, 4>(src + n, 4));
            const int j = signExtendSixBits(g.j);
            const int k = signExtendSixBits(g.k);
            const auto colour = [&](std::uint8_t v) {
                if constexpr (Mode == 10) {
                    return screen10Colour(*this, v, j, k);
                } else {
                    return yjkColour(level5, v, j, k);
                }
            };
            row.put(n, colour(g.y0));
            row.put(n + 1, colour(g.y1));
            row.put(n + 2, colour(g.y2));
            row.put(n + 3, colour(g.y3));
        }
    }
}

void VdpState::decodeLineScreen5(int y, RgbRow256 out) const {
    decodeLine<5>(y, out);
}

void VdpState::decodeLineScreen6(int y, RgbRow512 out) const {
    decodeLine<6>(y, out);
}

void VdpState::decodeLineScreen7(int y, RgbRow512 out) const {
    decodeLine<7>(y, out);
}

void VdpState::decodeLineScreen8(int y, RgbRow256 out) const {
    decodeLine<8>(y, out);
}

void VdpState::decodeLineScreen10(int y, RgbRow256 out) const {
    decodeLine<10>(y, out);
}

void VdpState::decodeLineScreen12(int y, RgbRow256 out) const {
    decodeLine<12>(y, out);
}

// Each mode decoded straight at the row's width; the same pixels as its own line widened
// or narrowed (widenLine, narrowLine).
template <std::size_t Width>
void VdpState::renderLine(int y, std::span<RgbTriple, Width> out) const {
    switch (screenMode) {
    case 5:
        decodeLine<5>(y, out);
        break;
    case 6:
        decodeLine<6>(y, out);
        break;
    case 7:
        decodeLine<7>(y, out);
        break;
    case 8:
        decodeLine<8>(y, out);
        break;
    case 10:
        decodeLine<10>(y, out);
        break;
    case 12:
        decodeLine<12>(y, out);
        break;
    default:
        break;
    }
}

void VdpState::renderLine256(int y, RgbRow256 out) const {
    renderLine(y, out);
}

void VdpState::renderLine512(int y, RgbRow512 out) const {
    renderLine(y, out);
}

void VdpState::widenLine(std::span<const RgbTriple, kNarrowWidth> src, RgbRow512 dst) {
    for (int i = 0; i < kNarrowWidth; ++i) {
        setColour(dst[2 * i], src[i]);
        setColour(dst[2 * i + 1], src[i]);
    }
}

void VdpState::narrowLine(std::span<const RgbTriple, kWideWidth> src, RgbRow256 dst) {
    for (int i = 0; i < kNarrowWidth; ++i) {
        setColour(dst[i], src[2 * i]);
    }
}

} // namespace tessarin
