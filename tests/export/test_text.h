#pragma once

// Test support for the process tests: where the committed samples are, and a plain
// substring check for what a program printed.

#include <string>

namespace tessarin::testing {

[[nodiscard]] inline std::string sample(const std::string& name) {
    return std::string(TESSARIN_SOURCE_DIR) + "/samples/" + name;
}

[[nodiscard]] inline bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

} // namespace tessarin::testing
