#pragma once

// Arbitrary bytes as one packing's stream: unpacking may fail with FileError naming the
// file, but nothing may crash, hang, read outside the bytes or write past the bound.
#include "platform/file_error.h"
#include "storage/packed_storage.h"
#include "storage/packed_stream.h"

#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

inline int fuzzUnpacker(tessarin::Unpacker unpack, const std::string& file,
                        const std::uint8_t* data, std::size_t size) {
    try {
        if (unpack(std::span(data, size), file).size() > tessarin::kMaxUnpackedBytes) {
            std::abort();
        }
    } catch (const tessarin::FileError& error) {
        if (error.fileName() != file || error.fault() != tessarin::Fault::packedBroken) {
            std::abort();
        }
    }
    return 0;
}
