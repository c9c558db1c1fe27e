#pragma once

#include <span>
#include <string>
#include <string_view>

namespace tessarin {

// What a filter field typed over a list of files keeps, without regard to ASCII case (the
// case rule of names): a name that holds the text, or a mode one of whose names begins
// with it ("screen 5" and "sc5" keep the pictures of screen 5, "sc5" any name holding it
// too). Spaces around the text count for nothing; an empty text keeps everything.
class NameFilter {
public:
    explicit NameFilter(std::string_view typed = {});

    // Whether nothing is filtered out.
    [[nodiscard]] bool empty() const { return folded_.empty(); }
    // Whether the file of name, shown in a mode named modeNames (none for a folder), stays.
    [[nodiscard]] bool keeps(std::string_view name, std::span<const std::string> modeNames) const;

private:
    std::string folded_;
};

} // namespace tessarin
