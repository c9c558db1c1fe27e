#include "storage/storage_kinds.h"

#include "storage/archive_storage.h"
#include "storage/cassette_storage.h"
#include "storage/disk_storage.h"
#include "storage/dmk_tracks.h"
#include "storage/folder_storage.h"
#include "storage/packings.h"

namespace tessarin {

namespace {

// A place inside an archive: the member unpacked (bounded by the archive), then read as its
// kind.
std::unique_ptr<const Storage> openInsideArchive(const Location& place) {
    const auto archive = openStorage(place.folder());
    InputBytes member = archive->read(place.nameInFolder(), kMaxMemberBytes, place.path());
    if (place.kind() == PlaceKind::disk) {
        return std::make_unique<const DiskStorage>(place.path(), std::move(member.bytes));
    }
    if (place.kind() == PlaceKind::dmk) {
        return std::make_unique<const DiskStorage>(place.path(),
                                                   sectorsOfDmk(member.bytes, place.path()));
    }
    if (place.kind() == PlaceKind::cassette) {
        return std::make_unique<const CassetteStorage>(place.path(), member.bytes);
    }
    return std::make_unique<const PackedStorage>(place.path(), member.bytes,
                                                 unpackerOf(place.path()));
}

} // namespace

std::unique_ptr<const Storage> openStorage(const Location& place) {
    if (place.throughPlace() && place.isPlace()) { // a disk or packed file in an archive
        return openInsideArchive(place);
    }
    const std::string& path = place.path();
    switch (place.kind()) {
    case PlaceKind::directory:
        return std::make_unique<const FolderStorage>(path);
    case PlaceKind::disk:
        return std::make_unique<const DiskStorage>(path);
    case PlaceKind::dmk:
        return std::make_unique<const DiskStorage>(
            path, sectorsOfDmk(readHostFile(path, kMaxDmkBytes).bytes, path));
    case PlaceKind::cassette:
        return std::make_unique<const CassetteStorage>(path);
    case PlaceKind::packed:
        return std::make_unique<const PackedStorage>(path, unpackerOf(place.packingName()));
    case PlaceKind::archive:
        return std::make_unique<const ArchiveStorage>(path, ArchiveStorage::Kind::members);
    case PlaceKind::gzip:
        return std::make_unique<const ArchiveStorage>(path, ArchiveStorage::Kind::gzip);
    case PlaceKind::none:
        break;
    }
    throw FileError(path, "\"" + path + "\" holds no files", Fault::noSuchFile);
}

} // namespace tessarin
