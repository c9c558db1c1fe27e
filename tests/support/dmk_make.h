#pragma once

// Test support: DMK track images of plain disk images, each track laid as a WD279x formats
// it in double density (IBM System 34 gaps, sync bytes, marks and CRCs), 1900h long.

#include <cstdint>
#include <span>
#include <vector>

namespace tessarin::test {

// disk's sectors of 512 bytes, tracks x sides x sectors in that order, as DMK tracks.
inline std::vector<std::uint8_t> dmkOf(std::span<const std::uint8_t> disk, int tracks, int sides,
                                       int sectors) {
    using Bytes = std::vector<std::uint8_t>;
    Bytes dmk{0, static_cast<std::uint8_t>(tracks), 0x00, 0x19,
              static_cast<std::uint8_t>(sides == 1 ? 0x10 : 0)};
    dmk.resize(16);
    // CRC-16-CCITT from FFFFh over the three A1h sync bytes and what follows them.
    const auto withCrc = [](Bytes& to, Bytes field) {
        std::uint16_t crc = 0xFFFF;
        field.insert(field.begin(), 3, 0xA1);
        for (const std::uint8_t b : field) {
            crc ^= static_cast<std::uint16_t>(b << 8);
            for (int bit = 0; bit < 8; ++bit) {
                crc = static_cast<std::uint16_t>((crc & 0x8000) ? (crc << 1) ^ 0x1021 : crc << 1);
            }
        }
        to.insert(to.end(), field.begin(), field.end()); // the sync bytes, then the field
        to.insert(to.end(), {static_cast<std::uint8_t>(crc >> 8), static_cast<std::uint8_t>(crc)});
    };
    for (int t = 0; t < tracks; ++t) {
        for (int s = 0; s < sides; ++s) {
            Bytes track(128, 0);
            track.insert(track.end(), 80, 0x4E);
            for (int r = 1; r <= sectors; ++r) {
                track.insert(track.end(), 12, 0x00);
                const auto id = static_cast<std::uint16_t>(0x8000 | (track.size() + 3));
                track[2 * r - 2] = static_cast<std::uint8_t>(id);
                track[2 * r - 1] = static_cast<std::uint8_t>(id >> 8);
                withCrc(track, {0xFE, static_cast<std::uint8_t>(t), static_cast<std::uint8_t>(s),
                                static_cast<std::uint8_t>(r), 0x02});
                track.insert(track.end(), 22, 0x4E);
                track.insert(track.end(), 12, 0x00);
                const auto at = disk.begin() + ((t * sides + s) * sectors + r - 1) * 512;
                Bytes data{0xFB};
                data.insert(data.end(), at, at + 512);
                withCrc(track, data);
                track.insert(track.end(), 84, 0x4E);
            }
            track.resize(0x1900, 0x4E);
            dmk.insert(dmk.end(), track.begin(), track.end());
        }
    }
    return dmk;
}

} // namespace tessarin::test
