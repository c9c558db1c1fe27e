#pragma once

#include "storage/aplib.h"
#include "storage/packed_storage.h"
#include "storage/zx0.h"
#include "storage/zx7.h"

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
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

// The unpacker of the file named so, by its extension in any case (a packing's extension
// alone names it too); nullptr for a name of no packing.
[[nodiscard]] Unpacker unpackerOf(std::string_view name);

// For a file whose name names no packing: the first packing, in kPackings' order, whose
// unpacking of packed (bounded as any) the caller accepts; nullptr for none. file names it
// in what each unpacker would throw; a broken stream only moves on to the next.
[[nodiscard]] const Packing*
packingByTrial(std::span<const std::uint8_t> packed, const std::string& file,
               const std::function<bool(std::span<const std::uint8_t>)>& accepts);

} // namespace tessarin
