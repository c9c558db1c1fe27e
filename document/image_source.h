#pragma once

#include "catalog/file_source.h"
#include "image/source_image.h"

namespace tessarin {

// The picture of a PNG or JPEG file wherever it lies: a folder, a disk image, an archive.
// Throws FileError naming it when it cannot be read, is over kMaxImageFileSize bytes
// (Fault::pictureTooLarge) or is no picture decodeImage takes.
[[nodiscard]] SourceImage readSourceImage(FileSource& source, const Location& file);

} // namespace tessarin
