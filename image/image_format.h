#pragma once

#include <optional>
#include <string_view>

namespace tessarin {

// The formats a picture is written in: BMP, PNG, and the MSX screens' BSAVE files.
enum class ImageFormat { bmp, png, sc2, sc5, sc7, sc8, sc12, sc3, sc4, sc6, sc10, sc11 };

// The format a file name's extension names (".bmp", ".png", ".sc2" to ".sc8", ".sca" or
// ".s10", ".scb" or ".s11", ".sc12", ".s12" or ".scc", any case); nothing for any other name. The viewer's Save As and the exporter
// both decide by it: a file's extension and the bytes written in it always agree.
[[nodiscard]] std::optional<ImageFormat> formatOfName(std::string_view fileName);

// The extension of the last part of a file name, without the dot; empty when there is none
// ("out", "dir.d/out", ".profile", "out.").
[[nodiscard]] std::string_view extensionOfName(std::string_view fileName);

// The extension of a format, without the dot: "bmp", "png", "sc5"...
[[nodiscard]] const char* extensionOf(ImageFormat format);

} // namespace tessarin
