#pragma once

#include "catalog/file_source.h"

#include <string>

namespace tessarin {

// The files one picture is made of, as a name given to the viewer or the exporter
// resolves: the same for opening, browsing and converting.
struct PictureFiles {
    std::string screenFile;  // the name itself, or a folder's or disk image's first picture
    std::string companion;   // page 1 of its picture (VRAM1); empty when none
    std::string paletteFile; // the palette file beside it by base name; empty when none
    // A file beside it by base name that the name calls a palette but whose bytes are none,
    // left out ("X.pal"), and why ("text, not a palette"); empty when none.
    std::string paletteLeftOut;
    NotPicture leftOutReason = NotPicture::none;
};

// The palette file of screenFile by base name (FileSource::paletteOf), as PictureFiles
// holds it: used when its bytes are a palette file's, else left out with the reason.
void findPaletteFile(FileSource& files, const std::string& screenFile, PictureFiles& into);

// The screen file a name stands for: a folder or a disk image stands for its first screen
// file, a packed file for the file it holds (whatever its bytes, as if named), any other
// name for itself. FileError naming the folder or disk when it holds no
// screen file, or the disk when it is no MSX-DOS disk.
[[nodiscard]] std::string screenFileOf(FileSource& files, const std::string& name);

// The picture's files of name, found through screenFileOf and in the screen file's folder.
// FileError as screenFileOf.
[[nodiscard]] PictureFiles pictureFilesOf(FileSource& files, const std::string& name);

} // namespace tessarin
