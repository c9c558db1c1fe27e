#include "export/batch_plan.h"

#include "document/file_name_rule.h"
#include "document/palette_pairing.h"
#include "platform/file_system.h"

#include <algorithm>
#include <map>
#include <set>
#include <vector>

namespace tessarin::exporter {

namespace {

std::string quoted(const std::string& s) {
    return "\"" + s + "\"";
}

std::string joinPath(const std::string& directory, const std::string& name) {
    return directory.ends_with('/') ? directory + name : directory + "/" + name;
}

} // namespace

std::variant<BatchPlan, UsageError> planBatch(const ExportOptions& options) {
    std::vector<std::string> screens;
    std::vector<std::string> palettes;
    for (const std::string& file : options.files) {
        (chooseByFileName(file).slot == FileSlot::palette ? palettes : screens).push_back(file);
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
        if (const auto paired = pairedPalette(screen, palettes)) {
            palette = *paired;
            usedPalettes.insert(palette);
        }
        if (options.paletteSource == PaletteSource::file && palette.empty()) {
            return UsageError{"--palette-source file needs a palette file for " + quoted(screen)};
        }
        plan.items.push_back(BatchItem{jobFor(options, screen, palette), output});
    }
    for (const std::string& palette : palettes) {
        if (!usedPalettes.contains(palette)) {
            plan.unusedPalettes.push_back(palette);
        }
    }
    return plan;
}

} // namespace tessarin::exporter
