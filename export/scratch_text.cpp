#include "export/scratch_text.h"

#include "platform/file_error.h"

#include <cerrno>
#include <cstdio>

namespace tessarin::exporter {

ScratchText::ScratchText(std::string file)
    : file_(std::move(file)), out_(file_, std::ios::binary | std::ios::trunc) {
    if (!out_) {
        throw FileError(file_, "Cannot write \"" + file_ + "\"", errno);
    }
}

ScratchText::~ScratchText() {
    out_.close();
    std::remove(file_.c_str());
}

void ScratchText::close() {
    out_.close();
    if (!out_) {
        throw FileError(file_, "Cannot write \"" + file_ + "\"", errno);
    }
}

std::ifstream ScratchText::reopened() const {
    std::ifstream in(file_, std::ios::binary);
    checkRead(in);
    return in;
}

void ScratchText::checkRead(const std::ifstream& in) const {
    if (in.bad() || (in.fail() && !in.eof())) {
        throw FileError(file_, "Cannot read \"" + file_ + "\"", errno);
    }
}

std::string ScratchText::slice(std::ifstream& in, std::uint64_t offset, std::uint64_t size) const {
    std::string bytes(size, '\0');
    in.clear();
    if (!in.seekg(static_cast<std::streamoff>(offset)) ||
        !in.read(bytes.data(), static_cast<std::streamsize>(size))) {
        throw FileError(file_, "Cannot read \"" + file_ + "\"", errno);
    }
    return bytes;
}

} // namespace tessarin::exporter
