#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tessarin::samples {

// One file of the sample set: its name (which follows the viewer's file-name rule)
// and its complete contents.
struct SampleFile {
    std::string name;
    std::vector<std::uint8_t> bytes;
};

// Every sample file, in a fixed order; the same bytes on every call.
[[nodiscard]] std::vector<SampleFile> makeSamples();

} // namespace tessarin::samples
