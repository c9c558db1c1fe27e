#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <string_view>

namespace tessarin::exporter {

// A scratch file of text written a piece at a time, read back whole once closed, and
// removed by the destructor.
class ScratchText {
public:
    // Creates file, replacing one left over. Throws FileError naming it.
    explicit ScratchText(std::string file);
    ScratchText(const ScratchText&) = delete;
    ScratchText& operator=(const ScratchText&) = delete;
    ~ScratchText();

    // Appends text (checked by close()).
    void add(std::string_view text) {
        out_.write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    // Ends the writing. Throws FileError naming the file when a piece was not written.
    void close();
    // Gives the text, closed, to take a piece at a time. Throws FileError naming the file.
    template <typename Take> void eachPiece(Take take) const {
        std::ifstream in = reopened();
        std::string piece(kPieceBytes, '\0');
        while (in.read(piece.data(), static_cast<std::streamsize>(piece.size())) ||
               in.gcount() > 0) {
            take(std::string_view(piece.data(), static_cast<std::size_t>(in.gcount())));
        }
        checkRead(in);
    }
    // The bytes from offset on, size of them. Throws FileError naming the file.
    [[nodiscard]] std::string slice(std::ifstream& in, std::uint64_t offset,
                                    std::uint64_t size) const;
    // The closed text opened for reading. Throws FileError naming the file.
    [[nodiscard]] std::ifstream reopened() const;

private:
    static constexpr std::size_t kPieceBytes = std::size_t{64} << 10;
    void checkRead(const std::ifstream& in) const;

    std::string file_;
    std::ofstream out_;
};

} // namespace tessarin::exporter
