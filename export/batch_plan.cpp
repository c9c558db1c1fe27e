#include "export/batch_plan.h"

#include "document/file_source.h"
#include "names/file_name_rule.h"
#include "names/name_index.h"
#include "platform/file_system.h"

#include <iterator>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace tessarin::exporter {

namespace {

constexpr int kFirstNumber = 2; // PIC.SC5-2.png: the second of its name

std::string quoted(const std::string& s) {
    return "\"" + s + "\"";
}

std::string joinPath(const std::string& directory, const std::string& name) {
    return directory.ends_with('/') ? directory + name : directory + "/" + name;
}

// The file names in OUTDIR of the screens, distinct, in the screens' order: <base>.<format>;
// where several screens share that, <name>.<format>; where that too is taken, a number.
std::vector<std::string> outputNames(const std::vector<std::string>& screens,
                                     const std::string& extension) {
    std::vector<std::string> plain;
    std::unordered_map<std::string, std::size_t> plainCount;
    plain.reserve(screens.size());
    for (const std::string& screen : screens) {
        plain.push_back(baseNameWithoutExtension(screen));
        ++plainCount[plain.back()];
    }
    std::vector<std::string> stems; // the names without ".<format>"
    stems.reserve(screens.size());
    for (std::size_t i = 0; i < screens.size(); ++i) {
        stems.push_back(plainCount[plain[i]] > 1 ? baseNameOf(screens[i]) : plain[i]);
    }
    // A number never takes a name that a later screen has by its stem.
    const std::unordered_set<std::string> wanted(stems.begin(), stems.end());
    std::unordered_set<std::string> given;
    std::unordered_map<std::string, int> nextNumber;
    std::vector<std::string> names;
    names.reserve(screens.size());
    for (const std::string& stem : stems) {
        std::string name = stem;
        if (!given.insert(name).second) {
            int& number = nextNumber.try_emplace(stem, kFirstNumber).first->second;
            do {
                name = stem + "-" + std::to_string(number++);
            } while (wanted.contains(name) || !given.insert(name).second);
        }
        names.push_back(name + "." + extension);
    }
    return names;
}

// A disk image's pictures as a batch of their own into OUTDIR/<disk's base name>, its
// other files skipped; none when it is no MSX-DOS disk (then its one item fails, naming it).
std::optional<BatchPlan> diskPlan(const ExportOptions& options, const std::string& disk) {
    ExportOptions inside = options;
    inside.outDir = joinPath(options.outDir, baseNameWithoutExtension(disk));
    FolderListing listing;
    try {
        listing = fileSource().listFolder(disk);
    } catch (const FileError&) {
        return std::nullopt;
    }
    std::vector<SkippedFile> skipped;
    inside.files.clear();
    for (const std::string& file : *listing) {
        const PictureKind kind = fileSource().pictureKindOf(file);
        if (kind.picture || chooseByFileName(nameInFolder(file)).slot == FileSlot::palette) {
            inside.files.push_back(file);
        } else {
            skipped.push_back({file, std::string(kind.reason)});
        }
    }
    auto planned = planBatch(inside);
    BatchPlan plan; // a disk without pictures adds nothing but its skipped files
    if (auto* made = std::get_if<BatchPlan>(&planned)) {
        plan = std::move(*made);
        plan.folders.push_back(inside.outDir);
    }
    plan.skipped.insert(plan.skipped.begin(), skipped.begin(), skipped.end());
    return plan;
}

} // namespace

std::variant<BatchPlan, UsageError> planBatch(const ExportOptions& options) {
    BatchPlan plan;
    std::vector<NamedFile> named;
    std::unordered_set<std::string> seen; // a FILE named twice is converted once
    for (const std::string& file : options.files) {
        if (!seen.insert(file).second) {
            continue;
        }
        if (holdsFiles(file)) {
            if (auto inside = diskPlan(options, file)) {
                std::move(inside->items.begin(), inside->items.end(),
                          std::back_inserter(plan.items));
                plan.folders.insert(plan.folders.end(), inside->folders.begin(),
                                    inside->folders.end());
                plan.skipped.insert(plan.skipped.end(), inside->skipped.begin(),
                                    inside->skipped.end());
                continue;
            }
            named.push_back({file, FileSlot::vram0}); // no disk: its one picture fails, naming it
            continue;
        }
        named.push_back({file, fileSource().choose(file).slot});
    }
    // The names pair as in a folder: a palette with its screen file, a companion shown
    // with its screen file's picture rather than on its own.
    const NameIndex index(std::move(named));
    std::vector<std::string> screens;
    std::vector<std::string> palettes;
    for (const NamedFile& file : index.files()) {
        if (file.slot == FileSlot::palette) {
            palettes.push_back(file.name);
        } else if (!index.isShownWithItsScreen(file.name)) {
            screens.push_back(file.name);
        }
    }
    if (screens.empty() && plan.items.empty() && plan.skipped.empty()) {
        return UsageError{"no screen file among the FILEs"};
    }

    plan.items.reserve(plan.items.size() + screens.size());
    std::unordered_set<std::string> usedPalettes;
    const std::string extension = extensionOf(options.format.value_or(ImageFormat::png));
    const std::vector<std::string> names = outputNames(screens, extension);
    for (std::size_t i = 0; i < screens.size(); ++i) {
        const std::string& screen = screens[i];
        std::string palette = options.paletteFile;
        if (auto paired = index.paletteOf(screen)) {
            usedPalettes.insert(*paired);
            palette = std::move(*paired);
        }
        if (options.paletteSource == PaletteSource::file && palette.empty()) {
            return UsageError{"--palette-source file needs a palette file for " + quoted(screen)};
        }
        const bool renamed = names[i] != baseNameWithoutExtension(screen) + "." + extension;
        plan.items.push_back(BatchItem{jobFor(options, screen, palette),
                                       joinPath(options.outDir, names[i]), renamed});
    }
    for (const std::string& palette : palettes) {
        if (!usedPalettes.contains(palette)) {
            plan.unusedPalettes.push_back(palette);
        }
    }
    return plan;
}

} // namespace tessarin::exporter
