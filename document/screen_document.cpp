#include "document/screen_document.h"

#include "document/file_browsing.h"
#include "document/file_name_rule.h"
#include "platform/file_stream.h"

#include <algorithm>
#include <optional>
#include <span>
#include <utility>

namespace tessarin {

namespace {

bool isFileSlot(FileSlot slot) {
    return std::find(kFileSlots.begin(), kFileSlots.end(), slot) != kFileSlots.end();
}

// Reads the file past its header straight into target, as far as either reaches.
// A negative header size (the field is signed) counts as no header. A read error
// throws after target may already hold the bytes read before it.
// Returns the number of bytes laid in.
std::uint64_t readScreenFile(InputFile& in, std::int16_t headerSize,
                             std::span<std::uint8_t> target) {
    const std::uint64_t skip = static_cast<std::uint64_t>(std::max<std::int16_t>(headerSize, 0));
    const std::uint64_t size = in.size();
    if (size <= skip) {
        return 0;
    }
    const std::uint64_t count = std::min<std::uint64_t>(size - skip, target.size());
    in.seek(skip);
    return in.read(target.first(static_cast<std::size_t>(count)));
}

} // namespace

InputFile ScreenDocument::openWithContent(const std::string& fileName) {
    InputFile in(fileName);
    if (in.size() == 0) {
        throw FileError(fileName, "File \"" + fileName + "\" is empty");
    }
    return in;
}

ScreenDocument::ScreenDocument() : vdp_(std::make_unique<VdpState>()) {}

FileSlot ScreenDocument::openByName(const std::string& fileName) {
    InputFile in = openWithContent(fileName);
    const FileNameChoice choice = chooseByFileName(fileName);
    // The mode comes first: with a picture it reloads the files already open in it, and
    // it sets the line width the new file is laid in with.
    std::optional<FileError> reloadFailure;
    if (choice.slot == FileSlot::vram0 && choice.screenMode) {
        try {
            selectScreenMode(*choice.screenMode);
        } catch (const FileError& error) {
            // A vanished old file must not keep the new one out.
            reloadFailure = error;
        }
    }
    openOpened(fileName, in, choice.slot);
    if (reloadFailure) {
        throw ReloadError(reloadFailure->fileName(), reloadFailure->what());
    }
    return choice.slot;
}

void ScreenDocument::openInto(const std::string& fileName, FileSlot slot) {
    if (!isFileSlot(slot)) {
        return;
    }
    InputFile in = openWithContent(fileName);
    openOpened(fileName, in, slot);
}

void ScreenDocument::openOpened(const std::string& fileName, InputFile& in, FileSlot slot) {
    hasPicture_ = true;
    // The automatic rule takes an open palette file by itself.
    if (slot == FileSlot::palette && mapping_.paletteSource != PaletteSource::automatic) {
        mapping_.paletteSource = PaletteSource::file;
    }
    fileNames_[indexOf(slot)] = fileName;
    loadFrom(slot, in);
    if (slot == FileSlot::palette) {
        selectSourcePalette();
    } else {
        followVramPalette();
    }
}

void ScreenDocument::selectScreenMode(ScreenMode mode) {
    const ScreenModeFacts* facts = findScreenMode(mode);
    if (facts == nullptr) {
        return;
    }
    vdp_->setScreenMode(mode);
    const auto full = static_cast<std::int16_t>(facts->lineWidth);
    mapping_.linePixels = {full, full};
    if (hasPicture_) {
        reload();
    }
    followVramPalette(); // the mode moves the palette table too
}

void ScreenDocument::applyMapping(const VramMapping& newMapping) {
    mapping_ = newMapping;
    // Before the reload too, so that a file that fails to load leaves the chosen palette.
    selectSourcePalette();
    reload();
    selectSourcePalette();
}

void ScreenDocument::restorePalette() {
    selectSourcePalette();
}

void ScreenDocument::previewPalette(PaletteSource source) {
    const PaletteSource shown = resolvePalette(source);
    if (shown == PaletteSource::vram) {
        vdp_->readVramPalette(); // as VRAM holds it now
    }
    vdp_->selectPalette(shown);
}

Picture ScreenDocument::pictureOf(const PictureRequest& request) {
    ScreenDocument document;
    document.vdp_->setScreenMode(request.screenMode);
    document.mapping_ = request.mapping;
    const std::array<const std::string*, kFileSlots.size()> files{
        &request.screenFile, &request.vram1File, &request.paletteFile};
    for (const FileSlot slot : kFileSlots) {
        const std::string& name = *files[indexOf(slot)];
        if (!name.empty()) {
            InputFile in = openWithContent(name);
            document.fileNames_[indexOf(slot)] = name;
            document.loadFrom(slot, in);
        }
    }
    document.hasPicture_ = true;
    document.selectSourcePalette();
    document.setViewMode(request.viewMode);
    return document.takePicture();
}

void ScreenDocument::copyVram0ToVram1() {
    auto& vram = vdp_->vram;
    std::copy_n(vram.begin(), kVramHalfSize, vram.begin() + kVramHalfSize);
    followVramPalette();
}

void ScreenDocument::setViewMode(ViewMode mode) {
    viewMode_ = mode;
}

void ScreenDocument::setColourModel(ColourModel model) {
    vdp_->setColourModel(model);
    selectSourcePalette();
}

const Picture& ScreenDocument::render() {
    renderPicture(*vdp_, viewMode_, picture_);
    return picture_;
}

Picture ScreenDocument::takePicture() {
    render();
    return std::move(picture_);
}

void ScreenDocument::followVramPalette() {
    if (mapping_.paletteSource == PaletteSource::vram ||
        mapping_.paletteSource == PaletteSource::automatic) {
        selectSourcePalette();
    }
}

void ScreenDocument::selectSourcePalette() {
    const PaletteSource source = paletteInEffect();
    // The table in VRAM is read afresh: the files may have changed it since.
    if (source == PaletteSource::vram) {
        vdp_->readVramPalette();
    }
    vdp_->selectPalette(source);
}

PaletteSource ScreenDocument::resolvePalette(PaletteSource source) const {
    if (source != PaletteSource::automatic) {
        return source;
    }
    if (!fileName(FileSlot::palette).empty()) {
        return PaletteSource::file;
    }
    const ScreenModeFacts* facts = findScreenMode(vdp_->screenMode);
    if (facts == nullptr || facts->paletteColours == 0) {
        return PaletteSource::standard;
    }
    const std::size_t tableBytes = 2 * static_cast<std::size_t>(facts->paletteColours);
    if (vram0Reach_ < facts->paletteTable + tableBytes) {
        return PaletteSource::standard;
    }
    const auto table = std::span(vdp_->vram).subspan(facts->paletteTable, tableBytes);
    const bool allZero =
        std::all_of(table.begin(), table.end(), [](std::uint8_t b) { return b == 0; });
    return allZero ? PaletteSource::standard : PaletteSource::vram;
}

std::optional<std::string> ScreenDocument::openNeighbour(int step) {
    if (fileName(FileSlot::vram0).empty()) {
        return std::nullopt;
    }
    const auto screenFile = neighbourScreenFile(fileName(FileSlot::vram0), step);
    if (!screenFile) {
        return std::nullopt;
    }
    const auto paletteFile = matchingPaletteFile(*screenFile);
    if (!paletteFile && mapping_.paletteSource == PaletteSource::automatic) {
        fileNames_[indexOf(FileSlot::palette)].clear(); // the last picture's is not this one's
    }
    openByName(*screenFile);
    if (paletteFile) {
        openInto(*paletteFile, FileSlot::palette);
    }
    return screenFile;
}

void ScreenDocument::loadSlot(FileSlot slot) {
    if (!isFileSlot(slot)) {
        return;
    }
    InputFile in(fileNames_[indexOf(slot)]);
    loadFrom(slot, in);
}

const std::string& ScreenDocument::fileName(FileSlot slot) const {
    static const std::string kNone;
    return isFileSlot(slot) ? fileNames_[indexOf(slot)] : kNone;
}

void ScreenDocument::loadFrom(FileSlot slot, InputFile& in) {
    const std::span<std::uint8_t, kVramSize> vram(vdp_->vram);
    switch (slot) {
    case FileSlot::vram0:
        // Data past 64 KB runs on into VRAM1, up to the end of VRAM.
        vram0Reach_ = 0; // a failed read counts as none
        vram0Reach_ = readScreenFile(in, mapping_.headerSize[indexOf(FileSlot::vram0)], vram);
        vdp_->remapLinePixels(mapping_.linePixels[indexOf(FileSlot::vram0)]);
        break;
    case FileSlot::vram1:
        // Laid in byte for byte: packed VRAM1 data is never re-laid.
        readScreenFile(in, mapping_.headerSize[indexOf(FileSlot::vram1)],
                       vram.subspan(kVramHalfSize, kVramHalfSize));
        break;
    case FileSlot::palette: {
        // Entries a short file does not reach stay zero.
        PaletteRecord palette{};
        in.read(palette);
        vdp_->setFilePalette(palette);
        break;
    }
    default:
        break;
    }
}

void ScreenDocument::reload() {
    // VRAM1 last: its file overwrites the tail of a long VRAM0 file.
    for (const FileSlot slot : kFileSlots) {
        if (!fileNames_[indexOf(slot)].empty()) {
            loadSlot(slot);
        }
    }
}

} // namespace tessarin
