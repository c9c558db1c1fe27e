#include "export/catalogue_entry.h"

#include "catalog/file_source.h"
#include "convert/encode.h"
#include "document/image_source.h"
#include "document/picture_recipe.h"
#include "export/picture_hash.h"
#include "export/printable.h"
#include "image/image_input.h"
#include "platform/target_file.h"
#include "vdp/screen_modes.h"

#include <filesystem>

namespace tessarin::exporter {

namespace {

std::string relativeTo(const std::string& root, const std::string& path) {
    return path.starts_with(root + "/") ? path.substr(root.size() + 1) : path;
}

void writePng(const Picture& picture, const std::string& target) {
    writeTargetFile(target, encode(picture, ImageFormat::png).pieces(), ReplaceMode::replace);
}

bool isFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

std::string modeText(ScreenMode mode) {
    const ScreenModeFacts* facts = findScreenMode(mode);
    return facts == nullptr ? std::string("screen ?") : "screen " + std::string(facts->name);
}

// The full picture and what the document tells of it; a PNG or JPEG FILE is its own.
DescribedPicture describedOf(const PictureJob& job, CatalogueEntry& entry) {
    if (job.unresolved) {
        throw *job.unresolved;
    }
    if (isImageInputName(job.screenFile.path())) {
        entry.mode = "PNG or JPEG picture";
        return {readSourceImage(fileSource(), job.screenFile).picture, {}, {}};
    }
    PictureChoices choices = job;
    choices.thumbnailSize.reset();
    DescribedPicture described = describePicture(choices);
    entry.mode = modeText(job.screenMode);
    entry.layout = described.layout;
    entry.palette = describe(described.palette);
    return described;
}

} // namespace

std::string sheetPathOf(const CatalogueFolders& folders, const std::string& sheetFolder) {
    return folders.sheets + "/" + relativeTo(folders.pictures, sheetFolder) + ".png";
}

std::string thumbnailPathOf(const CatalogueFolders& folders, const std::string& picturePath) {
    return folders.thumbs + "/" + relativeTo(folders.pictures, picturePath);
}

CatalogueEntry catalogueEntryOf(const BatchItem& item, const PictureJob& job,
                                const CatalogueFolders& folders) {
    CatalogueEntry entry;
    entry.location = item.screenFile.path();
    const DescribedPicture described = describedOf(job, entry);
    const Picture& full = described.picture;
    entry.width = full.width();
    entry.height = full.height();
    entry.hash = pictureHash(full);
    entry.nearHash = nearHash(full);
    // The thumbnail recipe's square pixels and fit, from the picture already made.
    entry.sheetThumbnail =
        finishPicture(full, job.viewMode, {PixelAspect::square, folders.thumbnailSize});
    entry.thumbWidth = entry.sheetThumbnail.width();
    entry.thumbHeight = entry.sheetThumbnail.height();
    if (!folders.sheetsOnly) {
        const std::string thumbnail = thumbnailPathOf(folders, item.output);
        writePng(full, item.output);
        writePng(entry.sheetThumbnail, thumbnail);
        entry.picture = relativeTo(folders.root, item.output);
        entry.thumbnail = relativeTo(folders.root, thumbnail);
    }
    return entry;
}

bool stillThere(const BatchItem& item, const CatalogueFolders& folders,
                const CatalogueEntry& earlier) {
    const std::string thumbnail = thumbnailPathOf(folders, item.output);
    return earlier.picture == printable(relativeTo(folders.root, item.output)) &&
           earlier.thumbnail == printable(relativeTo(folders.root, thumbnail)) &&
           isFile(item.output) && isFile(thumbnail);
}

CatalogueEntry keptEntry(const BatchItem& item, const CatalogueFolders& folders,
                         const CatalogueEntry& earlier, bool withThumbnail) {
    CatalogueEntry entry = earlier;
    const std::string thumbnail = thumbnailPathOf(folders, item.output);
    entry.location = item.screenFile.path();
    entry.picture = relativeTo(folders.root, item.output);
    entry.thumbnail = relativeTo(folders.root, thumbnail);
    if (withThumbnail) {
        entry.sheetThumbnail = readSourceImage(fileSource(), Location::of(thumbnail)).picture;
    }
    return entry;
}

} // namespace tessarin::exporter
