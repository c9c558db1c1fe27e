#include "app/program_icon.h"

#include "app/program_icon.xpm"

namespace tessarin {

QPixmap programIcon() {
    return QPixmap(tessarin_icon_xpm);
}

} // namespace tessarin
