#pragma once

#include "storage/aplib.h"
#include "storage/packed_storage.h"
#include "storage/zx0.h"
#include "storage/zx7.h"

#include <array>
#include <string_view>

namespace tessarin {

// A packing of game sources, known by the extension the packer gives its files.
struct Packing {
    std::string_view extension;
    Unpacker unpack;
};

// Every packing read, one line each; location.cpp knows their files by these extensions.
inline constexpr std::array kPackings{
    Packing{".zx0", unpackZx0},
    Packing{".zx7", unpackZx7},
    Packing{".apl", unpackAplib},
};

// The unpacker of the file named so, by its extension in any case; nullptr for a name of
// no packing.
[[nodiscard]] Unpacker unpackerOf(std::string_view name);

} // namespace tessarin
