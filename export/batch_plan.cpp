#include "export/batch_plan.h"

#include "catalog/file_source.h"
#include "catalog/picture_files.h"
#include "convert/msx_screen.h"
#include "export/output_names.h"
#include "names/file_name_rule.h"
#include "names/name_index.h"
#include "names/natural_order.h"
#include "platform/file_system.h"
#include "storage/folder_storage.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <map>
#include <memory>
#include <new>
#include <optional>
#include <set>
#include <unordered_map>
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
// inside an archive. A place that was not found is told by its name's normal form.
std::string identityOf(const Location& place) {
    if (!place.isPlace()) {
        return std::filesystem::path(place.path()).lexically_normal().string();
    }
    const Stamp& host = place.stamp();
    std::string id = std::to_string(host.device) + ':' + std::to_string(host.inode) + ':';
    return place.throughPlace() ? id + place.nameInFolder() : id;
}

// Into an empty to, from itself: a folder's whole plan passed up is not copied, which would
// hold it twice at once.
template <typename T> void append(std::vector<T>& to, std::vector<T>&& from) {
    if (to.empty()) {
        to = std::move(from);
        return;
    }
    to.insert(to.end(), std::make_move_iterator(from.begin()), std::make_move_iterator(from.end()));
}

// Where an archive's file goes under folder: its folders inside the archive kept, each
// made safe ("OUT/GAME/PICS" for "GAME.ZIP/PICS/TITLE.SC5").
std::string outputFolderOf(const std::string& folder, const Location& file) {
    std::string into = folder;
    const std::string inner = file.nameInFolder();
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
    Location file;
    bool place = false; // a folder or disk image, converted into a folder of its own
};

// How deep folders are entered with -r; a deeper tree is left out, named.
constexpr int kMaxFolderDepth = 32;

// Where a walk with -r is: the identities of the folders a place was reached through (a
// link back to one of them is not followed, so that a loop ends), the folder FILE the walk
// began at (its real path: a link leading outside it is followed only with --follow) and
// every folder entered in the batch, by identity, with the path it was entered by (each is
// entered once however many links lead to it).
struct Ancestors {
    std::vector<std::string> folders;
    std::filesystem::path tree;
    std::shared_ptr<std::unordered_map<std::string, std::string>> entered;
};

// A place inside a folder: a subfolder, a link to one, a disk image or an archive.
struct Place {
    Location location;
    bool link = false;
};

// ".<format>" of each output, a screen's as its files are named (fileExtensionOf).
std::string outputSuffixOf(const ExportOptions& options) {
    const ImageFormat format = options.format.value_or(ImageFormat::png);
    const std::optional<MsxScreen> screen = msxScreenOf(format);
    return std::string(".") +
           (screen ? fileExtensionOf(*screen, options.interlace) : extensionOf(format));
}

// The batch of files (the FILEs, or a folder's files) into options.outDir, where folders
// of takenNames (an archive's folders) are made too: no output takes one of those names.
std::variant<BatchPlan, UsageError> planFiles(const ExportOptions& options,
                                              const std::vector<Location>& files,
                                              const Ancestors& ancestors,
                                              const std::set<std::string>& takenNames = {});

// Whether the folder a link leads to lies outside tree.
bool leadsOutside(const std::string& link, const std::filesystem::path& tree) {
    std::error_code error;
    const std::filesystem::path target = std::filesystem::canonical(link, error);
    const std::filesystem::path inside = target.lexically_relative(tree);
    return error || inside.empty() || *inside.begin() == "..";
}

// Why the place inside a folder is not entered; nothing when it is, and then it is
// entered once.
std::optional<std::string> notEntered(const ExportOptions& options, const Place& place,
                                      const Ancestors& ancestors) {
    const Location& location = place.location;
    if (!options.recursive) {
        if (!location.holdsFiles()) {
            return "a folder, entered only with -r";
        }
        return location.keepsFolders() ? "an archive, converted only with -r"
                                       : "a disk image, converted only with -r";
    }
    const std::string identity = identityOf(location);
    if (std::ranges::find(ancestors.folders, identity) != ancestors.folders.end()) {
        return "a link back to a folder it is in, not followed";
    }
    if (place.link && !options.follow && leadsOutside(location.path(), ancestors.tree)) {
        return "a link to a folder outside \"" + ancestors.tree.string() +
               "\", followed only with --follow";
    }
    if (ancestors.folders.size() >= static_cast<std::size_t>(kMaxFolderDepth)) {
        return "deeper than " + std::to_string(kMaxFolderDepth) + " folders, not entered";
    }
    if (const auto [first, fresh] = location.holdsFiles()
                                        ? std::pair{ancestors.entered->end(), true}
                                        : ancestors.entered->try_emplace(identity, location.path());
        !fresh) {
        return "the folder converted as \"" + first->second + "\", not followed again";
    }
    return std::nullopt;
}

// A folder's or disk image's pictures as a batch of their own into folder, what a disk's
// reader found wrong and the files that are no pictures; with -r a folder's subfolders and
// disk images each into a folder of its own inside. None when it is no MSX-DOS disk (then
// its one item fails, naming it).
std::optional<BatchPlan> placePlan(const ExportOptions& options, const Location& place,
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
    if (ancestors.folders.empty()) {
        std::error_code error;
        ancestors.tree = std::filesystem::canonical(place.path(), error);
    }
    ancestors.folders.push_back(identityOf(place));
    BatchPlan result;
    std::vector<SkippedFile> skipped;
    const bool directory = !place.holdsFiles();
    std::vector<Place> places;
    if (directory) {
        FolderEntries entries = FolderStorage(place.path()).entries();
        if (entries.error != 0) {
            result.unreadable.emplace_back(place.path(), "Cannot read folder " +
                                                             quoted(place.path()) + ": " +
                                                             std::strerror(entries.error));
        }
        for (const FolderEntries::Other& other : entries.others) {
            skipped.push_back({joinPath(place.path(), other.name), std::string(other.what)});
        }
        for (const bool link : {false, true}) {
            for (const std::string& name : link ? entries.links : entries.folders) {
                places.push_back({Location::of(joinPath(place.path(), name)), link});
            }
        }
        std::ranges::stable_sort(places, [](const Place& a, const Place& b) {
            return compareNatural(a.location.nameInFolder(), b.location.nameInFolder()) < 0;
        });
    }
    // The files by the folder they go to: an archive's folders are kept, a disk's are not.
    std::map<std::string, std::vector<Location>> byFolder;
    const bool keep = place.keepsFolders();
    const auto goesTo = [&](const Location& file) -> std::vector<Location>& {
        return byFolder[keep ? outputFolderOf(folder, file) : folder];
    };
    for (const Location& file : *listing) {
        if (file.holdsFiles()) {
            // In a folder a disk image or archive is entered as a subfolder is; a packed
            // file, like any file inside a disk or archive, is one more input.
            if (directory && !file.soleFile()) {
                places.push_back({file, false});
            } else {
                goesTo(file).push_back(file);
            }
            continue;
        }
        const PictureKind kind = fileSource().pictureKindOf(file);
        if (kind.picture || kind.palette) {
            goesTo(file).push_back(file);
        } else {
            skipped.push_back({file.path(), std::string(reasonText(kind.reason))});
        }
    }
    for (const Place& entered : places) {
        if (auto why = notEntered(options, entered, ancestors)) {
            skipped.push_back({entered.location.path(), std::move(*why)});
        } else {
            byFolder[folder].push_back(entered.location);
        }
    }
    std::unordered_set<std::string> made;
    for (auto& [into, files] : byFolder) {
        inside.outDir = into;
        std::set<std::string> folders; // made inside into for an archive's folders
        for (const auto& [other, unused] : byFolder) {
            if (other.size() > into.size() && other.starts_with(into + "/")) {
                folders.insert(other.substr(into.size() + 1,
                                            other.find('/', into.size() + 1) - into.size() - 1));
            }
        }
        auto planned = planFiles(inside, files, ancestors, folders);
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
        append(result.unreadable, std::move(plan->unreadable));
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
        const std::string& path = input.file.path();
        const bool directory = input.file.kind() == PlaceKind::directory;
        std::string plain = directory ? folderName(path) : baseNameWithoutExtension(path);
        std::string longer = input.place ? plain : baseNameOf(path);
        wanted.push_back({std::move(plain), std::move(longer), input.place ? "" : suffix});
    }
    return wanted;
}

// The file the picture of file is made of, as its job finds it (a nameless file's packed
// picture); a place that holds none stays itself and fails when converted, naming it.
Location shownFileOf(const Location& file) {
    try {
        return screenFileOf(fileSource(), file);
    } catch (const FileError&) {
        return file;
    }
}

// Running out of memory while planning file: a failure that names it.
FileError outOfMemory(const std::string& file) {
    return FileError(file, file + ": not enough memory to plan its conversion");
}

std::variant<BatchPlan, UsageError> planFiles(const ExportOptions& options,
                                              const std::vector<Location>& files,
                                              const Ancestors& ancestors,
                                              const std::set<std::string>& takenNames) {
    // The FILEs in their order, each once however named; disk images apart, the rest
    // paired as in a folder: a palette with its screen file, a companion shown with its
    // screen file's picture rather than on its own.
    std::vector<Input> inputs;
    std::vector<NamedFile> named;
    std::unordered_set<std::string> seen;
    std::vector<SkippedFile> leftOut; // named as palettes, holding none
    for (const Location& given : files) {
        // A packed file stands for the file it holds, which names its output.
        const Location file = given.soleFile().value_or(given);
        try {
            if (!seen.insert(nameIdentityOf(file.path())).second) {
                continue;
            }
            const bool place = file.isPlace();
            if (!place) {
                FileSlot slot = fileSource().choose(file).slot;
                if (slot == FileSlot::palette) {
                    // A name that claims a palette is one only by its bytes; one that cannot
                    // be read fails when its picture is made.
                    const PictureKind kind = fileSource().pictureKindOf(file);
                    if (!kind.palette && !kind.picture &&
                        kind.reason != NotPicture::unreadableFile) {
                        leftOut.push_back({file.path(), std::string(reasonText(kind.reason))});
                        continue;
                    }
                    slot = kind.picture ? FileSlot::vram0 : slot;
                }
                named.push_back({file.path(), slot});
            }
            inputs.push_back({file, place});
        } catch (const std::bad_alloc&) {
            throw outOfMemory(file.path());
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
        return !input.place && (paletteNames.contains(input.file.path()) ||
                                index.isShownWithItsScreen(input.file.path()));
    });
    bool anyScreen = std::ranges::any_of(inputs, [](const Input& input) { return !input.place; });

    BatchPlan plan;
    std::unordered_set<std::string> usedPalettes;
    const std::string suffix = outputSuffixOf(options);
    // The folders first, so that each keeps its name and an output beside it takes another.
    std::vector<WantedName> wanted;
    for (const std::string& taken : takenNames) {
        wanted.push_back({taken, taken, ""});
    }
    std::ranges::move(wantedNames(inputs, suffix), std::back_inserter(wanted));
    std::vector<std::string> names = outputNames(wanted);
    names.erase(names.begin(), names.begin() + static_cast<std::ptrdiff_t>(takenNames.size()));
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        try {
            const std::string& screen = inputs[i].file.path();
            if (inputs[i].place) {
                if (auto inside = placePlan(options, inputs[i].file,
                                            joinPath(options.outDir, names[i]), ancestors)) {
                    append(plan.items, std::move(inside->items));
                    append(plan.folders, std::move(inside->folders));
                    append(plan.damage, std::move(inside->damage));
                    append(plan.unreadable, std::move(inside->unreadable));
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
            plan.items.push_back(BatchItem{shownFileOf(inputs[i].file), std::move(palette),
                                           joinPath(options.outDir, name), renamed});
        } catch (const std::bad_alloc&) {
            throw outOfMemory(inputs[i].file.path());
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
    std::vector<Location> files;
    files.reserve(options.files.size());
    for (const std::string& file : options.files) {
        files.push_back(Location::of(file));
    }
    return planFiles(options, files,
                     {{}, {}, std::make_shared<std::unordered_map<std::string, std::string>>()});
}

PictureJob jobOf(const ExportOptions& options, const BatchItem& item) {
    return jobFor(options, item.screenFile, item.paletteFile);
}

} // namespace tessarin::exporter
