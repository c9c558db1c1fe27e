#include "convert/encode.h"

#include <gtest/gtest.h>

namespace tessarin {
namespace {

std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b.at(at) | b.at(at + 1) << 8U | b.at(at + 2) << 16U |
           static_cast<std::uint32_t>(b.at(at + 3)) << 24U;
}

// BMP rows are padded to 4 bytes: a width of 1 takes 4 bytes a row, 3 takes 12, 5 takes 16.
TEST(Encode, BmpRowsArePaddedWithZerosToFourBytes) {
    constexpr int kHeight = 2;
    constexpr std::size_t kHeaders = 54;
    const std::vector<std::pair<int, std::size_t>> widthAndRowBytes{
        {1, 4}, {2, 8}, {3, 12}, {4, 12}, {5, 16}};
    for (const auto& [width, rowBytes] : widthAndRowBytes) {
        SCOPED_TRACE(width);
        Picture picture;
        picture.resize(width, kHeight);
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < width; ++x) {
                picture.row(y)[static_cast<std::size_t>(x)] = {static_cast<std::uint8_t>(x),
                                                               static_cast<std::uint8_t>(y), 9};
            }
        }
        const std::vector<std::uint8_t> file = encode(picture, ImageFormat::bmp).bytes();
        ASSERT_EQ(file.size(), kHeaders + kHeight * rowBytes);
        EXPECT_EQ(le32(file, 2), file.size()); // bfSize
        EXPECT_EQ(le32(file, 18), static_cast<std::uint32_t>(width));
        EXPECT_EQ(le32(file, 22), static_cast<std::uint32_t>(kHeight));
        for (int y = 0; y < kHeight; ++y) {
            // Bottom row first; blue (x), green (y), red 9, then zeros to the row's end.
            const std::size_t start =
                kHeaders + static_cast<std::size_t>(kHeight - 1 - y) * rowBytes;
            for (std::size_t i = 0; i < rowBytes; ++i) {
                const std::size_t x = i / 3;
                const std::uint8_t expected = x >= static_cast<std::size_t>(width) ? 0
                                              : i % 3 == 0 ? static_cast<std::uint8_t>(x)
                                              : i % 3 == 1 ? static_cast<std::uint8_t>(y)
                                                           : 9;
                EXPECT_EQ(file[start + i], expected) << "row " << y << " byte " << i;
            }
        }
    }
}

} // namespace
} // namespace tessarin
