#pragma once

#include "document/chosen_files.h"
#include "document/palette_choice.h"
#include "document/picture_request.h"
#include "document/render_picture.h"
#include "document/view_geometry.h"
#include "document/vocabulary.h"
#include "formats/palette_shape.h"
#include "formats/screen_layout.h"
#include "platform/file_error.h"
#include "storage/location.h"
#include "storage/storage.h"
#include "vdp/screen_modes.h"
#include "vdp/vdp_state.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tessarin {

struct PictureFiles;

// A file already open could not be loaded again during an operation that was still done
// to its end: the new file was opened all the same.
class ReloadError : public FileError {
public:
    using FileError::FileError;
};

// The files the user opened, how they are laid into the one VDP, the view, and its
// picture. The operations are the viewer's steps, each in its one order; the window, the
// exporter, the tests and the fuzz targets all go through them, so that they produce the
// same picture from the same steps. Every operation that reads a file throws FileError
// naming it when the file cannot be read.
class ScreenDocument {
public:
    ScreenDocument();

    // --- The viewer's steps. Each changes what render() gives.

    // By the file-name rule: a palette file into the palette slot (one larger than a
    // palette file can be is a screen file); otherwise the screen mode the name gives, if
    // any, is selected first, then the file goes into VRAM0 and its companion, if any,
    // into VRAM1. A disk image opens its first screen file.
    // Returns the slot the file went into. A file that cannot be opened throws FileError
    // before anything changes; a file already open that the mode's reload cannot read
    // throws ReloadError naming it once the new file is in.
    FileSlot openByName(const std::string& fileName);
    // Loads the file into slot; from now on there is a picture. A palette file becomes
    // the active palette. The VRAM palette, when in effect, follows every change of VRAM
    // and mode. A missing, unreadable, not regular or empty file throws FileError naming
    // it and the reason before anything changes. A disk image into VRAM0 opens as
    // openByName opens it: its first picture, in its mode, with its companion (ReloadError
    // as there).
    void openInto(const std::string& fileName, FileSlot slot);
    // Sets the VDP's mode (page 0) and both line widths to the mode's full line; with a
    // picture, reloads every file with them. An unsupported mode does nothing.
    void selectScreenMode(ScreenMode mode);
    // Takes the whole mapping, as the mapping dialog's OK does: reloads every file with
    // it, then makes its palette source active (the VRAM palette read afresh).
    void applyMapping(const VramMapping& newMapping);
    // Makes the palette of the mapping's source active again, after a preview of another.
    void restorePalette();
    // Keep Palette: a palette file the user opened stays through browsing until turned off,
    // instead of each picture taking its own colours.
    void setKeepPalette(bool keep) { keepPalette_ = keep; }
    [[nodiscard]] bool keepsPalette() const { return keepPalette_; }
    // Copies VRAM0 (64 KB) over VRAM1; it lasts until a load next writes into VRAM1.
    void copyVram0ToVram1();
    // The geometry of the picture.
    void setViewMode(ViewMode mode);
    // Makes model the VDP's colour model and the mapping's palette source active again, so
    // that the standard palette is the model's own.
    void setColourModel(ColourModel model);
    // Whether the sprites are drawn: automatic draws them when they show on the picture.
    void setSpriteChoice(SpriteChoice choice) { spriteChoice_ = choice; }
    [[nodiscard]] SpriteChoice spriteChoice() const { return spriteChoice_; }
    // Whether sprites are 16x16 (as after SCREEN n,2) or 8x8 (as SCREEN n leaves them): a
    // file does not say; kept for the files opened after.
    void setLargeSprites(bool large);
    [[nodiscard]] bool largeSprites() const;
    // Whether the picture of the current VRAM has sprites drawn over it: the choice, and
    // for automatic whether any sprite shows.
    [[nodiscard]] bool spritesDrawn() const;
    // Renders the picture of the current VRAM, palette, sprites and view mode, once, and
    // keeps it.
    const Picture& render();
    // Renders as render() does and hands the picture over instead of keeping it: picture()
    // is empty until the next render.
    [[nodiscard]] Picture takePicture();

    // The picture of the last render; empty before the first.
    [[nodiscard]] const Picture& picture() const { return picture_; }
    // True from the first file opened on.
    [[nodiscard]] bool hasPicture() const { return hasPicture_; }
    // The view mode of the picture.
    [[nodiscard]] ViewMode viewMode() const { return viewMode_; }
    // The palette shown: the mapping's source, or for automatic the palette file when one
    // is open (by hand, else the screen file's by base name), else the table the VRAM0 file
    // carries (in VRAM, past a BSAVE's end, appended), else its folder's only palette file
    // (opened with the picture), else the standard palette.
    [[nodiscard]] PaletteSource paletteInEffect() const {
        return resolvePalette(mapping_.paletteSource);
    }
    // The palette that source would show now: itself, or what automatic picks.
    [[nodiscard]] PaletteSource resolvePalette(PaletteSource source) const;
    // Whether the palette table in VRAM is a palette the VRAM0 file brought.
    [[nodiscard]] PaletteFinding vramPaletteFinding() const;
    // For the user: the VRAM0 file's layout ("BSAVE 0000–769F", "fixed: header 7, 256
    // pixels a line"); empty without one.
    [[nodiscard]] std::string layoutDescription() const;
    // What the VRAM0 file's bytes are when they are no picture, or the modes they fit
    // where its name's mode is not one; nothing for a picture or without a file.
    [[nodiscard]] const ContentNote& contentNote() const { return contentNote_; }
    // Whether the VRAM0 file is a picture of a format an import converts (PNG, JPEG).
    [[nodiscard]] bool contentImportable() const { return contentImportable_; }
    // The palette in effect and why, and a palette file beside the picture left out:
    // none for a mode of direct colours.
    [[nodiscard]] PaletteChoice paletteChoice() const;
    // The VRAM0 file's place among the screen files of its folder (from 1) and their count.
    [[nodiscard]] std::optional<std::pair<int, int>> browsePosition() const;
    // True while a VRAM1 file (or a screen file's companion) is open.
    [[nodiscard]] bool hasVram1() const { return !fileName(FileSlot::vram1).empty(); }

    // What a step through the folder did: the file opened (nothing at either end) and the
    // files stepped over because they could not be read, each with its error, in order.
    struct BrowseStep {
        std::optional<std::string> opened;
        std::vector<FileError> skipped;
    };
    // Opens the screen file step places after (step > 0) or before (step < 0) the VRAM0 file
    // in its folder (a directory or a disk image), in file-manager order, as far as its first
    // or last (kFolderEnd reaches them), as if opened alone: VRAM
    // cleared, VRAM1 only from its own companion, with the palette file of its base name;
    // without one the palette goes back to automatic unless the user chose a source. A
    // file that cannot be read is stepped over to the next one (past a jump of more than one
    // place, back towards the VRAM0 file), leaving the document as it was; one damaged file
    // never hides the rest of the folder. One step past the last picture of a folder, disk
    // image or archive goes on to the first picture of the next one beside it (back from
    // the first, to the last of the one before), in the order of its folder's grid.
    BrowseStep openNeighbour(int step);
    // A step of openNeighbour to the folder's last file; its negative to the first.
    static constexpr int kFolderEnd = 1 << 30;
    // Opens screenFile, one of its folder's screen files, as a step through the folder
    // opens it (openNeighbour): alone, with the palette file of its base name. FileError
    // naming it when it cannot be read.
    void openListed(const std::string& screenFile);
    // From now on, while the VRAM0 file is one of screenFiles, openNeighbour and
    // browsePosition go through them, in this order, instead of through its folder: the
    // pictures a command line names.
    void browseAmong(std::vector<std::string> screenFiles) {
        chosen_ = ChosenFiles(std::move(screenFiles));
    }
    // What the reader found wrong in the folder (disk image) of the VRAM0 file, each
    // problem once; empty for a sound disk, a directory or no file.
    [[nodiscard]] std::vector<FileError> folderDamage() const;

    // --- What the document holds.

    // The VDP the files are laid into.
    [[nodiscard]] const VdpState& vdp() const { return *vdp_; }
    // The file open in slot; empty when none.
    [[nodiscard]] const std::string& fileName(FileSlot slot) const;
    // The file-system files the picture is read from, one per slot (empty when none): the
    // disk image for a file inside one. What a save must not replace.
    [[nodiscard]] std::array<std::string, kFileSlots.size()> inputFiles() const;
    // How the files are laid into VRAM and where the palette comes from.
    [[nodiscard]] const VramMapping& mapping() const { return mapping_; }
    // Shows the palette that source would show now, without making it the mapping's: the
    // mapping dialog's preview. restorePalette puts the mapping's back.
    void previewPalette(PaletteSource source);

    // The one load of a picture: the request's files laid alone, as on a new VDP in the
    // request's mode, colours and view, with its mapping from the start, each file once:
    // VRAM as BASIC's SCREEN leaves it, the screen file, its page 1, then the palette
    // file, else the file's own colours, else its folder's only palette. A screen file
    // that cannot be read throws FileError before anything changes; a page 1 that cannot
    // throws FileError naming it; a palette file named by hand that cannot, ReloadError
    // naming it once the rest is in.
    void open(const PictureRequest& request);
    // The request of name as this document opens it alone (openNeighbour, openListed):
    // resolve's, edited by what the user set that outlasts a picture: the mapping's
    // header sizes, layout and palette source, the colour model, the view, and a palette
    // file opened by hand that stays (Keep Palette, or a palette source chosen). FileError
    // as resolve.
    [[nodiscard]] PictureRequest requestFor(const Location& name) const;
    // The picture of the request as open() lays it, rendered. Throws FileError naming a
    // file that cannot be read.
    [[nodiscard]] static Picture pictureOf(const PictureRequest& request);

private:
    friend class ScreenDocumentProbe; // the tests' view of the loading steps

    // The screen file step places from current among the chosen files when it is one of
    // them, else in its folder (as openNeighbour steps).
    // With crossPlaces, past the end of a disk image or archive, into the next beside it
    // (intoNextPlace).
    [[nodiscard]] std::optional<Location> neighbourOf(const Location& current, int step,
                                                      bool crossPlaces) const;
    // The first picture (step > 0) or the last (step < 0) of the next folder, disk image or
    // archive beside place that holds one, in the grid's order of its folder's places;
    // nothing past the last.
    [[nodiscard]] static std::optional<Location> intoNextPlace(const Location& place, int step);

    // Reads the slot's stored file: into VRAM0 (then re-laid by linePixels[0]), VRAM1,
    // or the file palette. Throws FileError when the file cannot be opened or read; after
    // a read error VRAM holds the bytes read before it (and VRAM0 is not re-laid).
    void loadSlot(FileSlot slot);
    // Loads again, in slot order, every slot that has a name.
    void reload();
    // By the file-name rule, on top of what is open (menus, drops, the command line): with
    // nothing laid yet, a screen file's request laid by the one load.
    FileSlot openNamed(const Location& name);
    // How a request is made of what the document holds: a picture opened alone (browsing),
    // or the first one laid, over which a palette opened by hand stays.
    enum class Loading : std::uint8_t { alone, first };
    // request, resolve's, edited by what the user set that outlasts a picture (requestFor).
    [[nodiscard]] PictureRequest edited(PictureRequest request, Loading loading) const;
    // open() with the screen file already read and checked.
    void openRead(const PictureRequest& request, const InputBytes& screen);
    // openInto for the location of the name.
    void openAt(const Location& file, FileSlot slot);
    // The bytes a load of slot with mapping can lay; FileError naming the file when it
    // cannot be read or holds nothing.
    static InputBytes readChecked(const Location& file, FileSlot slot, const VramMapping& mapping);
    // openInto for a file already read and checked to hold something.
    void openOpened(const Location& file, const InputBytes& in, FileSlot slot);
    // loadSlot from the open file.
    void loadFrom(FileSlot slot, const InputBytes& in);
    // After a screen file is laid on top of what is open: the palette file its picture
    // takes (paired by base name), unless one opened by hand stays.
    void choosePaletteFile(const Location& screenFile, const PictureFiles& paired);
    // The request's palette file laid in (by hand, or found and left out when it cannot
    // be), else its folder's only one when the screen file carries none; the file left
    // out noted for paletteChoice. Returns a palette named by hand that could not be read.
    std::optional<FileError> takePaletteFile(const PictureRequest& request);
    // The mapping's palette source made active; the VRAM palette read from VRAM first.
    void selectSourcePalette();
    // With the VRAM palette in effect, reads it again: VRAM may hold another table now.
    void followVramPalette();

    std::unique_ptr<VdpState> vdp_;
    // The files open, as opened; one is read through a location made again from its name,
    // as the files may have changed since.
    std::array<Location, kFileSlots.size()> files_;
    VramMapping mapping_;
    ViewMode viewMode_ = ViewMode::plain256x212;
    SpriteChoice spriteChoice_ = SpriteChoice::automatic;
    // What the last VRAM0 load found and where it wrote.
    ScreenLayout vram0Layout_;
    VramRange vram0Written_;
    std::optional<PalettePlace> vram0Carried_; // a table found beyond the data, laid in
    PaletteOrigin paletteOrigin_ = PaletteOrigin::byHand;
    bool keepPalette_ = false;
    // A palette file beside the VRAM0 file left out, by its name in its folder, and why.
    std::string paletteLeftOut_;
    NotPicture paletteLeftOutReason_ = NotPicture::none;
    ContentNote contentNote_;
    bool contentImportable_ = false;
    bool hasPicture_ = false;
    Picture picture_;
    ChosenFiles chosen_;
};

} // namespace tessarin
