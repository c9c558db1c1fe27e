#pragma once

#include "storage/location.h"
#include "storage/storage.h"

#include <memory>

namespace tessarin {

// The storage of a place (Location::isPlace). FileError naming it when a file of its kind
// is not one, or when it is no place.
[[nodiscard]] std::unique_ptr<const Storage> openStorage(const Location& place);

} // namespace tessarin
