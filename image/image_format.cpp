#include "image/image_format.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

namespace tessarin {

namespace {

constexpr std::array<std::pair<ImageFormat, std::string_view>, 2> kExtensions{{
    {ImageFormat::bmp, "bmp"},
    {ImageFormat::png, "png"},
}};

bool endsWithNoCase(std::string_view s, std::string_view suffix) {
    if (s.size() < suffix.size()) {
        return false;
    }
    return std::equal(suffix.begin(), suffix.end(), s.end() - static_cast<long>(suffix.size()),
                      [](char a, char b) {
                          return std::tolower(static_cast<unsigned char>(a)) ==
                                 std::tolower(static_cast<unsigned char>(b));
                      });
}

} // namespace

std::optional<ImageFormat> formatOfName(std::string_view fileName) {
    for (const auto& [format, extension] : kExtensions) {
        if (fileName.size() > extension.size() &&
            fileName[fileName.size() - extension.size() - 1] == '.' &&
            endsWithNoCase(fileName, extension)) {
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
