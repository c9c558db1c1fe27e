#pragma once

#include "export/options.h"
#include "export/picture_job.h"
#include "platform/file_error.h"
#include "storage/location.h"

#include <functional>
#include <optional>
#include <string>
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

// What the walk plans of one place (the FILEs themselves, a folder, a disk image, an
// archive): its own pictures and what it found, handed on before the places inside it.
struct PlanPart {
    std::vector<BatchItem> items;
    std::vector<std::string> unusedPalettes; // palette FILEs no screen file pairs with, in order
    std::vector<std::string> folders;        // the folders items go to, made before them
    std::vector<SkippedFile> skipped;        // files that are no pictures
    std::vector<FileError> damage;           // what a disk image's reader found wrong, in order
    std::vector<FileError> unreadable;       // a folder that could not be listed
    std::string sheetFolder; // OUTDIR/<disk> of a disk image or archive, whose contact sheet
                             // shows items; empty for a folder and for the FILEs
};

// Takes each part as it is planned; false ends the walk.
using TakePart = std::function<bool(PlanPart&&)>;

// Plans the batch part by part, each handed to take in order: one picture per screen FILE,
// paired with its palette FILE as in a folder (NameIndex), else with --palette; a companion
// FILE whose screen file is named too is that picture's page 1, not a picture of its own; a
// disk image's pictures into a folder OUTDIR/<disk's base name>. A place's own pictures
// come before the places inside it; the FILEs keep their order. Names decide, and the sizes of
// files named as palettes (FileSource::choose), with disk images' directories. Outputs and folders
// whose names would collide (X.SC5 beside X.SR8, GAME.DSK in two folders) share one renaming, in
// the FILEs' order, by outputNames, so that every one is converted. A FILE named twice, however
// (PIC.SC5, ./PIC.SC5, a link), counts once. Of a disk image's files only its picture files
// (FileSource::pictureKindOf) and palettes are converted; the others are left out, each
// with its reason. What it holds at once is the listing of the places it is in, not the
// batch. Returns a usage error before any part when a screen FILE has no palette under
// --palette-source file; when no part holds a picture or a file left out, returns one
// instead of handing on the parts. Running out of memory throws FileError naming the FILE.
[[nodiscard]] std::optional<UsageError> planBatch(const ExportOptions& options,
                                                  const TakePart& take);

// The job of item, planned with options: its files as they are found now (jobFor). A
// screen file found in a folder or disk with no palette under --palette-source file
// throws FileError naming it.
[[nodiscard]] PictureJob jobOf(const ExportOptions& options, const BatchItem& item);

} // namespace tessarin::exporter
