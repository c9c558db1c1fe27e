#include "export/batch_plan.h"

#include "catalog/file_source.h"
#include "export/output_names.h"
#include "names/file_name_rule.h"
#include "names/name_index.h"
#include "names/natural_order.h"
#include "platform/file_system.h"
#include "storage/folder_storage.h"
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

// What tells one FILE from another: its path made absolute, with ".", "//" and a folder's
// ".." resolved as text. Every other name is a picture of its own, even a hard link or a
// symbolic link to a file named too: the user asked for each.
std::string nameIdentityOf(const std::string& path) {
    std::error_code error;
    std::filesystem::path normal = std::filesystem::absolute(path, error);
    normal = (error ? std::filesystem::path(path) : normal).lexically_normal();
    if (normal.has_parent_path() && normal.filename().empty()) {
        normal = normal.parent_path(); // "DIR/" is "DIR"
    }
    return normal.string();
}

// What tells a folder from the folders it was reached through, however it is named (a
// link back to one of them): the device and inode of the file that holds it, and the path
// inside a disk image. A path that names nothing is told by its normal form.
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
    bool place = false; // a folder or disk image, converted into a folder of its own
};

// How deep folders are entered with -r; a deeper tree is left out, named.
constexpr int kMaxFolderDepth = 32;

// The identities of the folders a place was reached through: a link back to one of them
// is not followed, so that a loop ends.
using Ancestors = std::vector<std::string>;

std::variant<BatchPlan, UsageError> planFiles(const ExportOptions& options,
                                              const Ancestors& ancestors);

// The subfolders of directory (links to folders followed), in file-manager order.
std::vector<std::string> subfoldersOf(const std::string& directory) {
    std::vector<std::string> names = FolderStorage(directory).subfolders();
    std::ranges::sort(
        names, [](const std::string& a, const std::string& b) { return compareNatural(a, b) < 0; });
    std::vector<std::string> paths;
    paths.reserve(names.size());
    for (const std::string& name : names) {
        paths.push_back(joinPath(directory, name));
    }
    return paths;
}

// Why the place inside a folder is not entered; nothing when it is.
std::optional<std::string> notEntered(const ExportOptions& options, const std::string& place,
                                      const Ancestors& ancestors) {
    if (!options.recursive) {
        if (!holdsFiles(place)) {
            return "a folder, entered only with -r";
        }
        return keepsFolders(place) ? "an archive, converted only with -r"
                                   : "a disk image, converted only with -r";
    }
    if (std::ranges::find(ancestors, identityOf(place)) != ancestors.end()) {
        return "a link back to a folder it is in, not followed";
    }
    if (ancestors.size() >= static_cast<std::size_t>(kMaxFolderDepth)) {
        return "deeper than " + std::to_string(kMaxFolderDepth) + " folders, not entered";
    }
    return std::nullopt;
}

// A folder's or disk image's pictures as a batch of their own into folder, what a disk's
// reader found wrong and the files that are no pictures; with -r a folder's subfolders and
// disk images each into a folder of its own inside. None when it is no MSX-DOS disk (then
// its one item fails, naming it).
std::optional<BatchPlan> placePlan(const ExportOptions& options, const std::string& place,
                                   const std::string& folder, Ancestors ancestors) {
    ExportOptions inside = options;
    inside.outDir = folder;
    std::vector<FileError> damage;
    FolderListing listing;
    try {
        listing = fileSource().listFolder(place);
        damage = fileSource().damageOf(place);
    } catch (const FileError&) {
        return std::nullopt;
    }
    ancestors.push_back(identityOf(place));
    std::vector<SkippedFile> skipped;
    const bool directory = !holdsFiles(place);
    std::vector<std::string> places = directory ? subfoldersOf(place) : std::vector<std::string>{};
    // The files by the folder they go to: an archive's folders are kept, a disk's are not.
    std::map<std::string, std::vector<std::string>> byFolder;
    const bool keep = keepsFolders(place);
    const auto goesTo = [&](const std::string& file) -> std::vector<std::string>& {
        return byFolder[keep ? outputFolderOf(folder, file) : folder];
    };
    for (const std::string& file : *listing) {
        if (holdsFiles(file)) {
            // In a folder a disk image or archive is entered as a subfolder is; a packed
            // file, like any file inside a disk or archive, is one more input.
            if (directory && !soleFileOf(file)) {
                places.push_back(file);
            } else {
                goesTo(file).push_back(file);
            }
            continue;
        }
        const PictureKind kind = fileSource().pictureKindOf(file);
        if (kind.picture || kind.palette) {
            goesTo(file).push_back(file);
        } else {
            skipped.push_back({file, std::string(reasonText(kind.reason))});
        }
    }
    for (const std::string& entered : places) {
        if (auto why = notEntered(options, entered, ancestors)) {
            skipped.push_back({entered, std::move(*why)});
        } else {
            byFolder[folder].push_back(entered);
        }
    }
    BatchPlan result;
    std::unordered_set<std::string> made;
    for (auto& [into, files] : byFolder) {
        inside.outDir = into;
        inside.files = std::move(files);
        auto planned = planFiles(inside, ancestors);
        auto* plan = std::get_if<BatchPlan>(&planned);
        if (plan == nullptr) {
            continue; // none: no pictures
        }
        if (!plan->items.empty() || !plan->folders.empty()) {
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

// The name a folder FILE's outputs go under: its own ("." is the folder it stands for).
std::string folderName(const std::string& path) {
    std::error_code error;
    std::filesystem::path full = std::filesystem::absolute(path, error).lexically_normal();
    if (full.filename().empty()) {
        full = full.parent_path();
    }
    return full.filename().string();
}

// What the outputs of the inputs want to be called in OUTDIR: a picture its base name with
// the format's extension, a disk a folder of its base name, a folder one of its name.
std::vector<WantedName> wantedNames(const std::vector<Input>& inputs, const std::string& suffix) {
    std::vector<WantedName> wanted;
    wanted.reserve(inputs.size());
    for (const Input& input : inputs) {
        const bool directory = input.place && !holdsFiles(input.path);
        std::string plain =
            directory ? folderName(input.path) : baseNameWithoutExtension(input.path);
        std::string longer = input.place ? plain : baseNameOf(input.path);
        wanted.push_back({std::move(plain), std::move(longer), input.place ? "" : suffix});
    }
    return wanted;
}

// Running out of memory while planning file: a failure that names it.
FileError outOfMemory(const std::string& file) {
    return FileError(file, file + ": not enough memory to plan its conversion");
}

std::variant<BatchPlan, UsageError> planFiles(const ExportOptions& options,
                                              const Ancestors& ancestors) {
    // The FILEs in their order, each once however named; disk images apart, the rest
    // paired as in a folder: a palette with its screen file, a companion shown with its
    // screen file's picture rather than on its own.
    std::vector<Input> inputs;
    std::vector<NamedFile> named;
    std::unordered_set<std::string> seen;
    std::vector<SkippedFile> leftOut; // named as palettes, holding none
    for (const std::string& given : options.files) {
        // A packed file stands for the file it holds, which names its output.
        const std::string file = soleFileOf(given).value_or(given);
        try {
            if (!seen.insert(nameIdentityOf(file)).second) {
                continue;
            }
            const bool place = findPlace(file).has_value();
            if (!place) {
                FileSlot slot = fileSource().choose(file).slot;
                if (slot == FileSlot::palette) {
                    // A name that claims a palette is one only by its bytes; one that cannot
                    // be read fails when its picture is made.
                    const PictureKind kind = fileSource().pictureKindOf(file);
                    if (!kind.palette && !kind.picture &&
                        kind.reason != NotPicture::unreadableFile) {
                        leftOut.push_back({file, std::string(reasonText(kind.reason))});
                        continue;
                    }
                    slot = kind.picture ? FileSlot::vram0 : slot;
                }
                named.push_back({file, slot});
            }
            inputs.push_back({file, place});
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
        return !input.place &&
               (paletteNames.contains(input.path) || index.isShownWithItsScreen(input.path));
    });
    bool anyScreen = std::ranges::any_of(inputs, [](const Input& input) { return !input.place; });

    BatchPlan plan;
    std::unordered_set<std::string> usedPalettes;
    const std::string suffix =
        std::string(".") + extensionOf(options.format.value_or(ImageFormat::png));
    const std::vector<std::string> names = outputNames(wantedNames(inputs, suffix));
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        try {
            const std::string& screen = inputs[i].path;
            if (inputs[i].place) {
                if (auto inside =
                        placePlan(options, screen, joinPath(options.outDir, names[i]), ancestors)) {
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
            const std::string name = inputs[i].place ? names[i] + suffix : names[i];
            const bool renamed = name != baseNameWithoutExtension(screen) + suffix;
            plan.items.push_back(BatchItem{jobFor(options, screen, palette),
                                           joinPath(options.outDir, name), renamed});
        } catch (const std::bad_alloc&) {
            throw outOfMemory(inputs[i].path);
        }
    }
    plan.skipped.insert(plan.skipped.begin(), leftOut.begin(), leftOut.end());
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

} // namespace

std::variant<BatchPlan, UsageError> planBatch(const ExportOptions& options) {
    return planFiles(options, {});
}

} // namespace tessarin::exporter
