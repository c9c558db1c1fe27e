#include "export/contact_sheet.h"

#include <algorithm>

namespace tessarin::exporter {

namespace {

constexpr int kMargin = 4;
constexpr RgbTriple kBackground{0x40, 0x40, 0x40};

} // namespace

Picture contactSheet(std::span<const Picture> thumbnails, std::int16_t cellSize) {
    Picture sheet;
    if (thumbnails.empty()) {
        return sheet;
    }
    const int count = static_cast<int>(thumbnails.size());
    const int columns = std::min(count, kSheetColumns);
    const int rows = (count + columns - 1) / columns;
    const int pitch = cellSize + kMargin;
    sheet.resize(columns * pitch + kMargin, rows * pitch + kMargin);
    std::ranges::fill(sheet.pixels(), kBackground);
    for (int n = 0; n < count; ++n) {
        const Picture& thumb = thumbnails[static_cast<std::size_t>(n)];
        const int width = std::min(thumb.width(), static_cast<int>(cellSize));
        const int height = std::min(thumb.height(), static_cast<int>(cellSize));
        const int left = kMargin + (n % columns) * pitch + (cellSize - width) / 2;
        const int top = kMargin + (n / columns) * pitch + (cellSize - height) / 2;
        for (int y = 0; y < height; ++y) {
            std::ranges::copy(thumb.row(y).first(static_cast<std::size_t>(width)),
                              sheet.row(top + y).begin() + left);
        }
    }
    return sheet;
}

} // namespace tessarin::exporter
