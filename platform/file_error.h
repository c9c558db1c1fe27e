#pragma once

#include <stdexcept>
#include <string>

namespace tessarin {

// What went wrong with a file, as one kind: callers and tests tell faults apart by it, not
// by the message's text.
enum class Fault {
    access,           // opening, reading or writing failed; systemError() says why
    empty,            // the file holds nothing
    noScreenFile,     // a disk image without a picture
    notDiskImage,     // no boot sector and FAT of an MSX-DOS disk
    diskTooLarge,     // larger than any MSX-DOS partition
    partPastEnd,      // the FAT or the root directory lies past the image's end
    chainLoop,        // a cluster chain comes back to one of its clusters
    chainBroken,      // a chain leads to a free or bad cluster, or outside the data area
    chainShort,       // a chain ends before the file's size
    clusterPastEnd,   // a cluster lies past the image's end
    directoryLoop,    // a directory contains itself or one listed before
    directoryTooDeep, // directories nested deeper than the disk reader follows
    tooManyEntries,   // more entries than the disk reader lists
    sameName,         // a second directory entry of a path already listed
    nameUnreachable,  // an archive member in a folder named as a disk image or archive
    noSuchFile,       // no file of that name on the disk
    listTooLong,      // a list of names longer than any real one
    packedBroken,     // a packed stream runs past its input, its output or its start
    archiveBroken,    // an archive its reader cannot list or unpack
    memberTooLarge,   // an archive member or packed file unpacks past the largest read, or a
                      // cassette image is larger than any tape
    ratioTooHigh,     // an archive member unpacks to far more than its packed bytes
    pastUnpackBound,  // members past this point of an archive cost more unpacking than allowed
    notPicture,       // neither a PNG nor a JPEG picture, or a damaged one
    pictureTooLarge,  // a picture larger than any screen is converted from
    notCassette,      // no block mark at the start of a cassette image
    tapeFileBroken,   // a file on a tape without its data, or cut short
};

// Every failure of file access: carries the file it concerns, and a message that
// names it ("Cannot open file \"PIC.SC7\": No such file or directory").
class FileError : public std::runtime_error {
public:
    FileError(std::string fileName, const std::string& message, int systemError = 0);
    FileError(std::string fileName, const std::string& message, Fault fault);

    [[nodiscard]] const std::string& fileName() const noexcept { return fileName_; }
    // The errno value behind the failure, 0 when it had none (a bad format, an empty file):
    // lets a batch tell a passing shortage (EMFILE) from a fault of the file.
    [[nodiscard]] int systemError() const noexcept { return systemError_; }
    [[nodiscard]] Fault fault() const noexcept { return fault_; }

private:
    std::string fileName_;
    int systemError_;
    Fault fault_;
};

} // namespace tessarin
