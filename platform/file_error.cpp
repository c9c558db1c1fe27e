#include "platform/file_error.h"

#include <utility>

namespace tessarin {

FileError::FileError(std::string fileName, const std::string& message, int systemError)
    : std::runtime_error(message), fileName_(std::move(fileName)), systemError_(systemError),
      fault_(Fault::access) {}

FileError::FileError(std::string fileName, const std::string& message, Fault fault)
    : std::runtime_error(message), fileName_(std::move(fileName)), systemError_(0), fault_(fault) {}

} // namespace tessarin
