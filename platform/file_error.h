#pragma once

#include <stdexcept>
#include <string>

namespace tessarin {

// Every failure of file access: carries the file it concerns, and a message that
// names it ("Cannot open file \"PIC.SC7\": No such file or directory").
class FileError : public std::runtime_error {
public:
    FileError(std::string fileName, const std::string& message, int systemError = 0);

    [[nodiscard]] const std::string& fileName() const noexcept { return fileName_; }
    // The errno value behind the failure, 0 when it had none (a bad format, an empty file):
    // lets a batch tell a passing shortage (EMFILE) from a fault of the file.
    [[nodiscard]] int systemError() const noexcept { return systemError_; }

private:
    std::string fileName_;
    int systemError_;
};

} // namespace tessarin
