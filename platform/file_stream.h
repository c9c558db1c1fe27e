#pragma once

#include "platform/byte_span.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace tessarin {

// A regular file opened for reading. Opening never blocks (FIFOs and devices are
// refused as not regular files). Failure to open throws FileError naming the file.
class InputFile {
public:
    explicit InputFile(const std::string& fileName);
    ~InputFile();
    InputFile(InputFile&& other) noexcept;
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    InputFile& operator=(InputFile&&) = delete;

    // The size when opened.
    [[nodiscard]] std::uint64_t size() const { return size_; }
    // Reads up to out.size() bytes; fewer only at the end of the file.
    // A real read error throws FileError.
    std::size_t read(std::span<std::uint8_t> out);
    // As read, from offset, leaving the position alone: safe from several threads.
    [[nodiscard]] std::size_t readAt(std::uint64_t offset, std::span<std::uint8_t> out) const;

private:
    // From offset, or from the position when none is given.
    [[nodiscard]] std::size_t readFrom(std::optional<std::uint64_t> offset,
                                       std::span<std::uint8_t> out) const;

    std::string fileName_;
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

// An existing file opened for writing and cut to zero length (it is never created).
// Every write is checked: a short write (full disk) throws FileError naming the file.
class OutputFile {
public:
    explicit OutputFile(const std::string& fileName);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    void write(ByteSpan bytes);
    // The pieces one after the other.
    void write(std::span<const ByteSpan> pieces);
    // Flushes to the file system; errors of the last writes surface here.
    void close();

private:
    std::string fileName_;
    int fd_ = -1;
};

} // namespace tessarin
