#include "document/resolve.h"

#include "document/view_geometry.h"
#include "vdp/screen_modes.h"

namespace tessarin {

PictureRequest resolve(FileSource& files, const Location& name, std::optional<ScreenMode> chosen) {
    return resolve(files, pictureFilesOf(files, name), chosen);
}

PictureRequest resolve(FileSource& files, const PictureFiles& found,
                       std::optional<ScreenMode> chosen) {
    PictureRequest request;
    request.screenFile = found.screenFile;
    request.vram1File = found.companion.value_or(Location());
    request.paletteFile = found.paletteFile.value_or(Location());
    request.paletteLeftOut = found.paletteLeftOut.value_or(Location());
    request.leftOutReason = found.leftOutReason;
    if (chosen) {
        request.screenMode = *chosen;
        request.screenModeWhy = ModeWhy::chosen;
    } else if (const auto ruling = files.screenModeOf(found.screenFile)) {
        request.screenMode = ruling->mode;
        request.screenModeWhy = ruling->why;
    }
    const auto linePixels =
        static_cast<std::int16_t>(findScreenMode(request.screenMode)->lineWidth);
    request.mapping.linePixels = {linePixels, linePixels};
    request.viewMode =
        viewModeOf(automaticSizeOf(request.screenMode, !request.vram1File.path().empty()), false);
    return request;
}

} // namespace tessarin
