#pragma once

#include <stdexcept>
#include <string>

namespace tessarin {

// Every failure of file access: carries the file it concerns, and a message that
// names it ("Cannot open file \"PIC.SC7\": No such file or directory").
class FileError : public std::runtime_error {
public:
    FileError(std::string fileName, const std::string& message);

    [[nodiscard]] const std::string& fileName() const noexcept { return fileName_; }

private:
    std::string fileName_;
};

} // namespace tessarin
