#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tessarin {

// The files a user named together, as a command line names them: browsing walks these,
// in the order named, instead of the folder while the file shown is one of them.
class ChosenFiles {
public:
    ChosenFiles() = default;
    explicit ChosenFiles(std::vector<std::string> files) : files_(std::move(files)) {}

    // The file step places after (step > 0) or before (step < 0) current, the first or
    // last where fewer are left; nothing at that end or when current is not one of them.
    [[nodiscard]] std::optional<std::string> neighbour(const std::string& current, int step) const;
    // Where current stands among them: its place from 1 and their count; nothing when it
    // is not one of them.
    [[nodiscard]] std::optional<std::pair<int, int>> placeOf(const std::string& current) const;

private:
    std::vector<std::string> files_;
};

// Names given together, by the name rule (fileSource().choose): the pictures, which go
// into VRAM0, and the rest (palettes), each in the order named. A page 1 named beside its
// own picture is left to that picture, which brings it.
struct NamedFiles {
    std::vector<std::string> pictures;
    std::vector<std::string> others;
};
[[nodiscard]] NamedFiles sortNamedFiles(const std::vector<std::string>& names);

} // namespace tessarin
