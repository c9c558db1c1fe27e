#include "document/screen_document.h"

#include "platform/file_stream.h"
#include "platform/file_system.h"

#include <algorithm>
#include <span>

namespace tessarin {

namespace {

// Reads the file past its header straight into target, as far as either reaches.
// A negative header size (the field is signed) counts as no header. A read error
// throws after target may already hold the bytes read before it.
void readScreenFile(const std::string& fileName, std::int16_t headerSize,
                    std::span<std::uint8_t> target) {
    InputFile in(fileName);
    const std::uint64_t skip = static_cast<std::uint64_t>(std::max<std::int16_t>(headerSize, 0));
    const std::uint64_t size = in.size();
    if (size <= skip) {
        return;
    }
    const std::uint64_t count = std::min<std::uint64_t>(size - skip, target.size());
    in.seek(skip);
    in.read(target.first(static_cast<std::size_t>(count)));
}

} // namespace

TScreenDocument::TScreenDocument() : vdp(std::make_unique<TVdpState>()) {}

bool TScreenDocument::OpenFile(const std::string& fileName, int slot) {
    if (probeFileSize(fileName) == 0) {
        return false;
    }
    switch (slot) {
    case fsVram0:
        vram0FileName = fileName;
        break;
    case fsVram1:
        vram1FileName = fileName;
        break;
    case fsPalette:
        paletteFileName = fileName;
        break;
    default:
        return false;
    }
    LoadSlot(slot);
    return true;
}

void TScreenDocument::LoadSlot(int slot) {
    const std::span<std::uint8_t, kVramSize> vram(vdp->vram);
    switch (slot) {
    case fsVram0:
        // Data past 64 KB runs on into VRAM1, up to the end of VRAM.
        readScreenFile(vram0FileName, mapping.headerSize[fsVram0], vram);
        vdp->remapLinePixels(mapping.linePixels[fsVram0]);
        break;
    case fsVram1:
        // Laid in byte for byte: packed VRAM1 data is never re-laid.
        readScreenFile(vram1FileName, mapping.headerSize[fsVram1],
                       vram.subspan(kVramHalfSize, kVramHalfSize));
        break;
    case fsPalette: {
        // Entries a short file does not reach stay zero.
        PaletteRecord palette{};
        InputFile in(paletteFileName);
        in.read(palette);
        vdp->setFilePalette(palette);
        break;
    }
    default:
        break;
    }
}

void TScreenDocument::Reload() {
    // VRAM1 last: its file overwrites the tail of a long VRAM0 file.
    const std::array<const std::string*, 3> names{&vram0FileName, &vram1FileName, &paletteFileName};
    for (int slot = fsVram0; slot <= fsPalette; ++slot) {
        if (!names[static_cast<std::size_t>(slot)]->empty()) {
            LoadSlot(slot);
        }
    }
}

std::uint32_t TScreenDocument::RgbToColor(const RgbTriple& rgb) {
    return static_cast<std::uint32_t>(rgb.red) | static_cast<std::uint32_t>(rgb.green) << 8 |
           static_cast<std::uint32_t>(rgb.blue) << 16;
}

} // namespace tessarin
