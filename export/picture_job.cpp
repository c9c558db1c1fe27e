#include "export/picture_job.h"

#include "catalog/picture_files.h"
#include "catalog/picture_kind.h"
#include "convert/encode.h"
#include "document/image_source.h"
#include "document/pixel_shape.h"
#include "image/image_input.h"
#include "names/file_name_rule.h"
#include "platform/file_error.h"
#include "platform/target_file.h"

#include <array>
#include <sys/stat.h>

namespace tessarin::exporter {

namespace {

// The file-system files the job reads: a disk image for a file inside one.
void refuseInputAsTarget(const PictureJob& job, const std::string& target) {
    const std::array inputs{job.screenFile.hostFile(), job.vram1File.hostFile(),
                            job.paletteFile.hostFile()};
    tessarin::refuseInputAsTarget(target, inputs);
}

// Before any work, as a batch run again finds most of its outputs there.
void refuseExisting(const PictureJob& job, const std::string& target) {
    struct stat info {};
    if (::lstat(target.c_str(), &info) == 0) {
        refuseInputAsTarget(job, target); // the more telling message
        throw FileError(target, "Output file \"" + target + "\" already exists");
    }
}

// The picture to write: a PNG or JPEG file's own, or the screen file's, rendered with
// square pixels when a screen is made of it (its --aspect then shapes the screen).
SourceImage sourceOf(const PictureJob& job, bool toScreen) {
    if (job.unresolved) {
        throw *job.unresolved;
    }
    if (isImageInputName(job.screenFile.path())) {
        return readSourceImage(fileSource(), job.screenFile);
    }
    PictureChoices choices = job;
    if (toScreen) {
        choices.aspect = PixelAspect::square;
        choices.thumbnailSize.reset();
    }
    SourceImage source;
    source.picture = makePicture(choices);
    return source;
}

// The files the job writes: target, and beside an interlaced one its page 1.
std::vector<std::string> targetsOf(const PictureJob& job, const std::string& target) {
    std::vector<std::string> targets{target};
    if (job.msx.interlace) {
        std::optional<std::string> companion = companionNameOf(target);
        if (!companion) {
            throw FileError(target, "No page-1 file name pairs with \"" + target + "\"");
        }
        targets.push_back(*std::move(companion));
    }
    return targets;
}

} // namespace

PictureJob jobFor(const ExportOptions& options, const Location& screenFile,
                  const std::string& paletteFile) {
    PictureJob job;
    // A disk image stands for its first picture; one that is no disk, or holds none, is
    // reported when the picture is made.
    PictureFiles files{screenFile, {}, {}, {}, {}};
    try {
        files = pictureFilesOf(fileSource(), screenFile);
    } catch (const FileError& error) {
        job.unresolved = error;
    }
    // The picture as the viewer opens it, then what the options change of it.
    static_cast<PictureRequest&>(job) = resolve(fileSource(), files, options.screenMode);
    // A screen file's companion is its page 1 unless VRAM1 was named.
    if (!options.vram1File.empty() || options.fixedLayout) {
        job.vram1File = Location::of(options.vram1File);
    }
    // A palette paired in the batch or given, else the one beside it by base name.
    if (!paletteFile.empty()) {
        job.paletteFile = Location::of(paletteFile);
        job.paletteOrigin = PaletteOrigin::byHand;
        job.paletteLeftOut = {};
    }
    // A PNG or JPEG picture takes no palette: one beside it by name is nothing to tell.
    if (!job.paletteLeftOut.path().empty() && !isImageInputName(screenFile.path())) {
        job.note =
            job.paletteLeftOut.path() + " left out: " + std::string(reasonText(job.leftOutReason));
    }
    if (options.linePixels) {
        job.mapping.linePixels = {*options.linePixels, *options.linePixels};
    }
    job.mapping.headerSize = options.headerSize;
    job.mapping.paletteSource = options.paletteSource.value_or(PaletteSource::automatic);
    job.mapping.layout = options.fixedLayout ? LayoutChoice::fixed : LayoutChoice::automatic;
    const ViewSize size =
        options.size.value_or(automaticSizeOf(job.screenMode, !job.vram1File.path().empty()));
    job.viewMode = viewModeOf(size, options.rotate);
    job.colourModel = options.colourModel.value_or(ColourModel::levels);
    job.sprites = options.sprites.value_or(SpriteChoice::automatic);
    job.largeSprites = options.largeSprites;
    job.aspect = options.aspect.value_or(PixelAspect::square);
    job.thumbnailSize = options.thumbnailSize;
    job.msx.fit = options.fit;
    job.msx.tvAspect = pixelAspectOf(ViewMode::plain256x212, job.aspect);
    job.msx.dither = options.dither;
    job.msx.transparent = options.transparent;
    job.msx.lines = options.lines.value_or(0);
    job.msx.colourModel = job.colourModel;
    job.msx.sprites = options.placedSprites.value_or(0);
    job.msx.interlace = options.interlace;
    job.measured = options.verbose;
    return job;
}

std::optional<ColourErrorFigures> exportPicture(const PictureJob& job, const std::string& target,
                                                ImageFormat format, Overwrite overwrite) {
    // The inputs are checked as the document opens them, each once.
    const std::vector<std::string> targets = targetsOf(job, target);
    if (overwrite == Overwrite::refuse) {
        for (const std::string& t : targets) {
            refuseExisting(job, t);
        }
    }
    const std::optional<MsxScreen> screen = msxScreenOf(format);
    const SourceImage source = sourceOf(job, screen.has_value());
    if (overwrite == Overwrite::replace) {
        for (const std::string& t : targets) {
            refuseInputAsTarget(job, t);
        }
    }
    const ReplaceMode mode =
        overwrite == Overwrite::replace ? ReplaceMode::replace : ReplaceMode::keepExisting;
    if (screen) {
        const MsxEncoding encoding = encodeMsx(source, *screen, job.msx);
        std::vector<TargetBytes> files{{target, ByteSpan(encoding.file)}};
        if (job.msx.interlace) {
            files.push_back({targets.back(), ByteSpan(encoding.companion)});
        }
        writeTargetFiles(files, mode);
        // The error costs two blurs of the picture: only when it is told.
        return job.measured ? std::optional(colourError(encoding.fitted, encoding.preview))
                            : std::nullopt;
    }
    // A BMP's rows go from the picture to the file, not through a copy.
    writeTargetFile(target, encode(source.picture, format).pieces(), mode);
    return std::nullopt;
}

} // namespace tessarin::exporter
