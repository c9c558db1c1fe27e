#include "storage/location.h"

#include "names/ascii_case.h"
#include "platform/file_system.h"
#include "storage/packed_storage.h"
#include "storage/packings.h"

#include <algorithm>
#include <array>

namespace tessarin {

namespace {

// A kind of file that holds files, known by its extension in any case.
struct FileKind {
    std::string_view extension;
    PlaceKind kind;
};

// Every kind of file that holds files but packed ones, one line each; storage_kinds.cpp
// opens each kind.
constexpr std::array kHolderKinds{
    FileKind{".dsk", PlaceKind::disk},     FileKind{".dmk", PlaceKind::dmk},
    FileKind{".cas", PlaceKind::cassette}, FileKind{".zip", PlaceKind::archive},
    FileKind{".lzh", PlaceKind::archive},  FileKind{".lha", PlaceKind::archive},
    FileKind{".7z", PlaceKind::archive},   FileKind{".gz", PlaceKind::gzip},
};

// And a packed file of each packing (packings.h).
constexpr auto kFileKinds = [] {
    std::array<FileKind, kHolderKinds.size() + kPackings.size()> kinds{};
    std::ranges::copy(kHolderKinds, kinds.begin());
    std::ranges::transform(kPackings, kinds.begin() + kHolderKinds.size(), [](const Packing& p) {
        return FileKind{p.extension, PlaceKind::packed};
    });
    return kinds;
}();

constexpr auto kFileKindExtensions = [] {
    std::array<std::string_view, kFileKinds.size()> extensions;
    std::ranges::transform(kFileKinds, extensions.begin(), &FileKind::extension);
    return extensions;
}();

// The kind of a file named so, by its extension; none for a bare extension (".dsk",
// "DIR/.dsk").
PlaceKind kindOfName(std::string_view name) {
    for (const FileKind& kind : kFileKinds) {
        if (name.size() > kind.extension.size() &&
            name[name.size() - kind.extension.size() - 1] != '/' &&
            equalIgnoringAsciiCase(name.substr(name.size() - kind.extension.size()),
                                   kind.extension)) {
            return kind.kind;
        }
    }
    return PlaceKind::none;
}

// An archive holds the other kinds but lies in none.
bool isArchive(PlaceKind kind) {
    return kind == PlaceKind::archive || kind == PlaceKind::gzip;
}

bool holdsOneFile(PlaceKind kind) {
    return kind == PlaceKind::packed || kind == PlaceKind::gzip;
}

// A place inside an archive is of a kind that is no archive: one level deep.
PlaceKind kindInsideArchive(std::string_view name) {
    const PlaceKind kind = kindOfName(name);
    return isArchive(kind) ? PlaceKind::none : kind;
}

std::string joined(const std::string& folder, const std::string& name) {
    if (folder == ".") {
        return name; // a name given without a folder stays so
    }
    return folder.ends_with('/') ? folder + name : folder + "/" + name;
}

} // namespace

Location Location::of(const std::string& path) {
    Location location;
    location.path_ = path;
    if (path.empty()) {
        return location;
    }
    for (std::size_t slash = path.find('/'); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        const PlaceKind kind = kindOfName(std::string_view(path).substr(0, slash));
        if (kind == PlaceKind::none) {
            continue;
        }
        if (const auto stamp = stampOf(path.substr(0, slash), EntryType::regularFile)) {
            if (slash + 1 == path.size()) {
                break; // "GAME.DSK/" names nothing inside it
            }
            location.stamp_ = *stamp;
            location.leadThrough(slash, kind);
            return location;
        }
    }
    if (const std::optional<Entry> entry = entryAt(path)) {
        location.stamp_ = entry->stamp;
        location.kind_ =
            entry->type == EntryType::directory ? PlaceKind::directory : kindOfName(path);
    }
    return location;
}

void Location::leadThrough(std::size_t hostEnd, PlaceKind hostKind) {
    chain_.push_back({hostEnd, hostKind});
    if (!isArchive(hostKind)) {
        return;
    }
    const std::string_view inner = std::string_view(path_).substr(hostEnd + 1);
    for (std::size_t slash = inner.find('/'); slash != std::string_view::npos;
         slash = inner.find('/', slash + 1)) {
        if (const PlaceKind kind = kindOfName(inner.substr(0, slash));
            kind != PlaceKind::none && slash + 1 < inner.size()) {
            chain_.push_back({hostEnd + 1 + slash, kind});
            return;
        }
    }
    kind_ = kindInsideArchive(path_);
}

Location Location::packedAs(const Location& file, std::string_view packing) {
    Location host;
    host.path_ = file.path_;
    host.kind_ = PlaceKind::packed;
    host.stamp_ = file.stamp_;
    host.packing_ = packing;
    return *host.soleFile();
}

Location Location::child(const std::string& name) const {
    Location location;
    location.path_ = joined(path_, name);
    if (kind_ == PlaceKind::directory) {
        // A directory lists regular files: only a place's stamp is worth a stat.
        if (const PlaceKind kind = kindOfName(location.path_); kind != PlaceKind::none) {
            if (const auto stamp = stampOf(location.path_, EntryType::regularFile)) {
                location.kind_ = kind;
                location.stamp_ = *stamp;
            }
        }
        return location;
    }
    location.stamp_ = stamp_;
    location.packing_ = packing_;
    if (chain_.empty()) {
        location.leadThrough(path_.size(), kind_);
    } else {
        location.leadThrough(chain_.front().end, chain_.front().kind);
    }
    return location;
}

bool Location::holdsFiles() const {
    return kind_ != PlaceKind::none && kind_ != PlaceKind::directory;
}

bool Location::keepsFolders() const {
    return isArchive(kind_);
}

std::optional<Location> Location::soleFile() const {
    if (!holdsOneFile(kind_)) {
        return std::nullopt;
    }
    return child(unpackedName(path_));
}

Location Location::folder() const {
    if (chain_.empty()) {
        return of(directoryOf(path_));
    }
    Location location;
    location.path_ = path_.substr(0, chain_.back().end);
    location.chain_.assign(chain_.begin(), chain_.end() - 1);
    location.kind_ =
        location.chain_.empty() ? chain_.back().kind : kindInsideArchive(location.path_);
    location.stamp_ = stamp_;
    location.packing_ = packing_;
    return location;
}

std::string Location::nameInFolder() const {
    return chain_.empty() ? baseNameOf(path_) : path_.substr(chain_.back().end + 1);
}

std::string Location::hostFile() const {
    return chain_.empty() ? path_ : path_.substr(0, chain_.front().end);
}

std::string Location::hostFolder() const {
    return directoryOf(hostFile());
}

std::span<const std::string_view> fileKindExtensions() {
    return kFileKindExtensions;
}

std::optional<std::string> heldNameOf(std::string_view name) {
    const PlaceKind kind = kindOfName(name);
    if (kind == PlaceKind::none) {
        return std::nullopt;
    }
    return holdsOneFile(kind) ? unpackedName(std::string(name)) : std::string();
}

} // namespace tessarin
