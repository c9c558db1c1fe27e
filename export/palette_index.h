#pragma once

#include <span>
#include <string>
#include <unordered_map>

namespace tessarin::exporter {

// pairedPalette for many screen files among the same candidates: the palette files are
// indexed by base name once, so that a batch of n screen files and m palettes pairs in
// O(n + m) look-ups, not n x m comparisons.
class PaletteIndex {
public:
    // Keeps pointers into candidates, which must outlive the index.
    explicit PaletteIndex(std::span<const std::string> candidates);

    // The candidate pairedPalette(screenFile, candidates) gives, or nullptr for none.
    [[nodiscard]] const std::string* pairedPalette(const std::string& screenFile) const;

private:
    // Lower-case base name to the first palette of that base name in natural order.
    std::unordered_map<std::string, const std::string*> first_;
};

} // namespace tessarin::exporter
