#include "export/batch_plan.h"

#include "document/file_name_rule.h"
#include "platform/file_system.h"

#include <algorithm>
#include <map>
#include <set>

namespace tessarin::exporter {

namespace {

std::string lowerAscii(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    });
    return s;
}

std::string quoted(const std::string& s) {
    return "\"" + s + "\"";
}

std::string joinPath(const std::string& directory, const std::string& name) {
    return directory.ends_with('/') ? directory + name : directory + "/" + name;
}

} // namespace

std::string baseNameWithoutExtension(const std::string& path) {
    const std::string name = baseNameOf(path);
    const auto dot = name.rfind('.');
    return (dot == std::string::npos || dot == 0) ? name : name.substr(0, dot);
}

std::variant<BatchPlan, UsageError> planBatch(const ExportOptions& options) {
    std::vector<std::string> screens;
    std::map<std::string, std::string> paletteByBase; // lower-case base name -> file
    for (const std::string& file : options.files) {
        if (chooseByFileName(file).slot != FileSlot::palette) {
            screens.push_back(file);
            continue;
        }
        const auto [it, fresh] =
            paletteByBase.emplace(lowerAscii(baseNameWithoutExtension(file)), file);
        if (!fresh) {
            return UsageError{"two palette files for the same base name: " + quoted(it->second) +
                              " and " + quoted(file)};
        }
    }
    if (screens.empty()) {
        return UsageError{"no screen file among the FILEs"};
    }

    BatchPlan plan;
    std::map<std::string, std::string> screenByOutput;
    std::set<std::string> usedPalettes;
    const char* extension = extensionOf(options.format.value_or(ImageFormat::png));
    for (const std::string& screen : screens) {
        const std::string base = baseNameWithoutExtension(screen);
        const std::string output = joinPath(options.outDir, base + "." + extension);
        const auto [it, fresh] = screenByOutput.emplace(output, screen);
        if (!fresh) {
            return UsageError{quoted(it->second) + " and " + quoted(screen) +
                              " would both be written to " + quoted(output)};
        }
        std::string palette = options.paletteFile;
        if (const auto p = paletteByBase.find(lowerAscii(base)); p != paletteByBase.end()) {
            palette = p->second;
            usedPalettes.insert(palette);
        }
        if (options.paletteSource == PaletteSource::file && palette.empty()) {
            return UsageError{"--palette-source file needs a palette file for " + quoted(screen)};
        }
        plan.items.push_back(BatchItem{jobFor(options, screen, palette), output});
    }
    for (const auto& [base, palette] : paletteByBase) {
        if (!usedPalettes.contains(palette)) {
            plan.unusedPalettes.push_back(palette);
        }
    }
    return plan;
}

} // namespace tessarin::exporter
