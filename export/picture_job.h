#pragma once

#include "document/picture_recipe.h"
#include "export/options.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tessarin::exporter {

// One picture of a command line: the choices of the one picture recipe.
using PictureJob = PictureChoices;

// The job for one screen file with the given palette file (may be empty).
[[nodiscard]] PictureJob jobFor(const ExportOptions& options, const std::string& screenFile,
                                const std::string& paletteFile);

// Whether target may be replaced: -o replaces, a batch never overwrites.
enum class Overwrite { replace, refuse };

// Makes the job's picture (makePicture) and writes it to target in the format. The picture goes to
// a scratch file beside target first and is renamed into place when complete, so a failure leaves
// target as it was and no scratch file behind. Every input must be a readable, non-empty regular
// file. Throws FileError naming the file.
void exportPicture(const PictureJob& job, const std::string& target, ImageFormat format,
                   Overwrite overwrite);

} // namespace tessarin::exporter
