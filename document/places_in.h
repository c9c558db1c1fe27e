#pragma once

#include "storage/location.h"

#include <string>
#include <vector>

namespace tessarin {

// The places inside folder that its thumbnail grid opens into: its subfolders (of a
// directory) and its files that hold files (disk images, archives), each by its path
// as folder lists them, in file-manager order. Nothing for a folder that cannot be read.
[[nodiscard]] std::vector<Location> placesIn(const Location& folder);

} // namespace tessarin
