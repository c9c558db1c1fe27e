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

ScreenDocument::ScreenDocument() : vdp(std::make_unique<VdpState>()) {}

bool ScreenDocument::openFile(const std::string& fileName, FileSlot slot) {
    if (probeFileSize(fileName) == 0) {
        return false;
    }
    switch (slot) {
    case FileSlot::vram0:
        vram0FileName = fileName;
        break;
    case FileSlot::vram1:
        vram1FileName = fileName;
        break;
    case FileSlot::palette:
        paletteFileName = fileName;
        break;
    default:
        return false;
    }
    loadSlot(slot);
    return true;
}

void ScreenDocument::loadSlot(FileSlot slot) {
    const std::span<std::uint8_t, kVramSize> vram(vdp->vram);
    switch (slot) {
    case FileSlot::vram0:
        // Data past 64 KB runs on into VRAM1, up to the end of VRAM.
        readScreenFile(vram0FileName, mapping.headerSize[indexOf(FileSlot::vram0)], vram);
        vdp->remapLinePixels(mapping.linePixels[indexOf(FileSlot::vram0)]);
        break;
    case FileSlot::vram1:
        // Laid in byte for byte: packed VRAM1 data is never re-laid.
        readScreenFile(vram1FileName, mapping.headerSize[indexOf(FileSlot::vram1)],
                       vram.subspan(kVramHalfSize, kVramHalfSize));
        break;
    case FileSlot::palette: {
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

void ScreenDocument::reload() {
    // VRAM1 last: its file overwrites the tail of a long VRAM0 file.
    const std::array<const std::string*, 3> names{&vram0FileName, &vram1FileName, &paletteFileName};
    for (const FileSlot slot : kFileSlots) {
        if (!names[indexOf(slot)]->empty()) {
            loadSlot(slot);
        }
    }
}

std::uint32_t ScreenDocument::rgbToColor(const RgbTriple& rgb) {
    return static_cast<std::uint32_t>(rgb.red) | static_cast<std::uint32_t>(rgb.green) << 8 |
           static_cast<std::uint32_t>(rgb.blue) << 16;
}

} // namespace tessarin
