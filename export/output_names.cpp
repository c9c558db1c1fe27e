#include "export/output_names.h"

#include "export/printable.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace tessarin::exporter {

namespace {

constexpr int kFirstNumber = 2; // PIC.SC5-2.png: the second of its name
constexpr char kStandIn = '_';

[[nodiscard]] bool isUnsafe(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return c == '/' || byte < 0x20 || byte == 0x7F;
}

} // namespace

std::string safeName(std::string_view name) {
    std::string safe;
    safe.reserve(name.size());
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (isUtf8C1At(name, i)) {
            ++i; // its two bytes, one stand-in
            safe += kStandIn;
        } else {
            safe += isUnsafe(name[i]) ? kStandIn : name[i];
        }
    }
    if (safe.empty() || safe == "." || safe == "..") {
        safe.assign(std::max<std::size_t>(safe.size(), 1), kStandIn);
    }
    return safe;
}

std::vector<std::string> outputNames(std::span<const WantedName> wanted) {
    std::vector<std::string> plain;
    plain.reserve(wanted.size());
    std::unordered_map<std::string, std::size_t> plainCount;
    for (const WantedName& w : wanted) {
        plain.push_back(safeName(w.plain) + w.suffix);
        ++plainCount[plain.back()];
    }
    // A plain name wanted once is that output's, whatever the others' longer names.
    std::unordered_set<std::string> own;
    std::vector<std::string> stems;
    stems.reserve(wanted.size());
    std::unordered_set<std::string> taken; // every name some output has by its stem
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        const bool alone = plainCount[plain[i]] == 1;
        stems.push_back(alone ? safeName(wanted[i].plain) : safeName(wanted[i].longer));
        taken.insert(stems.back() + wanted[i].suffix);
        if (alone) {
            own.insert(plain[i]);
        }
    }
    std::unordered_set<std::string> given;
    std::unordered_map<std::string, int> nextNumber;
    std::vector<std::string> names;
    names.reserve(wanted.size());
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        const std::string& suffix = wanted[i].suffix;
        std::string name = stems[i] + suffix;
        const bool mine = plainCount[plain[i]] == 1;
        if ((!mine && own.contains(name)) || !given.insert(name).second) {
            int& number = nextNumber.try_emplace(name, kFirstNumber).first->second;
            do {
                name = stems[i] + "-" + std::to_string(number++) + suffix;
            } while (taken.contains(name) || !given.insert(name).second);
        }
        names.push_back(std::move(name));
    }
    return names;
}

} // namespace tessarin::exporter
