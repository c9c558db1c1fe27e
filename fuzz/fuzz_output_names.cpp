// Arbitrary names for a batch's outputs: NUL-separated items, each a kind byte (odd: a
// disk's folder, even: a picture) then the stem, a '/' and the longer stem. The names given
// must be distinct, each one entry of the folder (never empty, "." or "..", no separator or
// control byte), end in the suffix asked for, and be the plain stem where no other wants it.
#include "export/output_names.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace {

using tessarin::exporter::WantedName;

[[nodiscard]] bool isEntryName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") {
        return false;
    }
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '/' || byte < 0x20 || byte == 0x7F) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<WantedName> wanted;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t end = std::min(bytes.find('\0', at), bytes.size());
        const std::string_view item = bytes.substr(at, end - at);
        at = end + 1;
        if (item.empty()) {
            continue;
        }
        const bool disk = (static_cast<unsigned char>(item[0]) & 1) != 0;
        const std::string_view names = item.substr(1);
        const std::size_t slash = names.find('/');
        const std::string plain(names.substr(0, slash));
        const std::string longer(slash == std::string_view::npos ? plain : names.substr(slash + 1));
        wanted.push_back({plain, disk ? plain : longer, disk ? "" : ".png"});
    }
    const std::vector<std::string> names = tessarin::exporter::outputNames(wanted);
    if (names.size() != wanted.size()) {
        std::abort();
    }
    std::unordered_set<std::string> seen;
    std::unordered_map<std::string, int> plainCount;
    for (const WantedName& w : wanted) {
        ++plainCount[tessarin::exporter::safeName(w.plain) + w.suffix];
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string& name = names[i];
        const std::string& suffix = wanted[i].suffix;
        const std::string plain = tessarin::exporter::safeName(wanted[i].plain) + suffix;
        if (!seen.insert(name).second || !isEntryName(name) || !name.ends_with(suffix) ||
            !isEntryName(name.substr(0, name.size() - suffix.size())) ||
            (plainCount[plain] == 1 && name != plain)) {
            std::abort();
        }
    }
    return 0;
}
