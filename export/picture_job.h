#pragma once

#include "document/screen_document.h"
#include "export/options.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tessarin::exporter {

// One picture of a command line: the picture the viewer would show, fitted to the
// thumbnail size when there is one.
struct PictureJob : PictureRequest {
    PixelAspect aspect = PixelAspect::square;  // the picture widened smoothly to this shape
    std::optional<std::int16_t> thumbnailSize; // then fitted to this square
};

// The job for one screen file with the given palette file (may be empty).
[[nodiscard]] PictureJob jobFor(const ExportOptions& options, const std::string& screenFile,
                                const std::string& paletteFile);

// Whether target may be replaced: -o replaces, a batch never overwrites.
enum class Overwrite { replace, refuse };

// Renders the job as the viewer would (fitted to the thumbnail size, if any) and writes it to
// target in the format. The picture goes to a scratch file beside target first and is renamed into
// place when complete, so a failure leaves target as it was and no scratch file behind. Every input
// must be a readable, non-empty regular file. Throws FileError naming the file.
void exportPicture(const PictureJob& job, const std::string& target, ImageFormat format,
                   Overwrite overwrite);

} // namespace tessarin::exporter
