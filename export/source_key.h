#pragma once

#include "export/picture_job.h"

#include <cstdint>
#include <string>

namespace tessarin::exporter {

// What a catalogue's picture is made from, as a rerun compares it: the job's choices, the
// thumbnails' size and, for each file it reads (the screen file, VRAM page 1, the palette),
// its name and its host file's size and modification time. The same key again: the same
// picture and thumbnail. Stats those host files; one that cannot be stat'ed makes a key
// no earlier run has.
[[nodiscard]] std::string sourceKey(const PictureJob& job, std::int16_t thumbnailSize);

} // namespace tessarin::exporter
