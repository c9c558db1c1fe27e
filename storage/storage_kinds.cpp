#include "storage/storage_kinds.h"

#include "names/ascii_case.h"
#include "platform/file_system.h"
#include "storage/archive_storage.h"
#include "storage/disk_storage.h"
#include "storage/folder_storage.h"
#include "storage/packed_storage.h"
#include "storage/zx0.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace tessarin {

namespace {

// A kind of file that holds files, known by its extension in any case.
struct FileKind {
    std::string_view extension;
    std::unique_ptr<const Storage> (*open)(const std::string& file);
    // The kind from its bytes read out of an archive; nullptr for an archive, which holds
    // the other kinds but lies in none.
    std::unique_ptr<const Storage> (*openInside)(const std::string& file,
                                                 std::vector<std::uint8_t> bytes);
    bool oneFile; // holds one file, which the file stands for
};

std::unique_ptr<const Storage> openDisk(const std::string& file) {
    return std::make_unique<const DiskStorage>(file);
}
std::unique_ptr<const Storage> openDiskInside(const std::string& file,
                                              std::vector<std::uint8_t> bytes) {
    return std::make_unique<const DiskStorage>(file, std::move(bytes));
}
template <Unpacker unpack> std::unique_ptr<const Storage> openPacked(const std::string& file) {
    return std::make_unique<const PackedStorage>(file, unpack);
}
template <Unpacker unpack>
std::unique_ptr<const Storage> openPackedInside(const std::string& file,
                                                std::vector<std::uint8_t> bytes) {
    return std::make_unique<const PackedStorage>(file, bytes, unpack);
}
template <ArchiveStorage::Kind kind>
std::unique_ptr<const Storage> openArchive(const std::string& file) {
    return std::make_unique<const ArchiveStorage>(file, kind);
}

// Every kind of file that holds files, one line each; a directory is a FolderStorage.
constexpr std::array kFileKinds{
    FileKind{".dsk", openDisk, openDiskInside, false},
    FileKind{".zx0", openPacked<unpackZx0>, openPackedInside<unpackZx0>, true},
    FileKind{".zip", openArchive<ArchiveStorage::Kind::members>, nullptr, false},
    FileKind{".lzh", openArchive<ArchiveStorage::Kind::members>, nullptr, false},
    FileKind{".lha", openArchive<ArchiveStorage::Kind::members>, nullptr, false},
    FileKind{".7z", openArchive<ArchiveStorage::Kind::members>, nullptr, false},
    FileKind{".gz", openArchive<ArchiveStorage::Kind::gzip>, nullptr, true},
};

constexpr auto kFileKindExtensions = [] {
    std::array<std::string_view, kFileKinds.size()> extensions;
    std::ranges::transform(kFileKinds, extensions.begin(), &FileKind::extension);
    return extensions;
}();

const FileKind* kindOfName(std::string_view name) {
    for (const FileKind& kind : kFileKinds) {
        if (name.size() > kind.extension.size() &&
            name[name.size() - kind.extension.size() - 1] != '/' &&
            equalIgnoringAsciiCase(name.substr(name.size() - kind.extension.size()),
                                   kind.extension)) {
            return &kind;
        }
    }
    return nullptr;
}

bool isArchive(const FileKind* kind) {
    return kind != nullptr && kind->openInside == nullptr;
}

// The first file of the file system of a kind that holds files that path leads through,
// and the name inside it.
std::optional<PlacePath> splitHostPath(const std::string& path) {
    for (std::size_t slash = path.find('/'); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        std::string prefix = path.substr(0, slash);
        if (kindOfName(prefix) == nullptr) {
            continue;
        }
        if (const auto stamp = stampOf(prefix, EntryType::regularFile)) {
            std::string inner = path.substr(slash + 1);
            if (inner.empty()) {
                return std::nullopt;
            }
            return PlacePath{{std::move(prefix), *stamp, true, {}}, std::move(inner)};
        }
    }
    return std::nullopt;
}

// A place inside the archive at host, where inner leads through one ("GAME.DSK/PIC.SC5"
// inside GAME.ZIP); nothing where it does not.
std::optional<PlacePath> nestedPath(const PlacePath& host) {
    if (!isArchive(kindOfName(host.place.path))) {
        return std::nullopt;
    }
    const std::string& inner = host.inner;
    for (std::size_t slash = inner.find('/'); slash != std::string::npos;
         slash = inner.find('/', slash + 1)) {
        if (kindOfName(std::string_view(inner).substr(0, slash)) != nullptr &&
            slash + 1 < inner.size()) {
            return PlacePath{{host.place.path + '/' + inner.substr(0, slash), host.place.stamp,
                              true, host.place.path},
                             inner.substr(slash + 1)};
        }
    }
    return std::nullopt;
}

} // namespace

std::span<const std::string_view> fileKindExtensions() {
    return kFileKindExtensions;
}

std::optional<FoundPlace> findPlace(const std::string& path) {
    if (const FileKind* kind = kindOfName(path)) {
        if (const auto stamp = stampOf(path, EntryType::regularFile)) {
            return FoundPlace{path, *stamp, true, {}};
        }
        if (!isArchive(kind)) {
            // One level deep: the path's own member, not one inside another of its places.
            if (const auto host = splitHostPath(path);
                host && isArchive(kindOfName(host->place.path)) && !nestedPath(*host)) {
                return FoundPlace{path, host->place.stamp, true, host->place.path};
            }
        }
    }
    if (const auto stamp = stampOf(path, EntryType::directory)) {
        return FoundPlace{path, *stamp, false, {}};
    }
    return std::nullopt;
}

std::unique_ptr<const Storage> openStorage(const FoundPlace& place) {
    if (!place.isFile) {
        return std::make_unique<const FolderStorage>(place.path);
    }
    if (place.archive.empty()) {
        return kindOfName(place.path)->open(place.path);
    }
    // Inside an archive: the member unpacked (bounded by the archive), then read as its kind.
    const auto archive = kindOfName(place.archive)->open(place.archive);
    InputBytes member =
        archive->read(place.path.substr(place.archive.size() + 1), kMaxMemberBytes, place.path);
    return kindOfName(place.path)->openInside(place.path, std::move(member.bytes));
}

bool holdsFiles(const std::string& path) {
    const auto found = kindOfName(path) != nullptr ? findPlace(path) : std::nullopt;
    return found && found->isFile;
}

std::optional<std::string> soleFileOf(const std::string& path) {
    const FileKind* kind = kindOfName(path);
    if (kind == nullptr || !kind->oneFile || !holdsFiles(path)) {
        return std::nullopt;
    }
    return path + '/' + unpackedName(path);
}

std::optional<std::string> heldNameOf(std::string_view name) {
    const FileKind* kind = kindOfName(name);
    if (kind == nullptr) {
        return std::nullopt;
    }
    return kind->oneFile ? unpackedName(std::string(name)) : std::string();
}

bool keepsFolders(const std::string& path) {
    return isArchive(kindOfName(path));
}

std::optional<PlacePath> splitPlacePath(const std::string& path) {
    auto host = splitHostPath(path);
    if (!host) {
        return std::nullopt;
    }
    if (auto nested = nestedPath(*host)) {
        return nested;
    }
    return host;
}

std::string folderOf(const std::string& path) {
    if (const auto where = splitPlacePath(path)) {
        return where->place.path;
    }
    return directoryOf(path);
}

std::string hostFolderOf(const std::string& path) {
    return directoryOf(hostFileOf(path));
}

std::string hostFileOf(const std::string& path) {
    if (const auto where = splitPlacePath(path)) {
        return where->place.archive.empty() ? where->place.path : where->place.archive;
    }
    return path;
}

std::string nameInFolder(const std::string& path) {
    if (const auto where = splitPlacePath(path)) {
        return where->inner;
    }
    return baseNameOf(path);
}

} // namespace tessarin
