#pragma once

#include "convert/eye_error.h"
#include "convert/msx_screen.h"
#include "document/picture_recipe.h"
#include "export/options.h"
#include "platform/file_error.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tessarin::exporter {

// One picture of a command line: the choices of the one picture recipe, and how it becomes
// a screen file when one is written.
struct PictureJob : PictureChoices {
    MsxChoices msx;
    // What -v tells of the picture's files: "X.pal left out: text, not a palette".
    std::string note;
    // Why the name stands for no picture (a disk holding none), told when it is made.
    std::optional<FileError> unresolved;
    // Whether a screen file written is measured against its fitted picture (-v).
    bool measured = false;
};

// The job for one screen file (or PNG or JPEG picture) with the given palette file (may be
// empty).
[[nodiscard]] PictureJob jobFor(const ExportOptions& options, const Location& screenFile,
                                const std::string& paletteFile);

// Whether target may be replaced: -o replaces, a batch never overwrites.
enum class Overwrite { replace, refuse };

// Makes the job's picture and writes it to target in the format: a screen file's picture
// (makePicture), or a PNG or JPEG file's own; a screen format converts it (encodeMsx). The
// picture goes to a scratch file beside target first and is renamed into place when
// complete, so a failure leaves target as it was and no scratch file behind. Every input
// must be a readable, non-empty regular file. Returns the colour error of a screen file
// written against its fitted picture where the job is measured. Throws FileError naming
// the file.
std::optional<ColourErrorFigures> exportPicture(const PictureJob& job, const std::string& target,
                                                ImageFormat format, Overwrite overwrite);

} // namespace tessarin::exporter
