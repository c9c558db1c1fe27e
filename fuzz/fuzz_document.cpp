// Arbitrary bytes as a VRAM0 file, a VRAM1 file and a palette file, with arbitrary
// screen mode, header sizes, line pixels, palette source and view: loading must not
// fail and the picture must have exactly the size of its view (empty for an unknown one).
// The picture is rendered in memory; only the inputs are files. It is not encoded: the
// BMP and PNG encoders depend only on the picture's size, which their own tests cover,
// and copying 650 KB at every execution would halve the executions.
//
// Input: 8 control bytes, then the three files separated by the 4 bytes "FILE".
//   [0] screen mode (any value; unsupported ones are ignored by the VDP)
//   [1..2] header size of VRAM0, [3..4] of VRAM1: 15 bits, little-endian (0..32767)
//   [5..6] line pixels of VRAM0, little-endian, signed (0, above 512, negative)
//   [7] low 5 bits: view mode, signed -16..15 (negative and 8..15 unknown);
//       high 2 bits: palette source 0..3
#include "document/screen_document.h"
#include "document/view_geometry.h"
#include "platform/file_error.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

constexpr std::size_t kControlBytes = 8;
constexpr std::string_view kSeparator = "FILE";
constexpr std::uint16_t kHeaderMask = 0x7FFF;

struct Scratch {
    std::string dir;
    std::array<std::string, 3> inputs; // VRAM0, VRAM1, palette
};

// One directory per fuzzing process, made once and removed at exit. Never destroyed, so
// that the exit handler still finds the names (a static would be gone before it runs).
const Scratch& scratch() {
    static const Scratch& s = *[] {
        auto* made = new Scratch;
        // In memory when the system offers it: rewriting files of a disk's file system
        // makes it write them back at every close, which cost more than the loading.
        std::string pattern = "/dev/shm/tessarin-fuzz-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            pattern = "/tmp/tessarin-fuzz-XXXXXX";
            if (::mkdtemp(pattern.data()) == nullptr) {
                std::abort();
            }
        }
        made->dir = pattern;
        made->inputs = {made->dir + "/IN.SC7", made->dir + "/IN1.SC7", made->dir + "/IN.PL7"};
        std::atexit([] {
            const Scratch& s = scratch();
            for (const std::string& name : s.inputs) {
                ::unlink(name.c_str());
            }
            ::rmdir(s.dir.c_str());
        });
        return made;
    }();
    return s;
}

void writeFile(const std::string& name, std::string_view bytes) {
    std::FILE* f = std::fopen(name.c_str(), "wb");
    if (f == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() ||
        std::fclose(f) != 0) {
        std::abort();
    }
}

std::uint16_t get16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < kControlBytes) {
        return 0;
    }
    const Scratch& s = scratch();
    std::string_view rest(reinterpret_cast<const char*>(data + kControlBytes),
                          size - kControlBytes);
    std::array<bool, 3> written{};
    for (std::size_t i = 0; i < s.inputs.size(); ++i) {
        const std::size_t cut = i + 1 < s.inputs.size() ? rest.find(kSeparator) : rest.npos;
        writeFile(s.inputs[i], rest.substr(0, cut));
        written[i] = !rest.substr(0, cut).empty();
        rest = cut == rest.npos ? std::string_view() : rest.substr(cut + kSeparator.size());
    }

    // As a user would: the screen mode, the three files opened, then the mapping dialog.
    tessarin::ScreenDocument doc;
    if (const auto mode = tessarin::screenModeFromNumber(data[0])) {
        doc.selectScreenMode(*mode);
    }
    tessarin::VramMapping mapping;
    mapping.headerSize = {static_cast<std::int16_t>(get16(data + 1) & kHeaderMask),
                          static_cast<std::int16_t>(get16(data + 3) & kHeaderMask)};
    mapping.linePixels = {static_cast<std::int16_t>(get16(data + 5)), 0};
    mapping.paletteSource = static_cast<tessarin::PaletteSource>((data[7] >> 6) & 0x03);
    // Bit 5: the fixed layout instead of each file's own.
    mapping.layout =
        (data[7] & 0x20) != 0 ? tessarin::LayoutChoice::fixed : tessarin::LayoutChoice::automatic;
    // Bits 0..4 as a signed number: shift the sign bit to the top of the byte and back.
    const auto view = static_cast<tessarin::ViewMode>(static_cast<std::int8_t>(data[7] << 3) >> 3);
    try {
        for (const tessarin::FileSlot slot : tessarin::kFileSlots) {
            // An empty file is refused before it is opened: the user's error, not a fault.
            if (written[tessarin::indexOf(slot)]) {
                doc.openInto(s.inputs[tessarin::indexOf(slot)], slot);
            }
        }
        doc.applyMapping(mapping);
    } catch (const tessarin::FileError&) {
        // Regular files in a private directory: nothing may fail here.
        std::abort();
    }
    doc.setViewMode(view);
    const tessarin::Picture& picture = doc.render();
    const auto image =
        tessarin::imageSizeOf(view, tessarin::pictureLinesOf(doc.vdp().screenMode()));
    const bool fits = image ? picture.width() == image->width && picture.height() == image->height
                            : picture.empty();
    if (!fits) {
        std::abort();
    }
    return 0;
}
