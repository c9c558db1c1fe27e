#include "document/screen_document.h"

#include "catalog/picture_files.h"
#include "catalog/picture_kind.h"
#include "document/places_in.h"
#include "document/resolve.h"
#include "names/file_name_rule.h"
#include "vdp/basic_screen.h"

#include <algorithm>
#include <optional>
#include <span>
#include <string>
#include <utility>

namespace tessarin {

namespace {

bool isFileSlot(FileSlot slot) {
    return std::find(kFileSlots.begin(), kFileSlots.end(), slot) != kFileSlots.end();
}

// A fixed layout: the file past its header into target, as far as either reaches. A
// negative header size (the field is signed) counts as no header. Returns the bytes laid.
std::size_t layPastHeader(const InputBytes& in, HeaderSize headerSize,
                          std::span<std::uint8_t> target) {
    const auto skip = static_cast<std::size_t>(std::max<HeaderSize>(headerSize, 0));
    if (in.bytes.size() <= skip) {
        return 0;
    }
    const std::size_t count = std::min(in.bytes.size() - skip, target.size());
    std::copy_n(in.bytes.begin() + static_cast<std::ptrdiff_t>(skip), count, target.begin());
    return count;
}

} // namespace

InputBytes ScreenDocument::readChecked(const Location& fileName, FileSlot slot,
                                       const VramMapping& mapping) {
    // As much as a load of the slot can lay, whatever the file's size.
    const auto header = [&](FileSlot s) {
        return static_cast<std::size_t>(std::max<HeaderSize>(mapping.headerSize[indexOf(s)], 0));
    };
    const bool fixed = mapping.layout == LayoutChoice::fixed;
    switch (slot) {
    case FileSlot::vram0:
        return fileSource().read(fileName, (fixed ? header(slot) : kBsaveHeaderSize) + kVramSize);
    case FileSlot::vram1:
        return fileSource().read(fileName,
                                 (fixed ? header(slot) : kBsaveHeaderSize) + kVramHalfSize);
    default:
        return fileSource().read(fileName, kMaxPaletteFileSize);
    }
}

ScreenDocument::ScreenDocument() : vdp_(std::make_unique<VdpState>()) {}

FileSlot ScreenDocument::openByName(const std::string& fileName) {
    return openNamed(Location::of(fileName));
}

FileSlot ScreenDocument::openNamed(const Location& name) {
    const PictureFiles files = pictureFilesOf(fileSource(), name);
    const Location& screenFile = files.screenFile;
    const std::string nameInFolder = screenFile.nameInFolder();
    FileNameChoice choice = chooseByFileName(nameInFolder);
    InputBytes in = readChecked(screenFile, choice.slot, mapping_);
    if (choice.slot == FileSlot::palette) {
        choice = chooseByNameAndSize(nameInFolder, in.size);
        if (choice.slot != FileSlot::palette) {
            in = readChecked(screenFile, choice.slot, mapping_); // a picture with a palette's name
        }
    } else if (isPaletteByContent(in.bytes, in.size)) {
        choice = {FileSlot::palette, std::nullopt}; // GAMEPAL.SC5: a palette whatever its name
    }
    // Where the name gives no mode, the file takes the one its bytes give; one they leave
    // open is shown in the mode chosen.
    std::optional<ModeRuling> ruling;
    if (choice.slot == FileSlot::vram0) {
        // The bytes just read decide where the name does not: no second read of the file.
        ruling = screenModeOf(nameInFolder, in.bytes, in.size);
        choice.screenMode = ruling ? std::optional(ruling->mode) : std::nullopt;
    }
    // Nothing laid yet: the one load of the request the name resolves to, in the mode
    // chosen where the file gives none, with a palette file opened by hand.
    if (choice.slot == FileSlot::vram0 && fileName(FileSlot::vram0).empty() && !hasVram1()) {
        PictureRequest request =
            edited(resolve(fileSource(), files, choice.screenMode.value_or(vdp_->screenMode())),
                   Loading::first);
        request.screenModeWhy = ruling ? ruling->why : ModeWhy::standard;
        if (!ruling) {
            request.mapping.linePixels = mapping_.linePixels; // as the user left them
        }
        openRead(request, in);
        return FileSlot::vram0;
    }
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
    openOpened(screenFile, in, choice.slot);
    if (choice.slot == FileSlot::vram0 && files.companion) {
        openAt(*files.companion, FileSlot::vram1);
    }
    if (choice.slot == FileSlot::vram0) {
        choosePaletteFile(screenFile, files);
    }
    if (reloadFailure) {
        throw ReloadError(reloadFailure->fileName(), reloadFailure->what(), reloadFailure->fault());
    }
    return choice.slot;
}

void ScreenDocument::openInto(const std::string& fileName, FileSlot slot) {
    openAt(Location::of(fileName), slot);
}

void ScreenDocument::openAt(const Location& fileName, FileSlot slot) {
    if (!isFileSlot(slot)) {
        return;
    }
    if (slot == FileSlot::vram0 && fileName.isPlace()) {
        openNamed(fileName); // a folder or disk: opened at its first picture
        return;
    }
    const InputBytes in = readChecked(fileName, slot, mapping_);
    openOpened(fileName, in, slot);
    if (slot == FileSlot::vram0) {
        PictureFiles paired{fileName, {}, {}, {}, {}};
        findPaletteFile(fileSource(), fileName, paired);
        choosePaletteFile(fileName, paired);
    }
}

void ScreenDocument::openOpened(const Location& fileName, const InputBytes& in, FileSlot slot) {
    hasPicture_ = true;
    if (slot == FileSlot::palette) {
        paletteOrigin_ = PaletteOrigin::byHand; // choosePaletteFile marks those it finds
        // The automatic rule takes an open palette file by itself.
        if (mapping_.paletteSource != PaletteSource::automatic) {
            mapping_.paletteSource = PaletteSource::file;
        }
    }
    files_[indexOf(slot)] = fileName;
    if (slot == FileSlot::vram0) {
        // Said of a file opened by name whose bytes are no picture; a large file with a
        // palette's name is a screen file by its size. A name may make text a picture, but
        // the whole file read as text says what it is.
        const std::string name = fileName.nameInFolder();
        const PictureKind kind = pictureKind(name, in.bytes, in.size);
        contentImportable_ = kind.importable;
        const bool named = kind.picture || chooseByFileName(name).slot == FileSlot::palette;
        if (kind.importable || !named) {
            contentNote_ = {kind.reason, {}};
        } else if (in.bytes.size() == in.size && isText(in.bytes)) {
            contentNote_ = {NotPicture::text, {}};
        } else {
            contentNote_ = {NotPicture::none, modesTheBytesFit(name, in.bytes, in.size)};
        }
    }
    loadFrom(slot, in);
    if (slot == FileSlot::palette) {
        selectSourcePalette();
    } else {
        followVramPalette();
    }
}

void ScreenDocument::choosePaletteFile(const Location& screenFile, const PictureFiles& paired) {
    if (paletteOrigin_ == PaletteOrigin::byHand &&
        !files_[indexOf(FileSlot::palette)].path().empty()) {
        return;
    }
    PictureRequest found;
    found.screenFile = screenFile;
    found.paletteFile = paired.paletteFile.value_or(Location());
    found.paletteLeftOut = paired.paletteLeftOut.value_or(Location());
    found.leftOutReason = paired.leftOutReason;
    (void)takePaletteFile(found); // found, not named: never a failure
    selectSourcePalette();
}

std::optional<FileError> ScreenDocument::takePaletteFile(const PictureRequest& request) {
    Location& open = files_[indexOf(FileSlot::palette)];
    open = {}; // the last picture's is not this one's
    paletteLeftOut_ = request.paletteLeftOut.path().empty() ? std::string()
                                                            : request.paletteLeftOut.nameInFolder();
    paletteLeftOutReason_ = request.leftOutReason;
    const bool named = !request.paletteFile.path().empty();
    if (named && request.paletteOrigin == PaletteOrigin::byHand) {
        try {
            const InputBytes in = readChecked(request.paletteFile, FileSlot::palette, mapping_);
            open = request.paletteFile;
            loadFrom(FileSlot::palette, in);
            paletteOrigin_ = PaletteOrigin::byHand;
        } catch (const FileError& error) {
            return error;
        }
        return std::nullopt;
    }
    const Location& screenFile = request.screenFile;
    std::optional<Location> chosen = named ? std::optional(request.paletteFile) : std::nullopt;
    PaletteOrigin origin = PaletteOrigin::sameName;
    // A mode of direct colours takes no palette from its folder.
    const PaletteFinding own = vramPaletteFinding();
    if (!chosen && own != PaletteFinding::holds && own != PaletteFinding::noPaletteMode) {
        chosen = fileSource().folderPaletteOf(screenFile);
        origin = PaletteOrigin::folderOnly;
    }
    if (chosen) {
        // Found, not chosen: the mapping's palette source stays as the user set it. A
        // found file that is no palette leaves the picture in its other colours; only a
        // palette the user named fails.
        try {
            const InputBytes in = readChecked(*chosen, FileSlot::palette, mapping_);
            open = *chosen;
            loadFrom(FileSlot::palette, in);
            paletteOrigin_ = origin;
        } catch (const FileError&) {
            paletteLeftOut_ = chosen->nameInFolder();
            paletteLeftOutReason_ = NotPicture::unloadablePalette;
        }
    }
    return std::nullopt;
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

void ScreenDocument::open(const PictureRequest& request) {
    openRead(request, readChecked(request.screenFile, FileSlot::vram0, request.mapping));
}

void ScreenDocument::openRead(const PictureRequest& request, const InputBytes& screen) {
    vdp_->setColourModel(request.colourModel);
    vdp_->setScreenMode(request.screenMode);
    setLargeSprites(request.largeSprites);
    mapping_ = request.mapping;
    viewMode_ = request.viewMode;
    spriteChoice_ = request.sprites;
    files_ = {};
    // Nothing of the last picture shows through.
    fillAsBasicScreen(request.screenMode, vdp_->vramForLoading());
    openOpened(request.screenFile, screen, FileSlot::vram0);
    if (!request.vram1File.path().empty()) {
        openOpened(request.vram1File, readChecked(request.vram1File, FileSlot::vram1, mapping_),
                   FileSlot::vram1);
    }
    const std::optional<FileError> unread = takePaletteFile(request);
    selectSourcePalette();
    if (unread) {
        throw ReloadError(unread->fileName(), unread->what(), unread->fault());
    }
}

PictureRequest ScreenDocument::requestFor(const Location& name) const {
    return edited(resolve(fileSource(), name), Loading::alone);
}

PictureRequest ScreenDocument::edited(PictureRequest request, Loading loading) const {
    const auto linePixels = request.mapping.linePixels; // the mode's full line
    request.mapping = mapping_;
    request.mapping.linePixels = linePixels;
    request.colourModel = vdp_->colourModel();
    request.viewMode = viewMode_;
    request.sprites = spriteChoice_;
    request.largeSprites = largeSprites();
    const Location& open = files_[indexOf(FileSlot::palette)];
    if (paletteOrigin_ == PaletteOrigin::byHand && !open.path().empty() &&
        (loading == Loading::first || keepPalette_ ||
         mapping_.paletteSource != PaletteSource::automatic)) {
        request.paletteFile = open;
        request.paletteOrigin = PaletteOrigin::byHand;
    }
    return request;
}

Picture ScreenDocument::pictureOf(const PictureRequest& request) {
    ScreenDocument document;
    document.open(request);
    return document.takePicture();
}

std::array<std::string, kFileSlots.size()> ScreenDocument::inputFiles() const {
    std::array<std::string, kFileSlots.size()> files;
    std::ranges::transform(files_, files.begin(), &Location::hostFile);
    return files;
}

void ScreenDocument::copyVram0ToVram1() {
    const auto vram = vdp_->vramForLoading();
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

void ScreenDocument::setLargeSprites(bool large) {
    SpriteTables sprites = vdp_->spriteTables();
    sprites.large = large;
    vdp_->setSpriteTables(sprites);
}

bool ScreenDocument::largeSprites() const {
    return vdp_->spriteTables().large;
}

bool ScreenDocument::spritesDrawn() const {
    switch (spriteChoice_) {
    case SpriteChoice::on:
        return true;
    case SpriteChoice::off:
        return false;
    case SpriteChoice::automatic:
        break;
    }
    return vdp_->spritesShown();
}

const Picture& ScreenDocument::render() {
    vdp_->setSpritesDrawn(spritesDrawn());
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
    return vramPaletteFinding() == PaletteFinding::holds ? PaletteSource::vram
                                                         : PaletteSource::standard;
}

PaletteFinding ScreenDocument::vramPaletteFinding() const {
    const ScreenModeFacts* facts = findScreenMode(vdp_->screenMode());
    if (facts == nullptr) {
        return PaletteFinding::noPaletteMode;
    }
    if (vram0Carried_) {
        return PaletteFinding::holds; // checked when it was found
    }
    return tessarin::vramPaletteFinding(vdp_->vram(), *facts, vram0Written_);
}

std::string ScreenDocument::layoutDescription() const {
    if (fileName(FileSlot::vram0).empty()) {
        return {};
    }
    if (mapping_.layout == LayoutChoice::fixed) {
        return "fixed: header " + std::to_string(mapping_.headerSize[indexOf(FileSlot::vram0)]) +
               ", " + std::to_string(mapping_.linePixels[indexOf(FileSlot::vram0)]) +
               " pixels a line";
    }
    return describeLayout(vram0Layout_);
}

PaletteChoice ScreenDocument::paletteChoice() const {
    using Why = PaletteChoice::Why;
    PaletteChoice choice;
    choice.leftOutFile = paletteLeftOut_;
    choice.leftOutReason = paletteLeftOutReason_;
    // A direct-colour mode shows its bytes' own colours whichever palette is chosen.
    if (const ScreenModeFacts* facts = findScreenMode(vdp_->screenMode());
        facts != nullptr && !facts->usesPalette()) {
        choice.why = Why::directColours;
        return choice;
    }
    switch (paletteInEffect()) {
    case PaletteSource::file:
        choice.paletteFile = files_[indexOf(FileSlot::palette)].nameInFolder();
        choice.origin = paletteOrigin_;
        choice.why =
            paletteOrigin_ == PaletteOrigin::byHand && keepPalette_ ? Why::keptFile : Why::file;
        break;
    case PaletteSource::vram:
        choice.why = vram0Carried_ == PalettePlace::appended ? Why::appended : Why::inFile;
        break;
    default:
        if (mapping_.paletteSource == PaletteSource::automatic) {
            choice.why = Why::standardFound;
            choice.finding = vramPaletteFinding();
        } else {
            choice.why = Why::standard;
        }
        break;
    }
    return choice;
}

std::optional<std::pair<int, int>> ScreenDocument::browsePosition() const {
    if (fileName(FileSlot::vram0).empty()) {
        return std::nullopt;
    }
    const std::string& shown = fileName(FileSlot::vram0);
    if (auto place = chosen_.placeOf(shown)) {
        return place;
    }
    return fileSource().placeInFolder(Location::of(shown));
}

std::optional<Location> ScreenDocument::neighbourOf(const Location& current, int step,
                                                    bool crossPlaces) const {
    if (chosen_.placeOf(current.path())) {
        const std::optional<std::string> next = chosen_.neighbour(current.path(), step);
        return next ? std::optional(Location::of(*next)) : std::nullopt;
    }
    std::optional<Location> next = fileSource().neighbourScreenFile(current, step);
    if (!next && crossPlaces) {
        next = intoNextPlace(current.folder(), step);
    }
    return next;
}

std::optional<Location> ScreenDocument::intoNextPlace(const Location& place, int step) {
    const std::vector<Location> beside = placesIn(place.folder());
    const auto at = std::ranges::find(beside, place.path(), &Location::path);
    if (at == beside.end()) {
        return std::nullopt;
    }
    const auto index = at - beside.begin();
    for (auto i = index + (step > 0 ? 1 : -1);
         i >= 0 && i<std::ssize(beside); i += step> 0 ? 1 : -1) {
        const Location& next = beside[static_cast<std::size_t>(i)];
        try {
            const std::vector<Location> files = fileSource().screenFilesOf(next);
            if (!files.empty()) {
                return step > 0 ? files.front() : files.back();
            }
        } catch (const FileError&) {
            // a disk image that is no disk, a folder that cannot be read: on to the next
        }
    }
    return std::nullopt;
}

ScreenDocument::BrowseStep ScreenDocument::openNeighbour(int step) {
    BrowseStep result;
    const std::string shown = fileName(FileSlot::vram0);
    if (shown.empty()) {
        return result;
    }
    Location from = Location::of(shown);
    // One step at a time goes on past the last picture of a disk or archive into the next
    // one beside it; a jump to an end stays in the folder.
    const bool crossPlaces = step == 1 || step == -1;
    for (;;) {
        auto screenFile = neighbourOf(from, step, crossPlaces);
        if (!screenFile || (screenFile->path() == shown && from.path() != shown)) {
            break; // back at the file shown: none between could be read
        }
        from = *screenFile;
        if (step > 1 || step < -1) {
            step = step > 0 ? -1 : 1; // past a jump to an end, the files before it
        }
        // Read before anything changes: a file that cannot be read leaves the document as
        // it was, and the step goes on past it.
        try {
            (void)readChecked(*screenFile, FileSlot::vram0, mapping_);
        } catch (const FileError& error) {
            result.skipped.push_back(error);
            continue;
        }
        open(requestFor(*screenFile));
        result.opened = screenFile->path();
        break;
    }
    return result;
}

void ScreenDocument::openListed(const std::string& screenFile) {
    open(requestFor(Location::of(screenFile)));
}

std::vector<FileError> ScreenDocument::folderDamage() const {
    const std::string& file = fileName(FileSlot::vram0);
    if (file.empty()) {
        return {};
    }
    try {
        return fileSource().damageOf(Location::of(file).folder());
    } catch (const FileError&) {
        return {}; // no disk now: the next read says so, naming it
    }
}

void ScreenDocument::loadSlot(FileSlot slot) {
    if (!isFileSlot(slot)) {
        return;
    }
    const InputBytes in = readChecked(Location::of(fileName(slot)), slot, mapping_);
    loadFrom(slot, in);
}

const std::string& ScreenDocument::fileName(FileSlot slot) const {
    static const std::string kNone;
    return isFileSlot(slot) ? files_[indexOf(slot)].path() : kNone;
}

void ScreenDocument::loadFrom(FileSlot slot, const InputBytes& in) {
    const std::span<std::uint8_t, kVramSize> vram(vdp_->vramForLoading());
    const ScreenModeFacts* facts = findScreenMode(vdp_->screenMode());
    const bool ownLayout = mapping_.layout == LayoutChoice::automatic && facts != nullptr;
    switch (slot) {
    case FileSlot::vram0:
        vram0Carried_.reset();
        if (ownLayout) {
            vram0Layout_ = detectLayout(in.bytes, in.size, *facts);
            vram0Written_ = layScreenFile(vram0Layout_, in.bytes, vram, *facts, 0);
            // The palette past the data goes where the machine keeps it; the picture still
            // ends at the end address.
            if (const auto carried = paletteBeyondData(vram0Layout_, in.bytes, *facts)) {
                std::ranges::copy(carried->table, vram.begin() + facts->paletteTable);
                vram0Carried_ = carried->place;
            }
            break;
        }
        // Data past 64 KB runs on into VRAM1, up to the end of VRAM.
        vram0Written_ = VramRange{0, static_cast<std::uint32_t>(layPastHeader(
                                         in, mapping_.headerSize[indexOf(FileSlot::vram0)], vram))};
        vdp_->remapLinePixels(mapping_.linePixels[indexOf(FileSlot::vram0)]);
        break;
    case FileSlot::vram1:
        if (ownLayout) {
            // Page 1 of the picture: the interlace companion, the second page of a pair.
            layScreenFile(detectLayout(in.bytes, in.size, *facts), in.bytes, vram, *facts,
                          static_cast<std::uint32_t>(facts->pageSize));
            break;
        }
        // Laid in byte for byte: packed VRAM1 data is never re-laid.
        layPastHeader(in, mapping_.headerSize[indexOf(FileSlot::vram1)],
                      vram.subspan(kVramHalfSize, kVramHalfSize));
        break;
    case FileSlot::palette:
        vdp_->setFilePalette(readPaletteFile(in.bytes));
        break;
    default:
        break;
    }
}

void ScreenDocument::reload() {
    // VRAM1 last: its file overwrites the tail of a long VRAM0 file.
    for (const FileSlot slot : kFileSlots) {
        if (!fileName(slot).empty()) {
            loadSlot(slot);
        }
    }
}

} // namespace tessarin
