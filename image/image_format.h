#pragma once

#include <optional>
#include <string_view>

namespace tessarin {

// The formats a picture is written in.
enum class ImageFormat { bmp, png };

// The format a file name's extension names (".bmp", ".png", any case); nothing for any
// other name. The viewer's Save As and the exporter both decide by it.
[[nodiscard]] std::optional<ImageFormat> formatOfName(std::string_view fileName);

// The extension of a format, without the dot: "bmp" or "png".
[[nodiscard]] const char* extensionOf(ImageFormat format);

} // namespace tessarin
