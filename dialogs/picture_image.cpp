#include "dialogs/picture_image.h"

namespace tessarin {

QImage imageOf(const Picture& picture) {
    // RgbTriple rows are blue, green, red: BGR888, read in place and then copied.
    const QImage shown(reinterpret_cast<const uchar*>(picture.pixels().data()), picture.width(),
                       picture.height(), picture.width() * static_cast<int>(sizeof(RgbTriple)),
                       QImage::Format_BGR888);
    return shown.copy();
}

} // namespace tessarin
