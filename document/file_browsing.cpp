#include "document/file_browsing.h"

#include "document/file_name_rule.h"
#include "document/palette_pairing.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>
#include <vector>

namespace tessarin {

namespace {

namespace fs = std::filesystem;

[[nodiscard]] bool isDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

[[nodiscard]] char lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// The run of digits at the front of text, without its leading zeros; text loses the run.
[[nodiscard]] std::string_view takeNumber(std::string_view& text) {
    std::size_t end = 0;
    while (end < text.size() && isDigit(text[end])) {
        ++end;
    }
    std::string_view number = text.substr(0, end);
    text.remove_prefix(end);
    const std::size_t first = number.find_first_not_of('0');
    return first == std::string_view::npos ? std::string_view() : number.substr(first);
}

[[nodiscard]] int sign(int value) {
    return (value > 0) - (value < 0);
}

[[nodiscard]] bool isScreenFile(const fs::path& file) {
    const FileNameChoice choice = chooseByFileName(file.filename().string());
    return choice.slot == FileSlot::vram0 && choice.screenMode.has_value();
}

// The regular files of folder, in natural order of their names; none when unreadable.
[[nodiscard]] std::vector<fs::path> filesOf(const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code typeError;
        if (it->is_regular_file(typeError)) {
            files.push_back(it->path());
        }
    }
    std::sort(files.begin(), files.end(), [](const fs::path& a, const fs::path& b) {
        return compareNatural(a.filename().string(), b.filename().string()) < 0;
    });
    return files;
}

[[nodiscard]] fs::path folderOf(const fs::path& file) {
    const fs::path folder = file.parent_path();
    return folder.empty() ? fs::path(".") : folder;
}

} // namespace

int compareNatural(std::string_view a, std::string_view b) {
    std::string_view left = a;
    std::string_view right = b;
    while (!left.empty() && !right.empty()) {
        if (isDigit(left.front()) && isDigit(right.front())) {
            const std::string_view x = takeNumber(left);
            const std::string_view y = takeNumber(right);
            if (x.size() != y.size()) {
                return x.size() < y.size() ? -1 : 1;
            }
            if (const int order = x.compare(y); order != 0) {
                return sign(order);
            }
            continue;
        }
        const char x = lower(left.front());
        const char y = lower(right.front());
        if (x != y) {
            return x < y ? -1 : 1;
        }
        left.remove_prefix(1);
        right.remove_prefix(1);
    }
    if (left.empty() != right.empty()) {
        return left.empty() ? -1 : 1;
    }
    return sign(a.compare(b));
}

std::optional<std::string> neighbourScreenFile(const std::string& current, int step) {
    const fs::path file(current);
    std::vector<fs::path> screens = filesOf(folderOf(file));
    std::erase_if(screens, [](const fs::path& p) { return !isScreenFile(p); });
    const std::string name = file.filename().string();
    // Where current is or would be: the file may have vanished since it was opened.
    const auto at = std::lower_bound(screens.begin(), screens.end(), name,
                                     [](const fs::path& p, const std::string& n) {
                                         return compareNatural(p.filename().string(), n) < 0;
                                     });
    const bool present = at != screens.end() && at->filename().string() == name;
    if (step > 0) {
        const auto next = present ? at + 1 : at;
        if (next != screens.end()) {
            return next->string();
        }
    } else if (step < 0 && at != screens.begin()) {
        return (at - 1)->string();
    }
    return std::nullopt;
}

std::optional<std::string> matchingPaletteFile(const std::string& screenFile) {
    const fs::path file(screenFile);
    std::vector<std::string> names;
    for (const fs::path& candidate : filesOf(folderOf(file))) {
        names.push_back(candidate.string());
    }
    return pairedPalette(screenFile, names);
}

} // namespace tessarin
