#include "document/picture_recipe.h"

#include "document/pixel_shape.h"
#include "document/view_geometry.h"
#include "image/scale.h"

namespace tessarin {

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

DescribedPicture describePicture(const PictureChoices& choices) {
    ScreenDocument document;
    document.open(choices);
    DescribedPicture described{{}, document.layoutDescription(), document.paletteChoice()};
    described.picture = finishPicture(document.takePicture(), choices.viewMode, choices);
    return described;
}

} // namespace tessarin
