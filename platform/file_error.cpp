#include "platform/file_error.h"

#include <utility>

namespace tessarin {

FileError::FileError(std::string fileName, const std::string& message, int systemError)
    : std::runtime_error(message), fileName_(std::move(fileName)), systemError_(systemError) {}

} // namespace tessarin
