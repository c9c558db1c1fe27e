#include "storage/gzip_check.h"

#include <array>
#include <new>
#include <zlib.h>

namespace tessarin {

namespace {

constexpr int kGzipWindow = 16 + MAX_WBITS; // zlib's window bits for a gzip wrapper only
constexpr Bytef kGzipMagic = 0x1F;          // the first byte of a gzip member

} // namespace

bool gzipChecks(const ByteSource& next, std::uint64_t maxBytes) {
    z_stream stream{};
    if (inflateInit2(&stream, kGzipWindow) != Z_OK) {
        throw std::bad_alloc();
    }
    struct End {
        z_stream& stream;
        ~End() { inflateEnd(&stream); }
    } end{stream};
    std::array<std::uint8_t, 4096> in{};
    std::array<std::uint8_t, 64 * 1024> out{};
    std::uint64_t unpacked = 0;
    bool inMember = true;
    for (;;) {
        if (stream.avail_in == 0) {
            const std::size_t got = next(in);
            if (got == 0) {
                return !inMember;
            }
            stream.next_in = in.data();
            stream.avail_in = static_cast<uInt>(got);
        }
        if (!inMember) {
            if (*stream.next_in != kGzipMagic) {
                return true;
            }
            inflateReset(&stream);
            inMember = true;
        }
        stream.next_out = out.data();
        stream.avail_out = static_cast<uInt>(out.size());
        const int result = inflate(&stream, Z_NO_FLUSH);
        unpacked += out.size() - stream.avail_out;
        if (unpacked > maxBytes || (result != Z_OK && result != Z_STREAM_END)) {
            return false;
        }
        inMember = result != Z_STREAM_END;
    }
}

} // namespace tessarin
