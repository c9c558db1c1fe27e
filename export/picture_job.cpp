#include "export/picture_job.h"

#include "document/bmp_encoder.h"
#include "export/png_encoder.h"
#include "export/scratch_file.h"
#include "platform/file_error.h"
#include "platform/file_stream.h"

#include <sys/stat.h>

namespace tessarin::exporter {

namespace {

// The viewer passes over a missing or empty file in silence; the exporter names it.
void checkInput(const std::string& fileName) {
    if (fileName.empty()) {
        return;
    }
    InputFile in(fileName); // throws for missing, unreadable and non-regular files
    if (in.size() == 0) {
        throw FileError(fileName, "File \"" + fileName + "\" is empty");
    }
}

bool exists(const std::string& fileName) {
    struct stat info {};
    return ::lstat(fileName.c_str(), &info) == 0;
}

void refuseExisting(const std::string& target) {
    if (exists(target)) {
        throw FileError(target, "Output file \"" + target + "\" already exists");
    }
}

// Replacing an input with its own picture would lose the input.
void refuseInputAsTarget(const std::string& input, const std::string& target) {
    struct stat in {};
    struct stat out {};
    if (!input.empty() && ::stat(input.c_str(), &in) == 0 && ::stat(target.c_str(), &out) == 0 &&
        in.st_dev == out.st_dev && in.st_ino == out.st_ino) {
        throw FileError(target,
                        "Output file \"" + target + "\" is the input file \"" + input + "\"");
    }
}

// Renames the finished scratch file onto target, unless target must not be replaced
// and has appeared meanwhile.
void place(ScratchFile& finished, const std::string& target, Overwrite overwrite) {
    if (overwrite == Overwrite::refuse) {
        refuseExisting(target);
    }
    finished.moveOnto(target);
}

// Runs write on the scratch file; its errors are reported against target, the file
// the user named (the scratch name means nothing to them). Errors of inputs pass as they are.
template <typename Write>
void writeScratch(const ScratchFile& scratch, const std::string& target, Write write) {
    try {
        write(scratch.name());
    } catch (const FileError& e) {
        if (e.fileName() != scratch.name()) {
            throw;
        }
        std::string message = e.what();
        const std::string quoted = "\"" + scratch.name() + "\"";
        if (const auto at = message.find(quoted); at != std::string::npos) {
            message.replace(at, quoted.size(), "\"" + target + "\"");
        }
        throw FileError(target, message);
    }
}

} // namespace

PictureJob jobFor(const ExportOptions& options, const std::string& screenFile,
                  const std::string& paletteFile) {
    PictureJob job;
    job.screenFile = screenFile;
    job.vram1File = options.vram1File;
    job.paletteFile = paletteFile;
    job.screenMode = screenModeFor(options, screenFile);
    const std::int16_t linePixels = options.linePixels.value_or(fullLinePixels(job.screenMode));
    job.mapping.headerSize = options.headerSize;
    job.mapping.linePixels = {linePixels, linePixels};
    job.mapping.paletteSource = options.paletteSource.value_or(
        paletteFile.empty() ? PaletteSource::standard : PaletteSource::file);
    job.viewMode = viewModeOf(options.size, options.rotate);
    return job;
}

// As a user who chooses the screen mode, confirms the mapping dialog, then opens the
// files: they are laid in with the mapping from the start, not over a default load.
Picture renderJob(const PictureJob& job) {
    ScreenDocument document;
    document.selectScreenMode(job.screenMode);
    document.applyMapping(job.mapping);
    document.openInto(job.screenFile, FileSlot::vram0);
    if (!job.vram1File.empty()) {
        document.openInto(job.vram1File, FileSlot::vram1);
    }
    if (!job.paletteFile.empty()) {
        document.openInto(job.paletteFile, FileSlot::palette);
    }
    // A palette file made itself the source: the dialog once more puts back the one asked for.
    if (document.mapping != job.mapping) {
        document.applyMapping(job.mapping);
    }
    document.setViewMode(job.viewMode);
    return document.render();
}

std::vector<std::uint8_t> encodePicture(const Picture& picture, ImageFormat format) {
    return format == ImageFormat::bmp ? encodeBmp(picture) : encodePng(picture);
}

void exportPicture(const PictureJob& job, const std::string& target, ImageFormat format,
                   Overwrite overwrite) {
    checkInput(job.screenFile);
    checkInput(job.vram1File);
    checkInput(job.paletteFile);
    for (const std::string* input : {&job.screenFile, &job.vram1File, &job.paletteFile}) {
        refuseInputAsTarget(*input, target);
    }
    if (overwrite == Overwrite::refuse) {
        refuseExisting(target);
    }
    const std::vector<std::uint8_t> bytes = encodePicture(renderJob(job), format);
    ScratchFile scratch(target);
    writeScratch(scratch, target, [&](const std::string& name) {
        OutputFile out(name);
        out.write(bytes);
        out.close();
    });
    place(scratch, target, overwrite);
}

} // namespace tessarin::exporter
