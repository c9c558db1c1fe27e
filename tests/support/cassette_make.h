#pragma once

// Test support: cassette images as the BIOS's tape calls write them.

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tessarin::test {

inline constexpr std::uint8_t kCasBinary = 0xD0, kCasBasic = 0xD3, kCasAscii = 0xEA;

// Appends a block: zeros up to the next 8-byte boundary, the block mark, then bytes.
inline void casBlock(std::vector<std::uint8_t>& tape, std::span<const std::uint8_t> bytes) {
    tape.resize((tape.size() + 7) / 8 * 8, 0);
    tape.insert(tape.end(), {0x1F, 0xA6, 0xDE, 0xBA, 0xCC, 0x13, 0x7D, 0x74});
    tape.insert(tape.end(), bytes.begin(), bytes.end());
}

// Appends a file header block: the type ten times, the name padded to 6 with spaces.
inline void casHeader(std::vector<std::uint8_t>& tape, std::uint8_t type, std::string name) {
    name.resize(6, ' ');
    std::vector<std::uint8_t> header(16, type);
    std::copy(name.begin(), name.end(), header.begin() + 10);
    casBlock(tape, header);
}

// Appends a binary file of a BSAVE file's bytes (FEh, then what the tape holds).
inline void casBinaryFile(std::vector<std::uint8_t>& tape, const std::string& name,
                          std::span<const std::uint8_t> bsave) {
    casHeader(tape, kCasBinary, name);
    casBlock(tape, bsave.subspan(1));
}

// Appends an ASCII file: its text in 256-byte blocks, the last filled with end-of-file marks.
inline void casAsciiFile(std::vector<std::uint8_t>& tape, const std::string& name,
                         const std::string& text) {
    casHeader(tape, kCasAscii, name);
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    bytes.resize((bytes.size() / 256 + 1) * 256, 0x1A);
    for (std::size_t at = 0; at < bytes.size(); at += 256) {
        casBlock(tape, std::span(bytes).subspan(at, 256));
    }
}

} // namespace tessarin::test
