#include "export/source_key.h"

#include "export/printable.h"
#include "storage/stamp.h"

namespace tessarin::exporter {

namespace {

std::string number(auto value) {
    return std::to_string(static_cast<long long>(value));
}

// "|name size seconds.nanoseconds" of a file read, nothing for one the job has not.
std::string fileKey(const Location& file) {
    if (file.path().empty()) {
        return {};
    }
    const std::optional<Stamp> stamp = stampOf(file.hostFile(), EntryType::regularFile);
    if (!stamp) {
        return "|" + printable(file.path()) + " unknown";
    }
    return "|" + printable(file.path()) + " " + number(stamp->size) + " " +
           number(stamp->modified.tv_sec) + "." + number(stamp->modified.tv_nsec);
}

} // namespace

std::string sourceKey(const PictureJob& job, std::int16_t thumbnailSize) {
    const VramMapping& m = job.mapping;
    std::string key = "screen " + number(job.screenMode) + " view " + number(job.viewMode) +
                      " colours " + number(job.colourModel) + " sprites " + number(job.sprites) +
                      " aspect " + number(job.aspect) + " palette " + number(job.paletteOrigin) +
                      " from " + number(m.paletteSource) + " layout " + number(m.layout) + " " +
                      number(m.headerSize[0]) + "," + number(m.headerSize[1]) + " " +
                      number(m.linePixels[0]) + "," + number(m.linePixels[1]) + " thumbnail " +
                      number(thumbnailSize);
    if (job.unresolved) {
        return key + " unresolved"; // read again, to fail again
    }
    return key + fileKey(job.screenFile) + fileKey(job.vram1File) + fileKey(job.paletteFile);
}

} // namespace tessarin::exporter
