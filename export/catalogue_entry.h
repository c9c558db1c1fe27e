#pragma once

#include "export/batch_plan.h"
#include "image/picture.h"

#include <cstdint>
#include <optional>
#include <string>

namespace tessarin::exporter {

// Where a catalogue writes: the full pictures under pictures/, the thumbnails under
// thumbs/, both in the batch's folders and names (planBatch into pictures/), and the
// contact sheets under sheets/ (OUT itself with sheetsOnly).
struct CatalogueFolders {
    std::string root;     // OUT
    std::string pictures; // OUT/pictures: the batch's OUTDIR
    std::string thumbs;   // OUT/thumbs
    std::string sheets;   // OUT/sheets, or OUT
    bool sheetsOnly = false;
    std::int16_t thumbnailSize = 0;
};

// One picture of the catalogue, as its row and its page tell of it.
struct CatalogueEntry {
    std::string location; // its path through folders, disks and archives, as named
    std::string mode;     // "screen 5", or "PNG or JPEG picture"
    std::string layout;   // describeLayout's, empty for a PNG or JPEG picture
    std::string palette;  // the palette and why (describe), empty likewise
    int width = 0;
    int height = 0;
    std::uint64_t hash = 0;     // pictureHash of the full picture
    std::uint64_t nearHash = 0; // nearHash of it
    std::string picture;        // relative to OUT; empty with sheetsOnly
    std::string thumbnail;      // likewise
    int thumbWidth = 0;
    int thumbHeight = 0;
    std::string sourceKey;  // what it was made from (sourceKey), for a rerun to compare
    Picture sheetThumbnail; // kept for the contact sheet of its disk or archive
};

// The contact sheet of the disk or archive whose pictures go to sheetFolder (a part's):
// its path under folders.pictures as a file under folders.sheets, so that no two collide
// ("OUT/sheets/A/GAME.png" for "OUT/pictures/A/GAME").
[[nodiscard]] std::string sheetPathOf(const CatalogueFolders& folders,
                                      const std::string& sheetFolder);

// The thumbnail of item's output under folders.thumbs, beside where the full picture goes.
[[nodiscard]] std::string thumbnailPathOf(const CatalogueFolders& folders,
                                          const std::string& picturePath);

// Makes item's picture by its job (the one recipe), its thumbnail from it as the
// thumbnail recipe fits one, and writes both as PNG (not with sheetsOnly). Throws FileError
// naming the file that cannot be read or written.
[[nodiscard]] CatalogueEntry catalogueEntryOf(const BatchItem& item, const PictureJob& job,
                                              const CatalogueFolders& folders);

// Whether earlier, an earlier run's entry of item's location made from the same sources, is
// still there: its picture and thumbnail named as this run names item's (printable, as the
// table holds them), and both files present.
[[nodiscard]] bool stillThere(const BatchItem& item, const CatalogueFolders& folders,
                              const CatalogueEntry& earlier);

// earlier as this run's entry of item, with its thumbnail read back from its PNG file when
// withThumbnail (for a contact sheet made anew). Throws FileError naming a thumbnail that
// cannot be read.
[[nodiscard]] CatalogueEntry keptEntry(const BatchItem& item, const CatalogueFolders& folders,
                                       const CatalogueEntry& earlier, bool withThumbnail);

} // namespace tessarin::exporter
