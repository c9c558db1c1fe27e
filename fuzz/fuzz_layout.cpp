// Arbitrary bytes as the head of a screen file of any size, in any mode, laid at any page
// base: detecting, describing and laying must stay inside the file and the VRAM, and the
// layout must follow from the first 7 bytes alone. The bytes are also unpacked as a
// compressed stream, read as a palette file, and the laid VRAM's palette table checked;
// whether they are a picture must follow from the first kPictureHeadBytes, and a file that
// is none must say why. The palette a BSAVE carries past its data must hold a palette, a
// palette file by its bytes must give one, and the name-and-size hint must stay a hint.
//
// Input: 10 control bytes, then the file's bytes.
//   [0] mode: index into the supported modes (modulo their count)
//   [1] page base: [1] x 512 (0..1FE00h, on and off page boundaries)
//   [2..9] bytes the file has past those given, 64-bit little-endian (any size, wrapping)
#include "catalog/picture_kind.h"
#include "formats/graph_saurus.h"
#include "formats/palette_shape.h"
#include "formats/screen_layout.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::size_t kControlBytes = 10;
constexpr std::uint32_t kPageBaseStep = 512;
constexpr std::size_t kHeadBytes = 7; // all detection reads

// Static: a VRAM and an unpacking buffer on the stack at every execution would cost more
// than the work.
std::array<std::uint8_t, tessarin::kVramSize> vram;
std::array<std::uint8_t, tessarin::kGraphSaurusSize> unpacked;

// The modes a hint names are other than the name's own, in the table's order, and said in
// words; without a mode by name, at least two.
bool fitsOtherModes(std::string_view name, std::span<const std::uint8_t> file,
                    std::uint64_t fileSize) {
    const std::vector<tessarin::ScreenMode> fits = tessarin::modesTheBytesFit(name, file, fileSize);
    const std::optional<tessarin::ScreenMode> named = tessarin::chooseByFileName(name).screenMode;
    return fits.empty() ||
           ((named ? std::ranges::find(fits, *named) == fits.end() : fits.size() >= 2) &&
            std::ranges::is_sorted(fits, {},
                                   [](tessarin::ScreenMode m) {
                                       return tessarin::findScreenMode(m) -
                                              tessarin::kScreenModes.data();
                                   }) &&
            tessarin::describe(tessarin::ContentNote{tessarin::NotPicture::none, fits})
                .starts_with("bytes fit screen "));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < kControlBytes) {
        return 0;
    }
    const tessarin::ScreenModeFacts& mode =
        tessarin::kScreenModes[data[0] % tessarin::kScreenModes.size()];
    const std::uint32_t pageBase = data[1] * kPageBaseStep;
    std::uint64_t extra = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        extra |= std::uint64_t{data[2 + i]} << (8 * i);
    }
    const std::span<const std::uint8_t> file(data + kControlBytes, size - kControlBytes);
    const std::uint64_t fileSize = file.size() + extra;

    const tessarin::ScreenLayout layout = tessarin::detectLayout(file, fileSize, mode);
    if (tessarin::detectLayout(file.first(std::min(file.size(), kHeadBytes)), fileSize, mode) !=
            layout ||
        tessarin::describeLayout(layout).empty()) {
        std::abort();
    }
    const tessarin::VramRange written = tessarin::layScreenFile(layout, file, vram, mode, pageBase);
    if (written.first > written.end || written.end > tessarin::kVramSize) {
        std::abort();
    }
    if (tessarin::vramPaletteFinding(vram, mode, written) == tessarin::PaletteFinding::holds &&
        !written.holds(mode.paletteTable,
                       mode.paletteTable +
                           static_cast<std::uint32_t>(tessarin::shownPaletteBytes(mode)))) {
        std::abort();
    }
    if (tessarin::unpackGraphSaurus(file, unpacked) > unpacked.size()) {
        std::abort();
    }
    // Under names the bytes decide, and one that claims a palette: the first bytes decide as
    // the listing reads them, and a palette is never a picture.
    for (const char* name : {"FILE.DAT", "FILE.PIC", "FILE.PL5"}) {
        const tessarin::PictureKind kind = tessarin::pictureKind(name, file, fileSize);
        if (tessarin::pictureKind(name, file.first(std::min(file.size(), tessarin::kKindHeadBytes)),
                                  fileSize) != kind ||
            kind.picture != (kind.reason == tessarin::NotPicture::none) ||
            (kind.palette && kind.picture)) {
            std::abort();
        }
        if (!fitsOtherModes(name, file, fileSize)) {
            std::abort();
        }
    }
    const auto paletteHead =
        file.first(std::min<std::size_t>(file.size(), tessarin::kMaxPaletteFileSize));
    const tessarin::PaletteRecord fromFile = tessarin::readPaletteFile(paletteHead);
    if ((tessarin::isPaletteByContent(paletteHead, fileSize) ||
         tessarin::isPaletteFile(paletteHead, fileSize)) &&
        tessarin::holdsPalette(fromFile) != tessarin::PaletteFinding::holds) {
        std::abort();
    }
    if (const auto carried = tessarin::paletteBeyondData(layout, file, mode)) {
        // Past the end only the entries the mode shows are checked; appended, all of them.
        const std::span<const std::uint8_t> checked =
            carried->place == tessarin::PalettePlace::pastEnd
                ? std::span<const std::uint8_t>(carried->table)
                      .first(tessarin::shownPaletteBytes(mode))
                : std::span<const std::uint8_t>(carried->table);
        if (tessarin::holdsPalette(checked) != tessarin::PaletteFinding::holds ||
            layout.kind != tessarin::LayoutKind::bsave) {
            std::abort();
        }
    }
    if (!fitsOtherModes("FILE.SC5", file, fileSize)) {
        std::abort();
    }
    return 0;
}
