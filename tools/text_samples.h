#pragma once

#include "tools/sample_pictures.h"

#include <vector>

namespace tessarin::samples {

// The samples of the text screens: screen 0 at 40 and at 80 columns and screen 1, each
// with a font of its own, and a screen 0 file of names only, shown in the machine's font.
[[nodiscard]] std::vector<SampleFile> textSamples();

} // namespace tessarin::samples
