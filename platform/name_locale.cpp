#include "platform/name_locale.h"

#include <clocale>
#include <langinfo.h>
#include <string_view>

namespace tessarin {

namespace {

constexpr std::string_view kUtf8 = "UTF-8";    // nl_langinfo's name of the character set
constexpr const char* kUtf8Locale = "C.UTF-8"; // glibc's own, always there
constexpr const char* kEnvironmentLocale = ""; // setlocale's name for LC_ALL, LC_CTYPE, LANG

} // namespace

void useUtf8Names() {
    if (std::setlocale(LC_CTYPE, kEnvironmentLocale) != nullptr &&
        std::string_view(::nl_langinfo(CODESET)) == kUtf8) {
        return;
    }
    std::setlocale(LC_CTYPE, kUtf8Locale);
}

} // namespace tessarin
