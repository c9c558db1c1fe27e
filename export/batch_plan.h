#pragma once

#include "export/options.h"
#include "export/picture_job.h"

#include <string>
#include <variant>
#include <vector>

namespace tessarin::exporter {

struct BatchItem {
    PictureJob job;
    std::string output;   // OUTDIR/<base name>.<format>, or a longer name where that collides
    bool renamed = false; // output is not <base name>.<format>: the listing says from what
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
};

// One picture per screen FILE, paired with its palette FILE as in a folder (NameIndex),
// else with --palette; a companion FILE whose screen file is named too is that picture's
// page 1, not a picture of its own. Names decide, and the sizes of files named as palettes
// (FileSource::choose). Screen files whose outputs would collide (X.SC5 beside X.SR8,
// PIC.SC5 in two folders) keep their own extension (X.SC5.png) and, where that still
// collides, a number (PIC.SC5-2.png), so that every one is converted. A screen file without
// a palette under --palette-source file is a usage error naming it. A FILE named twice
// counts once. Of a disk image's files only its picture files (FileSource::pictureKindOf)
// and palettes are converted; the others are skipped, each with its reason.
[[nodiscard]] std::variant<BatchPlan, UsageError> planBatch(const ExportOptions& options);

} // namespace tessarin::exporter
