#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tessarin::exporter {

// The gallery's pages, besides one page per folder (page-N.html).
inline constexpr const char* kIndexPage = "index.html";
inline constexpr const char* kDuplicatesPage = "duplicates.html";
inline constexpr const char* kNearDuplicatesPage = "near-duplicates.html";
inline constexpr const char* kProblemsPage = "problems.html";

// The filter above a list of entries, and that list opened; kListEnd closes a list.
inline constexpr const char* kFilter =
    "<p><input id=\"q\" type=\"search\" placeholder=\"Filter by name, mode, folder\" "
    "autofocus> <span id=\"shown\"></span></p>\n<ul id=\"g\">\n";
inline constexpr const char* kListEnd = "</ul>\n";

// text with &, <, >, " and ' as HTML's character references.
[[nodiscard]] std::string escaped(std::string_view text);
// A page's start up to its heading, title escaped.
[[nodiscard]] std::string pageHead(std::string_view title);
// The links to the pages every page has, with the counts of their groups and problems.
[[nodiscard]] std::string pageNav(std::size_t duplicated, std::size_t near, std::size_t problems);
// A page's end, with the filter's script or without.
[[nodiscard]] std::string pageEnd(bool withScript);
// A heading and the list of lines that follows it, opened.
[[nodiscard]] std::string listHead(std::string_view heading);

// What the pages show of one picture.
struct Shown {
    std::string location; // its path through folders, disks and archives
    std::string mode;
    std::string picture;   // relative to OUT
    std::string thumbnail; // likewise
    std::uint64_t width = 0;
    std::uint64_t height = 0;
    std::uint64_t thumbWidth = 0;
    std::uint64_t thumbHeight = 0;
    std::uint64_t nearHash = 0;
};

// One group of equal pictures' entry, made as its places come: the first place's
// thumbnail, linked to its full picture, the name, mode and size, and every place of the
// group, each HTML-escaped and each link percent-encoded.
class GroupHtml {
public:
    [[nodiscard]] bool empty() const { return !started_; }
    // The group's next place.
    void add(Shown shown);
    // The entry, leaving this empty.
    [[nodiscard]] std::string take();
    // The near hash of the group's first place.
    [[nodiscard]] std::uint64_t nearHash() const { return first_.nearHash; }

private:
    Shown first_;
    std::string find_;
    bool started_ = false;
    std::string locations_;
};

} // namespace tessarin::exporter
