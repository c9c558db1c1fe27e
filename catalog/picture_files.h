#pragma once

#include "catalog/file_source.h"

#include <optional>

namespace tessarin {

// The files one picture is made of, as a name given to the viewer or the exporter
// resolves: the same for opening, browsing and converting.
struct PictureFiles {
    Location screenFile;                 // the name itself, or a place's first picture
    std::optional<Location> companion;   // page 1 of its picture (VRAM1)
    std::optional<Location> paletteFile; // the palette file beside it by base name
    // A file beside it by base name that the name calls a palette but whose bytes are none,
    // left out ("X.pal"), and why ("text, not a palette").
    std::optional<Location> paletteLeftOut;
    NotPicture leftOutReason = NotPicture::none;
};

// The palette file of screenFile by base name (FileSource::paletteOf), as PictureFiles
// holds it: used when its bytes are a palette file's, else left out with the reason.
void findPaletteFile(FileSource& files, const Location& screenFile, PictureFiles& into);

// The screen file a name stands for: a folder or a disk image stands for its first screen
// file, a packed file for the file it holds (whatever its bytes, as if named), a file on
// its own whose name says nothing and whose bytes are no picture for what it unpacks to
// where a packing's unpacking is a picture by its bytes, any other name for itself. FileError naming the folder or disk when it holds no
// screen file, or the disk when it is no MSX-DOS disk.
[[nodiscard]] Location screenFileOf(FileSource& files, const Location& name);

// The picture's files of name, found through screenFileOf and in the screen file's folder.
// FileError as screenFileOf.
[[nodiscard]] PictureFiles pictureFilesOf(FileSource& files, const Location& name);

} // namespace tessarin
