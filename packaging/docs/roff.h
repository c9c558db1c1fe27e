#pragma once
// Option and key lists as man(7) markup, from the texts the programs' --help shows.

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tessarin::docs {

// One entry of a list: its label as --help shows it ("-o, --output OUTPUT",
// "Page Down, Page Up") and its help (lines joined by '\n').
struct ListEntry {
    std::string label;
    std::string help;
};

// Each entry as a .TP paragraph: names and keys bold, the placeholders (words of
// placeholders, such as FILE) italic, the help as a sentence.
[[nodiscard]] std::string manualList(std::span<const ListEntry> entries,
                                     std::span<const std::string> placeholders);

// template_ with every line that is exactly a marker replaced by its text.
struct Insertion {
    std::string_view marker;
    std::string text;
};
[[nodiscard]] std::string fillTemplate(std::string_view template_,
                                       std::span<const Insertion> insertions);

} // namespace tessarin::docs
