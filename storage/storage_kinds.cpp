#include "storage/storage_kinds.h"

#include "names/ascii_case.h"
#include "platform/file_system.h"
#include "storage/disk_storage.h"
#include "storage/folder_storage.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace tessarin {

namespace {

// A kind of file that holds files, known by its extension in any case.
struct FileKind {
    std::string_view extension;
    std::unique_ptr<const Storage> (*open)(const std::string& file);
};

template <class Kind> std::unique_ptr<const Storage> open(const std::string& file) {
    return std::make_unique<const Kind>(file);
}

// Every kind of file that holds files, one line each; a directory is a FolderStorage.
constexpr std::array kFileKinds{
    FileKind{".dsk", open<DiskStorage>},
};

constexpr auto kFileKindExtensions = [] {
    std::array<std::string_view, kFileKinds.size()> extensions;
    std::ranges::transform(kFileKinds, extensions.begin(), &FileKind::extension);
    return extensions;
}();

const FileKind* kindOfName(std::string_view name) {
    for (const FileKind& kind : kFileKinds) {
        if (name.size() > kind.extension.size() &&
            equalIgnoringAsciiCase(name.substr(name.size() - kind.extension.size()),
                                   kind.extension)) {
            return &kind;
        }
    }
    return nullptr;
}

} // namespace

std::span<const std::string_view> fileKindExtensions() {
    return kFileKindExtensions;
}

std::optional<FoundPlace> findPlace(const std::string& path) {
    if (kindOfName(path) != nullptr) {
        if (const auto stamp = stampOf(path, EntryType::regularFile)) {
            return FoundPlace{path, *stamp, true};
        }
    }
    if (const auto stamp = stampOf(path, EntryType::directory)) {
        return FoundPlace{path, *stamp, false};
    }
    return std::nullopt;
}

std::unique_ptr<const Storage> openStorage(const FoundPlace& place) {
    if (place.isFile) {
        return kindOfName(place.path)->open(place.path);
    }
    return std::make_unique<const FolderStorage>(place.path);
}

bool holdsFiles(const std::string& path) {
    return kindOfName(path) != nullptr && stampOf(path, EntryType::regularFile).has_value();
}

std::optional<PlacePath> splitPlacePath(const std::string& path) {
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
            return PlacePath{{std::move(prefix), *stamp, true}, std::move(inner)};
        }
    }
    return std::nullopt;
}

std::string folderOf(const std::string& path) {
    if (const auto where = splitPlacePath(path)) {
        return where->place.path;
    }
    return directoryOf(path);
}

std::string hostFolderOf(const std::string& path) {
    if (const auto where = splitPlacePath(path)) {
        return directoryOf(where->place.path);
    }
    return directoryOf(path);
}

std::string hostFileOf(const std::string& path) {
    if (const auto where = splitPlacePath(path)) {
        return where->place.path;
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
