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
#include <utility>
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
    std::filesystem::path output; // the batch's own folder (OUTDIR, a catalogue's OUT)
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
    // Made while the walk goes on, the batch's outputs would be converted again.
    std::error_code error;
    if (!location.holdsFiles() && !ancestors.output.empty() &&
        std::filesystem::canonical(location.path(), error) == ancestors.output && !error) {
        return "the folder this batch writes into, not entered";
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

// A place inside the batch, walked once the part it was found in is handed on.
struct Nested {
    Location place;
    std::string folder;       // OUTDIR/<its name>, where its pictures go
    std::string failedOutput; // OUTDIR/<its name>.<format>: its one item when it holds none
    bool renamed = false;
    std::size_t after = 0; // the part's items planned before it: the FILEs keep their order
};

// The walk of the batch: each place's part handed on, then the places inside it, depth first.
class Walk {
public:
    Walk(const ExportOptions& options, const TakePart& take) : options_(options), take_(take) {}

    std::optional<UsageError> run() {
        std::vector<Location> files;
        files.reserve(options_.files.size());
        for (const std::string& file : options_.files) {
            files.push_back(Location::of(file));
        }
        std::error_code error;
        const Ancestors root{
            {},
            {},
            std::make_shared<std::unordered_map<std::string, std::string>>(),
            std::filesystem::weakly_canonical(
                options_.catalogue() ? options_.catalogueDir : options_.outDir, error)};
        PlanPart part;
        std::vector<Nested> nested;
        if (auto usage = planFiles(options_.outDir, files, root, {}, part, nested)) {
            return usage;
        }
        // The pictures named before each place, then the place.
        std::vector<BatchItem> items = std::move(part.items);
        const auto from = [&items](std::size_t first) {
            return std::make_move_iterator(items.begin() + static_cast<std::ptrdiff_t>(first));
        };
        std::size_t first = 0;
        for (const Nested& place : nested) {
            part.items.assign(from(first), from(place.after));
            handOn(std::exchange(part, PlanPart()));
            first = place.after;
            if (ended_) {
                break;
            }
            walkPlace(place, root);
        }
        part.items.assign(from(first), from(items.size()));
        handOn(std::move(part));
        if (!found_) {
            return UsageError{"no screen file among the FILEs"};
        }
        return std::nullopt;
    }

private:
    // Parts that hold only problems wait until one holds a picture or a file left out:
    // without any, the batch is a usage error and they are not handed on.
    void handOn(PlanPart&& part) {
        if (ended_) {
            return;
        }
        if (!found_ && part.items.empty() && part.skipped.empty()) {
            held_.push_back(std::move(part));
            return;
        }
        if (!found_) {
            found_ = true;
            for (PlanPart& held : held_) {
                if (!take_(std::move(held))) {
                    ended_ = true;
                    return;
                }
            }
            held_.clear();
        }
        ended_ = !take_(std::move(part));
    }

    void walkAll(const std::vector<Nested>& places, const Ancestors& ancestors) {
        for (const Nested& place : places) {
            if (ended_) {
                return;
            }
            walkPlace(place, ancestors);
        }
    }

    // A folder's or disk image's own pictures as a part into its folder, with what a disk's
    // reader found wrong and the files that are no pictures; then, with -r, its subfolders,
    // disk images and archives, each into a folder of its own inside. A place that is no
    // MSX-DOS disk is one item, which fails naming it.
    void walkPlace(const Nested& nested, Ancestors ancestors) {
        const Location& place = nested.place;
        const std::string& folder = nested.folder;
        PlanPart part;
        FolderListing listing;
        try {
            listing = fileSource().listFolder(place);
            part.damage = fileSource().damageOf(place);
        } catch (const FileError&) {
            part.items.push_back(BatchItem{shownFileOf(place), options_.paletteFile,
                                           nested.failedOutput, nested.renamed});
            handOn(std::move(part));
            return;
        }
        if (ancestors.folders.empty()) {
            std::error_code error;
            ancestors.tree = std::filesystem::canonical(place.path(), error);
        }
        ancestors.folders.push_back(identityOf(place));
        const bool directory = !place.holdsFiles();
        if (!directory) {
            part.sheetFolder = folder;
        }
        std::vector<Place> places;
        if (directory) {
            FolderEntries entries = FolderStorage(place.path()).entries();
            if (entries.error != 0) {
                part.unreadable.emplace_back(place.path(), "Cannot read folder " +
                                                               quoted(place.path()) + ": " +
                                                               std::strerror(entries.error));
            }
            for (const FolderEntries::Other& other : entries.others) {
                part.skipped.push_back(
                    {joinPath(place.path(), other.name), std::string(other.what)});
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
                part.skipped.push_back({file.path(), std::string(reasonText(kind.reason))});
            }
        }
        for (const Place& entered : places) {
            if (auto why = notEntered(options_, entered, ancestors)) {
                part.skipped.push_back({entered.location.path(), std::move(*why)});
            } else {
                byFolder[folder].push_back(entered.location);
            }
        }
        listing = FolderListing();
        std::vector<Nested> inside;
        for (const auto& [into, files] : byFolder) {
            std::set<std::string> folders; // made inside into for an archive's folders
            for (const auto& [other, unused] : byFolder) {
                if (other.size() > into.size() && other.starts_with(into + "/")) {
                    folders.insert(other.substr(into.size() + 1, other.find('/', into.size() + 1) -
                                                                     into.size() - 1));
                }
            }
            const std::size_t before = part.items.size();
            // Inside a place a missing palette fails its file, not the batch.
            (void)planFiles(into, files, ancestors, folders, part, inside);
            if (part.items.size() > before) {
                part.folders.push_back(into);
            }
        }
        byFolder.clear();
        handOn(std::move(part));
        walkAll(inside, ancestors);
    }

    // The batch of files (the FILEs, or a folder's files) into outDir, where folders of
    // takenNames (an archive's folders) are made too: no output takes one of those names.
    // Pictures and what is left out go into part, places into nested. Of the FILEs (no
    // ancestors yet), a screen file with no palette under --palette-source file is a usage
    // error naming it.
    std::optional<UsageError> planFiles(const std::string& outDir,
                                        const std::vector<Location>& files,
                                        const Ancestors& ancestors,
                                        const std::set<std::string>& takenNames, PlanPart& part,
                                        std::vector<Nested>& nested) {
        // The FILEs in their order, each once however named; disk images apart, the rest
        // paired as in a folder: a palette with its screen file, a companion shown with its
        // screen file's picture rather than on its own.
        std::vector<Input> inputs;
        std::vector<NamedFile> named;
        std::unordered_set<std::string> seen;
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
                        // A name that claims a palette is one only by its bytes; one that
                        // cannot be read fails when its picture is made.
                        const PictureKind kind = fileSource().pictureKindOf(file);
                        if (!kind.palette && !kind.picture &&
                            kind.reason != NotPicture::unreadableFile) {
                            part.skipped.push_back(
                                {file.path(), std::string(reasonText(kind.reason))});
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

        std::unordered_set<std::string> usedPalettes;
        const std::string suffix = outputSuffixOf(options_);
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
                const std::string name = inputs[i].place ? names[i] + suffix : names[i];
                const bool renamed = name != baseNameWithoutExtension(screen) + suffix;
                if (inputs[i].place) {
                    nested.push_back({inputs[i].file, joinPath(outDir, names[i]),
                                      joinPath(outDir, name), renamed, part.items.size()});
                    continue;
                }
                std::string palette = options_.paletteFile;
                if (auto paired = index.paletteOf(screen)) {
                    usedPalettes.insert(*paired);
                    palette = std::move(*paired);
                }
                if (ancestors.folders.empty() && options_.paletteSource == PaletteSource::file &&
                    palette.empty()) {
                    return UsageError{"--palette-source file needs a palette file for " +
                                      quoted(screen)};
                }
                part.items.push_back(BatchItem{shownFileOf(inputs[i].file), std::move(palette),
                                               joinPath(outDir, name), renamed});
            } catch (const std::bad_alloc&) {
                throw outOfMemory(inputs[i].file.path());
            }
        }
        for (const std::string& palette : palettes) {
            if (!usedPalettes.contains(palette)) {
                part.unusedPalettes.push_back(palette);
            }
        }
        return std::nullopt;
    }

    const ExportOptions& options_;
    const TakePart& take_;
    bool found_ = false; // a part held a picture or a file left out
    bool ended_ = false; // take wanted no more
    std::vector<PlanPart> held_;
};
} // namespace

std::optional<UsageError> planBatch(const ExportOptions& options, const TakePart& take) {
    return Walk(options, take).run();
}

PictureJob jobOf(const ExportOptions& options, const BatchItem& item) {
    PictureJob job = jobFor(options, item.screenFile, item.paletteFile);
    if (options.paletteSource == PaletteSource::file && job.paletteFile.path().empty()) {
        throw FileError(item.screenFile.path(),
                        "no palette file pairs with it, and --palette-source file needs one");
    }
    return job;
}

} // namespace tessarin::exporter
