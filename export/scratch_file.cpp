#include "export/scratch_file.h"

#include "platform/file_system.h"

namespace tessarin::exporter {

ScratchFile::ScratchFile(const std::string& target) : name_(makeScratchFileBeside(target)) {}

ScratchFile::~ScratchFile() {
    if (!moved_) {
        deleteFile(name_);
    }
}

void ScratchFile::moveOnto(const std::string& target) {
    placeScratchFile(name_, target);
    moved_ = true;
}

} // namespace tessarin::exporter
