#pragma once
// The viewer's command line and keys, for its --help and its manual page (standard C++).

#include <array>
#include <string>
#include <string_view>

namespace tessarin {

// One row of the help: what is typed or pressed (", " between spellings) and what it does
// (lines joined by '\n').
struct UsageRow {
    std::string_view label;
    std::string_view help;
};

inline constexpr std::array<UsageRow, 14> kViewerKeys{{
    {"Ctrl+O", "open a screen file or a disk image into VRAM0"},
    {"Ctrl+Shift+O", "open a folder: its thumbnails, its first picture"},
    {"Ctrl+T", "the thumbnails of the picture's folder or disk image,\n"
               "or back to the picture"},
    {"Enter, Esc", "in the thumbnails, open the picture selected; in the\n"
                   "picture, back to the thumbnails at it"},
    {"Ctrl+F", "in the thumbnails, show only the files whose name or mode\n"
               "holds the text typed (Enter opens the first, Esc clears)"},
    {"Ctrl+S, Ctrl+Shift+S", "save the picture as shown, as BMP or PNG"},
    {"Ctrl+C", "copy the picture to the clipboard"},
    {"Page Down, Page Up", "open the next or previous screen file of the folder or\n"
                           "disk image, in a file manager's order"},
    {"Ctrl++, Ctrl+-", "zoom in, zoom out (1x to 8x; also Ctrl+wheel)"},
    {"Ctrl+0", "actual size (zoom 1x)"},
    {"F11, Esc", "full screen, leave full screen"},
    {"arrow keys, wheel, drag", "scroll a picture larger than the window"},
    {"F1", "list every key (Help > Keys)"},
    {"Ctrl+Q", "exit"},
}};

inline constexpr std::array<UsageRow, 3> kViewerOptions{{
    {"--help", "print the usage text and exit"},
    {"--version", "print the version and exit"},
    {"--", "end of options: every later argument is a FILE"},
}};

// The text --help prints.
[[nodiscard]] std::string viewerUsage();

} // namespace tessarin
