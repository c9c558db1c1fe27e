#include "platform/name_locale.h"

#include <clocale>
#include <langinfo.h>
#include <string_view>

namespace tessarin {

void useUtf8Names() {
    if (std::setlocale(LC_CTYPE, "") != nullptr &&
        std::string_view(::nl_langinfo(CODESET)) == "UTF-8") {
        return;
    }
    std::setlocale(LC_CTYPE, "C.UTF-8");
}

} // namespace tessarin
