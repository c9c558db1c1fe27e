#include "names/name_filter.h"

#include "names/ascii_case.h"

#include <algorithm>

namespace tessarin {

namespace {

constexpr std::string_view kSpaces = " \t";

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kSpaces);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kSpaces) - first + 1);
}

} // namespace

NameFilter::NameFilter(std::string_view typed) : folded_(asciiLower(trimmed(typed))) {}

bool NameFilter::keeps(std::string_view name, std::span<const std::string> modeNames) const {
    if (empty() || asciiLower(name).find(folded_) != std::string::npos) {
        return true;
    }
    // A prefix, not any part: "5" alone is a name's digit, not every picture of screen 5.
    return std::ranges::any_of(
        modeNames, [&](const std::string& mode) { return asciiLower(mode).starts_with(folded_); });
}

} // namespace tessarin
