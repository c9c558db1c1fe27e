#include "names/name_parts.h"

namespace tessarin {

std::string_view fileNameOf(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string baseNameWithoutExtension(std::string_view path) {
    const std::string_view name = fileNameOf(path);
    const std::size_t dot = name.rfind('.');
    return std::string(dot == std::string_view::npos || dot == 0 ? name : name.substr(0, dot));
}

std::string_view withoutExtension(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    const std::size_t slash = path.rfind('/');
    return dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)
               ? path
               : path.substr(0, dot);
}

} // namespace tessarin
