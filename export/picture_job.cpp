#include "export/picture_job.h"

#include "export/bmp_reader.h"
#include "export/png_writer.h"
#include "platform/file_error.h"
#include "platform/file_stream.h"
#include "platform/posix_io.h"
#include "platform/target_file.h"

#include <cerrno>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

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

// A file in memory with a name (/proc/self/fd/N) for the writers that take one; its
// bytes are then written to the target in one go.
class MemoryFile {
public:
    MemoryFile() : fd_(::memfd_create("tessarin-export", MFD_CLOEXEC)) {
        if (fd_ < 0) {
            throw FileError({}, "Cannot make a file in memory: " + posix::errnoText(errno));
        }
    }
    ~MemoryFile() { ::close(fd_); }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    [[nodiscard]] std::string name() const { return "/proc/self/fd/" + std::to_string(fd_); }
    [[nodiscard]] std::vector<std::uint8_t> bytes() const {
        InputFile in(name());
        std::vector<std::uint8_t> content(in.size());
        content.resize(in.read(content));
        return content;
    }

private:
    int fd_;
};

// Runs write on the memory file; its errors are reported against target, the file
// the user named. Errors of inputs pass as they are.
template <typename Write>
void writeScratch(const MemoryFile& scratch, const std::string& target, Write write) {
    const std::string scratchName = scratch.name();
    try {
        write(scratchName);
    } catch (const FileError& e) {
        if (e.fileName() != scratchName) {
            throw;
        }
        std::string message = e.what();
        const std::string quoted = "\"" + scratchName + "\"";
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
    job.mapping.paletteSource =
        options.paletteSource.value_or(paletteFile.empty() ? psStandard : psFile);
    job.viewMode = viewModeOf(options.size, options.rotate);
    return job;
}

// The steps of the viewer: choose the screen mode, open the files into their slots,
// confirm the mapping dialog (which reloads every file), then write the picture.
void renderBitmap(const PictureJob& job, const std::string& bmpFile) {
    TScreenDocument document;
    document.vdp->setScreenMode(job.screenMode);
    document.mapping = job.mapping;
    document.vram0FileName = job.screenFile;
    document.vram1FileName = job.vram1File;
    document.paletteFileName = job.paletteFile;
    document.Reload();
    if (job.mapping.paletteSource == psVram) {
        document.vdp->readVramPalette();
    }
    document.vdp->selectPalette(job.mapping.paletteSource);
    document.viewMode = job.viewMode;
    document.WriteBitmap(bmpFile);
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
    const MemoryFile bitmap;
    writeScratch(bitmap, target, [&](const std::string& name) { renderBitmap(job, name); });
    const ReplaceMode mode =
        overwrite == Overwrite::replace ? ReplaceMode::replace : ReplaceMode::keepExisting;
    if (format == ImageFormat::bmp) {
        writeTargetFile(target, bitmap.bytes(), mode);
        return;
    }
    // The PNG carries exactly the pixels of the BMP the viewer would have written.
    const MemoryFile png;
    writeScratch(png, target,
                 [&](const std::string& name) { writePng(readBmp24(bitmap.name()), name); });
    writeTargetFile(target, png.bytes(), mode);
}

} // namespace tessarin::exporter
