#include "export/picture_job.h"

#include "export/bmp_reader.h"
#include "export/png_writer.h"
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

// The steps of the viewer: choose the screen mode, open the files into their slots,
// confirm the mapping dialog (which reloads every file), then write the picture.
void renderBitmap(const PictureJob& job, const std::string& bmpFile) {
    ScreenDocument document;
    document.vdp->setScreenMode(job.screenMode);
    document.mapping = job.mapping;
    document.vram0FileName = job.screenFile;
    document.vram1FileName = job.vram1File;
    document.paletteFileName = job.paletteFile;
    document.reload();
    if (job.mapping.paletteSource == PaletteSource::vram) {
        document.vdp->readVramPalette();
    }
    document.vdp->selectPalette(job.mapping.paletteSource);
    document.viewMode = job.viewMode;
    document.writeBitmap(bmpFile);
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
    ScratchFile bitmap(target);
    writeScratch(bitmap, target, [&](const std::string& name) { renderBitmap(job, name); });
    if (format == ImageFormat::bmp) {
        place(bitmap, target, overwrite);
        return;
    }
    // The PNG carries exactly the pixels of the BMP the viewer would have written.
    ScratchFile png(target);
    writeScratch(png, target,
                 [&](const std::string& name) { writePng(readBmp24(bitmap.name()), name); });
    place(png, target, overwrite);
}

} // namespace tessarin::exporter
