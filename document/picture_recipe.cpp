#include "document/picture_recipe.h"

#include "document/pixel_shape.h"
#include "document/view_geometry.h"
#include "image/scale.h"

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
    request.screenMode =
        chosen.value_or(files.screenModeOf(found.screenFile).value_or(kDefaultScreenMode));
    const auto linePixels =
        static_cast<std::int16_t>(findScreenMode(request.screenMode)->lineWidth);
    request.mapping.linePixels = {linePixels, linePixels};
    request.viewMode =
        viewModeOf(automaticSizeOf(request.screenMode, !request.vram1File.path().empty()), false);
    return request;
}

Picture finishPicture(Picture rendered, ViewMode viewMode, const PictureFinish& finish) {
    if (rendered.empty()) {
        return rendered;
    }
    if (finish.aspect != PixelAspect::square) {
        const ImageSize shown = zoomedSize({rendered.width(), rendered.height()},
                                           pixelAspectOf(viewMode, finish.aspect), 1);
        rendered = scalePicture(rendered, shown.width, shown.height);
    }
    if (finish.thumbnailSize) {
        const auto [width, height] =
            fittedSize(rendered.width(), rendered.height(), *finish.thumbnailSize);
        rendered = scalePicture(rendered, width, height);
    }
    return rendered;
}

Picture makePicture(const PictureChoices& choices) {
    return finishPicture(ScreenDocument::pictureOf(choices), choices.viewMode, choices);
}

} // namespace tessarin
