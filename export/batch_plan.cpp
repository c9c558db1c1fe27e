#include "export/batch_plan.h"

#include "document/file_source.h"
#include "export/output_names.h"
#include "names/file_name_rule.h"
#include "names/name_index.h"
#include "platform/file_system.h"
#include "storage/storage_kinds.h"

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <map>
#include <new>
#include <optional>
#include <sys/stat.h>
#include <unordered_set>
#include <vector>

namespace tessarin::exporter {

namespace {

std::string quoted(const std::string& s) {
    return "\"" + s + "\"";
}

std::string joinPath(const std::string& directory, const std::string& name) {
    return directory.ends_with('/') ? directory + name : directory + "/" + name;
}

// What tells one input from another however it is named (PIC.SC5, ./PIC.SC5, a link to
// it): the device and inode of the file that holds it, and the path inside a disk image.
// A path that names nothing is told by its normal form, and fails when converted.
std::string identityOf(const std::string& path) {
    const auto where = splitPlacePath(path);
    struct stat info {};
    if (::stat((where ? where->place.path : path).c_str(), &info) != 0) {
        return std::filesystem::path(path).lexically_normal().string();
    }
    std::string id = std::to_string(info.st_dev) + ':' + std::to_string(info.st_ino) + ':';
    return where ? id + where->inner : id;
}

template <typename T> void append(std::vector<T>& to, std::vector<T>&& from) {
    to.insert(to.end(), std::make_move_iterator(from.begin()), std::make_move_iterator(from.end()));
}

// Where an archive's file goes under folder: its folders inside the archive kept, each
// made safe ("OUT/GAME/PICS" for "GAME.ZIP/PICS/TITLE.SC5").
std::string outputFolderOf(const std::string& folder, const std::string& file) {
    std::string into = folder;
    const std::string inner = nameInFolder(file);
    std::size_t start = 0;
    for (std::size_t slash = inner.find('/'); slash != std::string::npos;
         slash = inner.find('/', start)) {
        into = joinPath(into, safeName(inner.substr(start, slash - start)));
        start = slash + 1;
    }
    return into;
}

// One FILE of the batch, in the order named.
struct Input {
    std::string path;
    bool disk = false; // a disk image, converted into a folder of its own
};

// A disk image's pictures as a batch of their own into folder, what its reader found
// wrong and the files that are no pictures; none when it is no MSX-DOS disk (then its one
// item fails, naming it).
std::optional<BatchPlan> diskPlan(const ExportOptions& options, const std::string& disk,
                                  const std::string& folder) {
    ExportOptions inside = options;
    inside.outDir = folder;
    std::vector<FileError> damage;
    FolderListing listing;
    try {
        listing = fileSource().listFolder(disk);
        damage = fileSource().damageOf(disk);
    } catch (const FileError&) {
        return std::nullopt;
    }
    std::vector<SkippedFile> skipped;
    // The files by the folder they go to: an archive's folders are kept, a disk's are not.
    std::map<std::string, std::vector<std::string>> byFolder;
    const bool keep = keepsFolders(disk);
    for (const std::string& file : *listing) {
        if (holdsFiles(file)) {
            byFolder[keep ? outputFolderOf(folder, file) : folder].push_back(file);
            continue;
        }
        const PictureKind kind = fileSource().pictureKindOf(file);
        if (kind.picture || chooseByFileName(nameInFolder(file)).slot == FileSlot::palette) {
            byFolder[keep ? outputFolderOf(folder, file) : folder].push_back(file);
        } else {
            skipped.push_back({file, std::string(kind.reason)});
        }
    }
    BatchPlan result;
    std::unordered_set<std::string> made;
    for (auto& [into, files] : byFolder) {
        inside.outDir = into;
        inside.files = std::move(files);
        auto planned = planBatch(inside);
        auto* plan = std::get_if<BatchPlan>(&planned);
        if (plan == nullptr) {
            continue; // none: no pictures
        }
        if (!plan->items.empty()) {
            // Each folder after the one holding it.
            for (std::size_t end = folder.size();;
                 end = std::min(into.find('/', end + 1), into.size())) {
                if (made.insert(into.substr(0, end)).second) {
                    result.folders.push_back(into.substr(0, end));
                }
                if (end == into.size()) {
                    break;
                }
            }
        }
        append(result.items, std::move(plan->items));
        append(result.folders, std::move(plan->folders));
        append(result.damage, std::move(plan->damage));
        append(result.skipped, std::move(plan->skipped));
        append(result.unusedPalettes, std::move(plan->unusedPalettes));
    }
    result.damage.insert(result.damage.begin(), damage.begin(), damage.end());
    result.skipped.insert(result.skipped.begin(), skipped.begin(), skipped.end());
    return result;
}

// What the outputs of the inputs want to be called in OUTDIR: a picture its base name with
// the format's extension, a disk a folder of its base name.
std::vector<WantedName> wantedNames(const std::vector<Input>& inputs, const std::string& suffix) {
    std::vector<WantedName> wanted;
    wanted.reserve(inputs.size());
    for (const Input& input : inputs) {
        std::string plain = baseNameWithoutExtension(input.path);
        std::string longer = input.disk ? plain : baseNameOf(input.path);
        wanted.push_back({std::move(plain), std::move(longer), input.disk ? "" : suffix});
    }
    return wanted;
}

// Running out of memory while planning file: a failure that names it.
FileError outOfMemory(const std::string& file) {
    return FileError(file, file + ": not enough memory to plan its conversion");
}

} // namespace

std::variant<BatchPlan, UsageError> planBatch(const ExportOptions& options) {
    // The FILEs in their order, each once however named; disk images apart, the rest
    // paired as in a folder: a palette with its screen file, a companion shown with its
    // screen file's picture rather than on its own.
    std::vector<Input> inputs;
    std::vector<NamedFile> named;
    std::unordered_set<std::string> seen;
    for (const std::string& given : options.files) {
        // A packed file stands for the file it holds, which names its output.
        const std::string file = soleFileOf(given).value_or(given);
        try {
            if (!seen.insert(identityOf(file)).second) {
                continue;
            }
            const bool disk = holdsFiles(file);
            inputs.push_back({file, disk});
            if (!disk) {
                named.push_back({file, fileSource().choose(file).slot});
            }
        } catch (const std::bad_alloc&) {
            throw outOfMemory(file);
        }
    }
    const NameIndex index(std::move(named));
    std::vector<std::string> palettes;
    std::unordered_set<std::string> paletteNames;
    for (const NamedFile& file : index.files()) {
        if (file.slot == FileSlot::palette) {
            palettes.push_back(file.name);
            paletteNames.insert(file.name);
        }
    }
    // Palettes and companions shown with their screen file's picture are no outputs.
    std::erase_if(inputs, [&](const Input& input) {
        return !input.disk &&
               (paletteNames.contains(input.path) || index.isShownWithItsScreen(input.path));
    });
    bool anyScreen = std::ranges::any_of(inputs, [](const Input& input) { return !input.disk; });

    BatchPlan plan;
    std::unordered_set<std::string> usedPalettes;
    const std::string suffix =
        std::string(".") + extensionOf(options.format.value_or(ImageFormat::png));
    const std::vector<std::string> names = outputNames(wantedNames(inputs, suffix));
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        try {
            const std::string& screen = inputs[i].path;
            if (inputs[i].disk) {
                if (auto inside = diskPlan(options, screen, joinPath(options.outDir, names[i]))) {
                    append(plan.items, std::move(inside->items));
                    append(plan.folders, std::move(inside->folders));
                    append(plan.damage, std::move(inside->damage));
                    append(plan.skipped, std::move(inside->skipped));
                    continue;
                }
                anyScreen = true; // no disk: its one picture fails, naming it
            }
            std::string palette = options.paletteFile;
            if (auto paired = index.paletteOf(screen)) {
                usedPalettes.insert(*paired);
                palette = std::move(*paired);
            }
            if (options.paletteSource == PaletteSource::file && palette.empty()) {
                return UsageError{"--palette-source file needs a palette file for " +
                                  quoted(screen)};
            }
            const std::string name = inputs[i].disk ? names[i] + suffix : names[i];
            const bool renamed = name != baseNameWithoutExtension(screen) + suffix;
            plan.items.push_back(BatchItem{jobFor(options, screen, palette),
                                           joinPath(options.outDir, name), renamed});
        } catch (const std::bad_alloc&) {
            throw outOfMemory(inputs[i].path);
        }
    }
    if (!anyScreen && plan.items.empty() && plan.skipped.empty()) {
        return UsageError{"no screen file among the FILEs"};
    }
    for (const std::string& palette : palettes) {
        if (!usedPalettes.contains(palette)) {
            plan.unusedPalettes.push_back(palette);
        }
    }
    return plan;
}

} // namespace tessarin::exporter
