#include "catalog/picture_files.h"

#include "platform/file_error.h"
#include "storage/packed_storage.h"
#include "storage/packings.h"

#include <optional>
#include <utility>

namespace tessarin {

namespace {

// A file on its own whose name says nothing (neither a screen file's, a palette's, a
// program's nor a packing's) and whose bytes are no picture may be a packed one: the file
// held by the first packing whose unpacking is a picture by its bytes. Nothing otherwise,
// and the file is opened as itself.
std::optional<Location> packedByItsBytes(FileSource& files, const Location& file) {
    const std::string name = file.nameInFolder();
    if (file.throughPlace() || pictureKindByName(name) ||
        chooseByFileName(name).slot != FileSlot::vram0 || files.pictureKindOf(file).picture) {
        return std::nullopt;
    }
    InputBytes packed;
    try {
        packed = files.read(file, kMaxPackedBytes + 1);
    } catch (const FileError&) {
        return std::nullopt; // reported when it is opened
    }
    if (packed.size > kMaxPackedBytes) {
        return std::nullopt;
    }
    // Judged under the packed file's own name, which says nothing: by the bytes alone.
    const Packing* packing =
        packingByTrial(packed.bytes, file.path(), [&](std::span<const std::uint8_t> bytes) {
            const PictureKind kind = pictureKind(name, bytes, bytes.size());
            return kind.picture && !kind.palette;
        });
    return packing ? std::optional(Location::packedAs(file, packing->extension)) : std::nullopt;
}

} // namespace

Location screenFileOf(FileSource& files, const Location& name) {
    if (!name.isPlace()) {
        // A file, or nothing, which opening it reports.
        return packedByItsBytes(files, name).value_or(name);
    }
    if (std::optional<Location> held = name.soleFile()) {
        return std::move(*held);
    }
    if (std::vector<Location> screens = files.screenFilesOf(name); !screens.empty()) {
        return std::move(screens.front());
    }
    // An archive of disk images: the first picture of the first that holds one.
    std::optional<FileError> failed;
    for (const Location& file : *files.listFolder(name)) {
        try {
            if (file.holdsFiles()) {
                if (std::vector<Location> inner = files.screenFilesOf(file); !inner.empty()) {
                    return std::move(inner.front());
                }
            }
        } catch (const FileError& error) {
            failed = failed.value_or(error);
        }
    }
    if (failed) {
        throw *failed;
    }
    const std::string& path = name.path();
    throw FileError(path, "\"" + path + "\" holds no screen file", Fault::noScreenFile);
}

void findPaletteFile(FileSource& files, const Location& screenFile, PictureFiles& into) {
    into.paletteFile.reset();
    into.paletteLeftOut.reset();
    into.leftOutReason = {};
    std::optional<Location> paired = files.paletteOf(screenFile);
    if (!paired) {
        return;
    }
    if (const PictureKind kind = files.pictureKindOf(*paired); !kind.palette) {
        into.paletteLeftOut = std::move(paired);
        into.leftOutReason =
            kind.reason == NotPicture::unreadableFile ? NotPicture::unreadablePalette : kind.reason;
        return;
    }
    into.paletteFile = std::move(paired);
}

PictureFiles pictureFilesOf(FileSource& files, const Location& name) {
    PictureFiles picture{screenFileOf(files, name), {}, {}, {}, {}};
    picture.companion = files.companionOf(picture.screenFile);
    findPaletteFile(files, picture.screenFile, picture);
    return picture;
}

} // namespace tessarin
