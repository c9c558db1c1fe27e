#include "platform/file_error.h"
#include "storage/zx0.h"
#include "tests/platform/scratch_dir.h"
#include "tests/support/zx0_pack.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <optional>

namespace tessarin {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Streams worked out bit by bit from the format: literal 'A', a copy of 3 from offset 1,
// the end mark; then the same cut short, copying from before its start, and too long.
TEST(Zx0, StreamsUnpackOrFailNamingTheFile) {
    const Bytes aaaa{0xED, 0x41, 0xFE, 0x55, 0x56};
    struct Case {
        const char* what;
        Bytes stream;
        std::optional<Bytes> unpacked; // nothing: fails
        const char* reason;
    };
    const Case cases[] = {
        {"good", aaaa, Bytes{'A', 'A', 'A', 'A'}, ""},
        {"cut before the end mark", Bytes(aaaa.begin(), aaaa.end() - 1), {}, "before its end mark"},
        {"empty", {}, {}, "before its end mark"},
        {"offset 2 after one byte", {0xED, 0x41, 0xFC, 0x55, 0x56}, {}, "before its start"},
        {"one byte too many", test::packZx0(Bytes(kMaxUnpackedBytes + 1, 7)), {}, "more than"},
        {"length code longer than any output", Bytes(64, 0), {}, "longer than any picture"},
    };
    for (const Case& c : cases) {
        try {
            EXPECT_EQ(unpackZx0(c.stream, "X.SR8.zx0"), c.unpacked) << c.what;
        } catch (const FileError& error) {
            EXPECT_FALSE(c.unpacked) << c.what << ": " << error.what();
            EXPECT_EQ(error.fault(), Fault::packedBroken) << c.what;
            EXPECT_EQ(error.fileName(), "X.SR8.zx0");
            EXPECT_NE(std::string(error.what()).find(c.reason), std::string::npos) << error.what();
        }
    }
}

// Every sample picture, packed as a game's build would, unpacks to its own bytes.
TEST(Zx0, PackedPicturesUnpackToTheirBytes) {
    int pictures = 0;
    for (const auto& entry : std::filesystem::directory_iterator(TESSARIN_SOURCE_DIR "/samples")) {
        const Bytes picture = test::readBytes(entry.path());
        if (entry.path().extension() == ".md" || picture.size() > kMaxUnpackedBytes) {
            continue;
        }
        const Bytes packed = test::packZx0(picture);
        if (picture.size() > 1024) { // a picture, not a palette: copies were made
            EXPECT_LT(packed.size(), picture.size()) << entry.path();
        }
        EXPECT_EQ(unpackZx0(packed, entry.path()), picture) << entry.path();
        ++pictures;
    }
    EXPECT_GT(pictures, 10);
}

} // namespace
} // namespace tessarin
