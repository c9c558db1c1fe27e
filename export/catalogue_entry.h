#pragma once

#include "export/batch_plan.h"
#include "image/picture.h"

#include <cstdint>
#include <optional>
#include <string>

namespace tessarin::exporter {

// Where a catalogue writes: the full pictures under pictures/, the thumbnails under
// thumbs/, both in the batch's folders and names (planBatch into pictures/).
struct CatalogueFolders {
    std::string root;     // OUT
    std::string pictures; // OUT/pictures: the batch's OUTDIR
    std::string thumbs;   // OUT/thumbs
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
    std::uint64_t hash = 0; // pictureHash of the full picture
    std::string picture;    // relative to OUT; empty with sheetsOnly
    std::string thumbnail;  // likewise
    int thumbWidth = 0;
    int thumbHeight = 0;
    Picture sheetThumbnail; // kept for the contact sheet of its disk or archive
};

// The thumbnail of item's output under folders.thumbs, beside where the full picture goes.
[[nodiscard]] std::string thumbnailPathOf(const CatalogueFolders& folders,
                                          const std::string& picturePath);

// Makes item's picture by its job (the one recipe), its thumbnail from it as the
// thumbnail recipe fits one, and writes both as PNG (not with sheetsOnly). Throws FileError
// naming the file that cannot be read or written.
[[nodiscard]] CatalogueEntry catalogueEntryOf(const BatchItem& item,
                                              const CatalogueFolders& folders);

} // namespace tessarin::exporter
