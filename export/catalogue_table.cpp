#include "export/catalogue_table.h"

#include "export/picture_hash.h"
#include "export/printable.h"

#include <array>
#include <charconv>
#include <optional>

namespace tessarin::exporter {

namespace {

enum Column : std::size_t {
    kLocation,
    kMode,
    kLayout,
    kPalette,
    kSize,
    kHash,
    kNearHash,
    kPicture,
    kThumbnail,
    kColumns
};
enum StateColumn : std::size_t { kStateLocation, kSources, kThumbnailSize, kStateColumns };
constexpr std::size_t kHashDigits = 16;
constexpr int kHexBase = 16;

std::string fields(std::initializer_list<std::string> values) {
    std::string row;
    for (const std::string& value : values) {
        row += (row.empty() ? "" : "\t") + printable(value);
    }
    return row + '\n';
}

std::string sizeText(int width, int height) {
    return std::to_string(width) + "x" + std::to_string(height);
}

// The tab-separated fields of line, when there are exactly N.
template <std::size_t N>
std::optional<std::array<std::string_view, N>> split(std::string_view line) {
    std::array<std::string_view, N> out;
    for (std::size_t i = 0; i < N; ++i) {
        const std::size_t tab = line.find('\t');
        if ((tab == std::string_view::npos) != (i + 1 == N)) {
            return std::nullopt;
        }
        out[i] = line.substr(0, tab);
        line.remove_prefix(tab == std::string_view::npos ? line.size() : tab + 1);
    }
    return out;
}

bool parsedInto(std::string_view text, auto& value, int base = 10) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    return error == std::errc() && end == text.data() + text.size();
}

bool parsedSize(std::string_view text, int& width, int& height) {
    const std::size_t x = text.find('x');
    return x != std::string_view::npos && parsedInto(text.substr(0, x), width) &&
           parsedInto(text.substr(x + 1), height) && width > 0 && height > 0;
}

bool parsedHash(std::string_view text, std::uint64_t& hash) {
    return text.size() == kHashDigits &&
           text.find_first_not_of("0123456789abcdef") == std::string_view::npos &&
           parsedInto(text, hash, kHexBase);
}

} // namespace

std::string tableRow(const CatalogueEntry& e) {
    return fields({e.location, e.mode, e.layout, e.palette, sizeText(e.width, e.height),
                   hashText(e.hash), hashText(e.nearHash), e.picture, e.thumbnail});
}

std::string stateRow(const CatalogueEntry& e) {
    return fields({e.location, e.sourceKey, sizeText(e.thumbWidth, e.thumbHeight)});
}

std::string_view locationOf(std::string_view row) {
    return row.substr(0, row.find('\t'));
}

std::optional<CatalogueEntry> earlierEntryOf(std::string_view tableRow, std::string_view stateRow) {
    const auto state = split<kStateColumns>(stateRow);
    const auto row = split<kColumns>(tableRow);
    CatalogueEntry e;
    if (!state || !row || (*row)[kLocation] != (*state)[kStateLocation] ||
        !parsedSize((*state)[kThumbnailSize], e.thumbWidth, e.thumbHeight) ||
        !parsedSize((*row)[kSize], e.width, e.height) || !parsedHash((*row)[kHash], e.hash) ||
        !parsedHash((*row)[kNearHash], e.nearHash)) {
        return std::nullopt;
    }
    e.sourceKey = (*state)[kSources];
    e.location = (*row)[kLocation];
    e.mode = (*row)[kMode];
    e.layout = (*row)[kLayout];
    e.palette = (*row)[kPalette];
    e.picture = (*row)[kPicture];
    e.thumbnail = (*row)[kThumbnail];
    return e;
}

} // namespace tessarin::exporter
