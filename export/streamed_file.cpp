#include "export/streamed_file.h"

#include "platform/file_error.h"

#include <cerrno>
#include <cstdio>

namespace tessarin::exporter {

StreamedFile::StreamedFile(std::string target)
    : target_(std::move(target)), part_(target_ + ".part"),
      file_(part_, std::ios::binary | std::ios::trunc) {
    if (!file_) {
        throw FileError(target_, "Cannot write \"" + part_ + "\"", errno);
    }
}

StreamedFile::~StreamedFile() {
    if (!finished_) {
        file_.close();
        std::remove(part_.c_str());
    }
}

void StreamedFile::finish() {
    file_.close();
    if (!file_ || std::rename(part_.c_str(), target_.c_str()) != 0) {
        const int error = errno;
        std::remove(part_.c_str());
        finished_ = true;
        throw FileError(target_, "Cannot write \"" + target_ + "\"", error);
    }
    finished_ = true;
}

} // namespace tessarin::exporter
