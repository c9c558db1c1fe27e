#pragma once

#include "export/options.h"
#include "export/picture_job.h"
#include "platform/file_error.h"
#include "storage/location.h"

#include <string>
#include <variant>
#include <vector>

namespace tessarin::exporter {

// What names one picture's work; its PictureJob is made when it is converted (jobOf), so
// that the plan holds little per picture.
struct BatchItem {
    Location screenFile;     // the file the picture is made of (screenFileOf the FILE)
    std::string paletteFile; // paired in the batch or given by --palette; may be empty
    std::string output;      // OUTDIR/<base name>.<format>, or a longer name where that collides
    bool renamed = false;    // output is not <base name>.<format>: the listing says from what
};

// A file of a disk image that holds no picture, and why ("text, not a picture").
struct SkippedFile {
    std::string file;
    std::string reason;
};

struct BatchPlan {
    std::vector<BatchItem> items;
    std::vector<std::string> unusedPalettes; // palette FILEs no screen file pairs with, in order
    std::vector<std::string> folders;        // OUTDIR/<disk> of each disk image, made with OUTDIR
    std::vector<SkippedFile> skipped;        // files of disk images that are no pictures
    std::vector<FileError> damage;           // what the disk images' reader found wrong, in order
    std::vector<FileError> unreadable;       // folders that could not be listed, in order
};

// One picture per screen FILE, paired with its palette FILE as in a folder (NameIndex),
// else with --palette; a companion FILE whose screen file is named too is that picture's
// page 1, not a picture of its own; a disk image's pictures into a folder OUTDIR/<disk's
// base name>. Names decide, and the sizes of files named as palettes (FileSource::choose),
// with disk images' directories. Outputs and folders whose names would collide (X.SC5
// beside X.SR8, PIC.SC5 in two folders, GAME.DSK in two) share one renaming, in the FILEs'
// order, by outputNames, so that every one is converted. A screen file without a palette
// under --palette-source file is a usage error naming it. A FILE named twice, however
// (PIC.SC5, ./PIC.SC5, a link), counts once. Running out of memory throws FileError naming
// the FILE. Of a disk
// image's files only its picture files (FileSource::pictureKindOf) and palettes are
// converted; the others are left out, each with its reason.
[[nodiscard]] std::variant<BatchPlan, UsageError> planBatch(const ExportOptions& options);

// The job of item, planned with options: its files as they are found now (jobFor).
[[nodiscard]] PictureJob jobOf(const ExportOptions& options, const BatchItem& item);

} // namespace tessarin::exporter
