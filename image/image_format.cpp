#include "image/image_format.h"

#include "names/ascii_case.h"

#include <algorithm>
#include <array>
#include <utility>

namespace tessarin {

namespace {

// A format's first extension is the one its files are given.
constexpr std::array<std::pair<ImageFormat, std::string_view>, 16> kExtensions{{
    {ImageFormat::bmp, "bmp"},
    {ImageFormat::png, "png"},
    {ImageFormat::sc2, "sc2"},
    {ImageFormat::sc3, "sc3"},
    {ImageFormat::sc4, "sc4"},
    {ImageFormat::sc5, "sc5"},
    {ImageFormat::sc6, "sc6"},
    {ImageFormat::sc7, "sc7"},
    {ImageFormat::sc8, "sc8"},
    {ImageFormat::sc10, "sca"},
    {ImageFormat::sc10, "s10"},
    {ImageFormat::sc11, "scb"},
    {ImageFormat::sc11, "s11"},
    {ImageFormat::sc12, "sc12"},
    {ImageFormat::sc12, "s12"},
    {ImageFormat::sc12, "scc"},
}};

} // namespace

std::string_view extensionOfName(std::string_view fileName) {
    const std::size_t slash = fileName.rfind('/');
    const std::string_view last =
        slash == std::string_view::npos ? fileName : fileName.substr(slash + 1);
    const std::size_t dot = last.rfind('.');
    return dot == std::string_view::npos || dot == 0 ? std::string_view() : last.substr(dot + 1);
}

std::optional<ImageFormat> formatOfName(std::string_view fileName) {
    const std::string_view extension = extensionOfName(fileName);
    for (const auto& [format, known] : kExtensions) {
        if (equalIgnoringAsciiCase(extension, known)) {
            return format;
        }
    }
    return std::nullopt;
}

const char* extensionOf(ImageFormat format) {
    for (const auto& [f, extension] : kExtensions) {
        if (f == format) {
            return extension.data();
        }
    }
    return "";
}

} // namespace tessarin
