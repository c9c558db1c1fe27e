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

// Each line of text after its header, given to take; nothing when the header is another.
template <typename Take> void eachRow(std::string_view text, std::string_view header, Take take) {
    if (!text.starts_with(header)) {
        return;
    }
    text.remove_prefix(header.size());
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        take(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
    }
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

std::unordered_map<std::string, CatalogueEntry> earlierEntries(std::string_view table,
                                                               std::string_view state) {
    std::unordered_map<std::string, CatalogueEntry> entries;
    eachRow(state, kStateHeader, [&](std::string_view line) {
        const auto row = split<kStateColumns>(line);
        CatalogueEntry entry;
        if (row && parsedSize((*row)[kThumbnailSize], entry.thumbWidth, entry.thumbHeight)) {
            entry.sourceKey = (*row)[kSources];
            entries.insert_or_assign(std::string((*row)[kStateLocation]), std::move(entry));
        }
    });
    std::unordered_map<std::string, CatalogueEntry> complete;
    eachRow(table, kTableHeader, [&](std::string_view line) {
        const auto row = split<kColumns>(line);
        const auto at = row ? entries.find(std::string((*row)[kLocation])) : entries.end();
        if (at == entries.end()) {
            return;
        }
        CatalogueEntry& e = at->second;
        if (parsedSize((*row)[kSize], e.width, e.height) && parsedHash((*row)[kHash], e.hash) &&
            parsedHash((*row)[kNearHash], e.nearHash)) {
            e.location = (*row)[kLocation];
            e.mode = (*row)[kMode];
            e.layout = (*row)[kLayout];
            e.palette = (*row)[kPalette];
            e.picture = (*row)[kPicture];
            e.thumbnail = (*row)[kThumbnail];
            complete.insert_or_assign(e.location, std::move(e));
            entries.erase(at);
        }
    });
    return complete;
}

} // namespace tessarin::exporter
