#include "document/screen_document.h"
#include "image/bmp_encoder.h"
#include "platform/file_error.h"
#include "tests/platform/scratch_dir.h"
#include "tests/support/document_probe.h"
#include "tests/support/pixel_operations.h"
#include "tests/support/print_screen_mode.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <vector>

namespace tessarin {
namespace {

using test::readBytes;
using test::ScratchDir;
using test::writeBytes;

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kHeaderBytes = 54;
constexpr int kLines = 212;
constexpr ScreenMode kModes[] = {ScreenMode::screen5, ScreenMode::screen6,  ScreenMode::screen7,
                                 ScreenMode::screen8, ScreenMode::screen10, ScreenMode::screen12};

std::uint32_t get32(const Bytes& b, std::size_t at) {
    return b.at(at) | b.at(at + 1) << 8 | b.at(at + 2) << 16 |
           static_cast<std::uint32_t>(b.at(at + 3)) << 24;
}
std::uint16_t get16(const Bytes& b, std::size_t at) {
    return static_cast<std::uint16_t>(b.at(at) | b.at(at + 1) << 8);
}
void put32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (std::size_t i = 0; i < 4; ++i) {
        b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
}
void put16(Bytes& b, std::size_t at, std::uint16_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

// A picture top row first, as the eye sees it.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<RgbTriple> pixels;
    [[nodiscard]] RgbTriple at(int row, int col) const { return pixels[row * width + col]; }
    friend bool operator==(const Image&, const Image&) = default;
};

Image parseBmp(const Bytes& file) {
    Image image;
    image.width = static_cast<int>(get32(file, 18));
    image.height = static_cast<int>(get32(file, 22));
    image.pixels.resize(static_cast<std::size_t>(image.width * image.height));
    for (int row = 0; row < image.height; ++row) {
        const std::size_t fileRow = static_cast<std::size_t>(image.height - 1 - row);
        const std::size_t rowBytes = (static_cast<std::size_t>(image.width) * 3 + 3) / 4 * 4;
        const std::size_t start = kHeaderBytes + fileRow * rowBytes;
        std::memcpy(&image.pixels[static_cast<std::size_t>(row * image.width)], &file.at(start),
                    static_cast<std::size_t>(image.width) * 3);
    }
    return image;
}

// A quarter turn counter-clockwise: the top row becomes the left column.
Image turnLeft(const Image& plain) {
    Image turned{plain.height, plain.width, {}};
    turned.pixels.resize(plain.pixels.size());
    for (int r = 0; r < turned.height; ++r) {
        for (int c = 0; c < turned.width; ++c) {
            turned.pixels[static_cast<std::size_t>(r * turned.width + c)] =
                plain.at(c, plain.width - 1 - r);
        }
    }
    return turned;
}

// Straightforward reference: what each view shows at row r, column k, gathered from
// whole decoded pages, then stored bottom row first behind a freshly built header.
Bytes referenceBitmap(VdpState vdp, int viewMode) {
    std::array<std::vector<RgbLine256>, 2> lines256;
    std::array<std::vector<RgbLine512>, 2> lines512;
    for (int page = 0; page < 2; ++page) {
        vdp.selectPage(page);
        lines256[page].resize(kLines);
        lines512[page].resize(kLines);
        for (int y = 0; y < kLines; ++y) {
            vdp.renderLine256(y, lines256[page][y]);
            vdp.renderLine512(y, lines512[page][y]);
        }
    }
    // fetchPixel(x, y) equals entry x of the rendered line of the same width.
    const auto narrow = [&](int page, int x, int y) { return lines256[page][y][x]; };
    const auto wide = [&](int page, int x, int y) { return lines512[page][y][x]; };
    const auto pixel = [&](int r, int k) -> RgbTriple {
        switch (viewMode) {
        case 0:
            return lines256[0][r][k];
        case 1:
            return lines512[0][r / 2][k];
        case 2:
            return lines512[r % 2][r / 2][k];
        case 3:
            return r < kLines ? lines256[0][r][k] : lines256[1][r - kLines][k];
        case 4:
            return narrow(0, 255 - r, k);
        case 5:
            return wide(0, 511 - r, k / 2);
        case 6:
            return wide(k % 2, 511 - r, k / 2);
        case 7:
            return k < kLines ? narrow(0, 255 - r, k) : narrow(1, 255 - r, k - kLines);
        default:
            return {};
        }
    };
    const int widths[] = {256, 512, 512, 256, 212, 424, 424, 424};
    const int heights[] = {212, 424, 424, 424, 256, 512, 512, 256};
    const int w = widths[viewMode];
    const int h = heights[viewMode];
    Bytes file(kHeaderBytes);
    put16(file, 0, 0x4D42);
    put32(file, 2, static_cast<std::uint32_t>(54 + 3 * w * h));
    put32(file, 10, 54);
    put32(file, 14, 40);
    put32(file, 18, static_cast<std::uint32_t>(w));
    put32(file, 22, static_cast<std::uint32_t>(h));
    put16(file, 26, 1);
    put16(file, 28, 24);
    for (int r = h - 1; r >= 0; --r) {
        for (int k = 0; k < w; ++k) {
            const RgbTriple p = pixel(r, k);
            file.insert(file.end(), {p.blue, p.green, p.red});
        }
    }
    return file;
}

class BitmapWriter : public ::testing::Test {
protected:
    BitmapWriter() {
        target = dir.file("out.bmp");
        writeBytes(target, {});
        std::mt19937 rng(7);
        for (auto& b : Probe::vdp(doc).vramForLoading()) {
            b = static_cast<std::uint8_t>(rng());
        }
        // A palette with every entry distinct, so that any misplaced pixel shows.
        PaletteRecord palette;
        for (std::size_t i = 0; i < kPaletteSize; ++i) {
            palette[i] = static_cast<std::uint8_t>(i * 37 + 5);
        }
        Probe::vdp(doc).setFilePalette(palette);
        Probe::vdp(doc).selectPalette(PaletteSource::file);
        doc.setSpriteChoice(SpriteChoice::off); // random bytes show sprites; the reference has none
    }

    Bytes write(ViewMode viewMode) { return write(static_cast<int>(viewMode)); }
    Bytes write(int viewMode) {
        doc.setViewMode(static_cast<ViewMode>(viewMode));
        writeBmpFile(doc.render(), target);
        return readBytes(target);
    }

    // Makes display page 1 a copy of page 0 in the current mode.
    void copyPage0ToPage1() {
        const std::size_t page = findScreenMode(Probe::vdp(doc).screenMode())->pageSize;
        std::copy_n(Probe::vdp(doc).vramForLoading().begin(), page,
                    Probe::vdp(doc).vramForLoading().begin() + static_cast<long>(page));
    }

    ScratchDir dir;
    std::string target;
    ScreenDocument doc;
};

TEST_F(BitmapWriter, EveryViewInEveryModeEqualsTheReference) {
    for (const ScreenMode mode : kModes) {
        Probe::vdp(doc).setScreenMode(mode);
        for (int view = 0; view < 8; ++view) {
            EXPECT_EQ(write(view), referenceBitmap(Probe::vdp(doc), view))
                << "screen " << mode << " view " << view;
        }
    }
}

TEST_F(BitmapWriter, HeaderFieldsAndFileSizeOfEachView) {
    const struct {
        int width, height;
        std::size_t fileSize;
    } views[] = {
        {256, 212, 162870}, {512, 424, 651318}, {512, 424, 651318}, {256, 424, 325686},
        {212, 256, 162870}, {424, 512, 651318}, {424, 512, 651318}, {424, 256, 325686},
    };
    for (int view = 0; view < 8; ++view) {
        const Bytes file = write(view);
        const auto& v = views[view];
        ASSERT_EQ(file.size(), v.fileSize) << view;
        EXPECT_EQ(get16(file, 0), 0x4D42); // "BM"
        EXPECT_EQ(get32(file, 2), v.fileSize);
        EXPECT_EQ(get32(file, 6), 0U); // both reserved words
        EXPECT_EQ(get32(file, 10), 54U);
        EXPECT_EQ(get32(file, 14), 40U);
        EXPECT_EQ(get32(file, 18), static_cast<std::uint32_t>(v.width));
        EXPECT_EQ(get32(file, 22), static_cast<std::uint32_t>(v.height));
        EXPECT_EQ(get16(file, 26), 1);
        EXPECT_EQ(get16(file, 28), 24);
        for (std::size_t at = 30; at < 54; at += 4) {
            EXPECT_EQ(get32(file, at), 0U) << "view " << view << " offset " << at;
        }
    }
}

TEST_F(BitmapWriter, RowsRunBottomUpWithPage0OnTopOrOnEvenRows) {
    Probe::vdp(doc).setScreenMode(ScreenMode::screen8);
    RgbLine256 line256{};
    RgbLine512 line512{};
    const auto lineBytes = [&](int page, int y, bool wide) {
        Probe::vdp(doc).selectPage(page);
        const auto* data = wide ? reinterpret_cast<const std::uint8_t*>(line512.data())
                                : reinterpret_cast<const std::uint8_t*>(line256.data());
        if (wide) {
            Probe::vdp(doc).renderLine512(y, line512);
        } else {
            Probe::vdp(doc).renderLine256(y, line256);
        }
        return Bytes(data, data + (wide ? 1536 : 768));
    };
    const auto row = [](const Bytes& file, std::size_t index, std::size_t length) {
        const auto start = file.begin() + static_cast<long>(kHeaderBytes + index * length);
        return Bytes(start, start + static_cast<long>(length));
    };

    const Bytes plain = write(ViewMode::plain256x212);
    EXPECT_EQ(row(plain, 0, 768), lineBytes(0, 211, false));
    EXPECT_EQ(row(plain, 211, 768), lineBytes(0, 0, false));

    const Bytes magnified = write(ViewMode::magnify512x424);
    for (std::size_t i = 0; i < 212; ++i) {
        ASSERT_EQ(row(magnified, 2 * i, 1536), row(magnified, 2 * i + 1, 1536)) << i;
    }

    const Bytes interlaced = write(ViewMode::interlace512x424);
    EXPECT_EQ(row(interlaced, 0, 1536), lineBytes(1, 211, true));
    EXPECT_EQ(row(interlaced, 1, 1536), lineBytes(0, 211, true));
    EXPECT_EQ(row(interlaced, 423, 1536), lineBytes(0, 0, true));

    const Bytes joined = write(ViewMode::joint256x424);
    EXPECT_EQ(row(joined, 0, 768), lineBytes(1, 211, false));
    EXPECT_EQ(row(joined, 211, 768), lineBytes(1, 0, false));
    EXPECT_EQ(row(joined, 212, 768), lineBytes(0, 211, false));
    EXPECT_EQ(row(joined, 423, 768), lineBytes(0, 0, false));

    // The first stored row of the rotated plain view is column 0, line 0 first.
    const Bytes rotated = write(ViewMode::plain256x212Rotated);
    Probe::vdp(doc).selectPage(0);
    for (int y = 0; y < 212; ++y) {
        const RgbTriple p = test::fetchPixel(Probe::vdp(doc), 0, y, true);
        ASSERT_EQ(row(rotated, 0, 636).at(static_cast<std::size_t>(3 * y)), p.blue) << y;
    }
}

TEST_F(BitmapWriter, EachRotatedViewIsItsPlainViewTurnedLeft) {
    for (const ScreenMode mode : kModes) {
        Probe::vdp(doc).setScreenMode(mode);
        for (int size = 0; size < 4; ++size) {
            const Image plain = parseBmp(write(size));
            const Image rotated = parseBmp(write(size + 4));
            EXPECT_TRUE(rotated == turnLeft(plain)) << "screen " << mode << " size " << size;
        }
    }
}

TEST_F(BitmapWriter, IdenticalPagesMakeInterlacedEqualMagnified) {
    for (const ScreenMode mode : {ScreenMode::screen5, ScreenMode::screen7, ScreenMode::screen12}) {
        Probe::vdp(doc).setScreenMode(mode);
        copyPage0ToPage1();
        EXPECT_EQ(write(ViewMode::interlace512x424), write(ViewMode::magnify512x424)) << mode;
        EXPECT_EQ(write(ViewMode::interlace512x424Rotated), write(ViewMode::magnify512x424Rotated))
            << mode;
    }
}

TEST_F(BitmapWriter, SecondPageOfScreen5Is32KIn) {
    Probe::vdp(doc).setScreenMode(ScreenMode::screen5);
    const Bytes before = write(ViewMode::joint256x424);
    std::fill(Probe::vdp(doc).vramForLoading().begin() + 0x10000,
              Probe::vdp(doc).vramForLoading().end(), 0); // VRAM1
    EXPECT_EQ(write(ViewMode::joint256x424), before);
    std::fill(Probe::vdp(doc).vramForLoading().begin() + 0x8000,
              Probe::vdp(doc).vramForLoading().begin() + 0x10000, 0);
    EXPECT_NE(write(ViewMode::joint256x424), before);
}

TEST_F(BitmapWriter, ZeroVramInScreen8GivesZeroRows) {
    std::ranges::fill(Probe::vdp(doc).vramForLoading(), 0);
    Probe::vdp(doc).setScreenMode(ScreenMode::screen8);
    for (int view = 0; view < 8; ++view) {
        const Bytes file = write(view);
        EXPECT_TRUE(std::all_of(file.begin() + kHeaderBytes, file.end(), [](auto b) {
            return b == 0;
        })) << view;
    }
}

TEST_F(BitmapWriter, RewritingGivesSameBytesAndShorterReplacesLonger) {
    const Bytes first = write(ViewMode::magnify512x424);
    EXPECT_EQ(write(ViewMode::magnify512x424), first);
    const Bytes small = write(ViewMode::plain256x212);
    EXPECT_EQ(small.size(), 162870U);
    writeBytes(target, {});
    EXPECT_EQ(write(ViewMode::plain256x212), small);
}

TEST_F(BitmapWriter, UnknownViewLeavesFileEmpty) {
    for (const int view : {8, -1, 127}) {
        (void)write(ViewMode::plain256x212);
        EXPECT_TRUE(write(view).empty()) << view;
    }
}

TEST_F(BitmapWriter, MissingTargetThrowsNamingItAndIsNotCreated) {
    const std::string missing = dir.file("missing.bmp");
    try {
        writeBmpFile(doc.render(), missing);
        FAIL() << "wrote a missing file";
    } catch (const FileError& e) {
        EXPECT_EQ(e.fileName(), missing);
        EXPECT_NE(std::string(e.what()).find("\"" + missing + "\""), std::string::npos);
    }
    EXPECT_EQ(dir.names(), std::vector<std::string>{"out.bmp"});
}

TEST_F(BitmapWriter, FullDiskThrowsNamingFile) {
    doc.setViewMode(ViewMode::magnify512x424);
    const int result = test::runWithFileSizeLimit(100000, [&] {
        try {
            writeBmpFile(doc.render(), target);
        } catch (const FileError& e) {
            return e.fileName() == target ? 0 : 1;
        }
        return 2;
    });
    EXPECT_EQ(result, 0);
}

} // namespace
} // namespace tessarin
