#include "app/viewer_usage.h"

#include <algorithm>
#include <span>

namespace tessarin {

namespace {

// Labels in a column, their help beside them from kHelpColumn on (at least two spaces on).
std::string rows(std::span<const UsageRow> table) {
    constexpr std::size_t kIndent = 2;
    constexpr std::size_t kHelpColumn = 24;
    std::string text;
    for (const UsageRow& row : table) {
        std::string line = std::string(kIndent, ' ').append(row.label);
        line.resize(std::max(line.size() + 2, kHelpColumn), ' ');
        for (const char c : row.help) {
            line.append(c == '\n' ? "\n" + std::string(kHelpColumn, ' ') : std::string(1, c));
        }
        text.append(line).append("\n");
    }
    return text;
}

} // namespace

std::string viewerUsage() {
    return std::string(R"(Usage: tessarin [FILE...]
Shows MSX screen files (screens 2 to 12). Opens the files by their names: a
palette file (*.PL?) becomes the palette; any other file goes into VRAM0, its
extension choosing the screen mode (.SC5 to .SC8, .SCA/.SCB for 10/11, .SCC/.S12 for
12, .SC2 to .SC4, ...); a disk image (.DSK) opens at its first picture. Of several
screen files the first shows, and Page Down and Page Up walk those named, in order.

Keys:
)") + rows(kViewerKeys) +
           "\nOptions:\n" + rows(kViewerOptions);
}

} // namespace tessarin
