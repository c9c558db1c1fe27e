#pragma once

#include "document/screen_document.h"
#include "export/options.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tessarin::exporter {

// Everything that decides one picture: the files and what the viewer would have
// been told about them (screen mode, mapping dialog, size and rotation).
struct PictureJob {
    std::string screenFile;
    std::string vram1File;
    std::string paletteFile;
    ScreenMode screenMode = 7;
    VramMapping mapping;
    ViewMode viewMode = ViewMode::plain256x212;
    std::optional<std::int16_t> thumbnailSize; // the picture fitted to this square
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

// The picture the viewer shows after the same steps: the screen mode chosen, the files
// opened into their slots, the mapping dialog confirmed, the size and rotation chosen.
[[nodiscard]] Picture renderJob(const PictureJob& job);

} // namespace tessarin::exporter
