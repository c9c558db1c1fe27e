#include "platform/file_error.h"
#include "storage/packings.h"
#include "tests/platform/scratch_dir.h"
#include "tests/support/aplib_pack.h"
#include "tests/support/zx0_pack.h"
#include "tests/support/zx7_pack.h"

#include <gtest/gtest.h>

namespace tessarin {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Packer {
    const char* extension;
    Bytes (*pack)(std::span<const std::uint8_t>);
    Bytes copiesBeforeItsStart; // 'A', then a copy of 2 from offset 2
    Bytes longCode;             // a length code past any picture (none in ZX7)
};

// Streams worked out bit by bit from each format.
const Packer kPackers[] = {
    {".zx0", test::packZx0, {0xED, 0x41, 0xFC, 0x55, 0x56}, Bytes(64, 0)},
    {".zx7", test::packZx7, {0x41, 0xC0, 0x01}, {}},
    {".apl", test::packAplib, {0x41, 0xC0, 0x04}, {0x41, 0xBF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
};

// Each packing, chosen by its name in any case: pictures packed as a game's build would
// unpack to their bytes; cut short, copying from before the start, unpacking to more
// than the VRAM or coding a length longer than that, the stream fails naming the file and
// saying why.
TEST(Unpackers, EachPackingUnpacksItsPackersStreamsOrFailsNamingTheFile) {
    ASSERT_EQ(std::size(kPackers), kPackings.size());
    for (const Packer& packer : kPackers) {
        const std::string file = std::string("X.SC5") + packer.extension;
        std::string upper = file;
        std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
        const Unpacker unpack = unpackerOf(upper);
        ASSERT_NE(unpack, nullptr) << upper;
        for (const char* name : {"BARS.SC5", "LAND8.SR8", "YJK.SCC", "BARS.PL5"}) {
            const Bytes picture =
                test::readBytes(TESSARIN_SOURCE_DIR "/samples/" + std::string(name));
            const Bytes packed = packer.pack(picture);
            if (picture.size() > 1024) { // a picture, not a palette: copies were made
                EXPECT_LT(packed.size(), picture.size()) << file << ' ' << name;
            }
            EXPECT_EQ(unpack(packed, file), picture) << file << ' ' << name;
        }
        const Bytes bars = packer.pack(test::readBytes(TESSARIN_SOURCE_DIR "/samples/BARS.SC5"));
        std::vector<std::pair<Bytes, const char*>> broken{
            {Bytes(bars.begin(), bars.end() - 1), "before its end mark"},
            {{}, "before its end mark"},
            {packer.copiesBeforeItsStart, "before its start"},
            {packer.pack(Bytes(kMaxUnpackedBytes + 1, 7)), "more than"},
        };
        if (!packer.longCode.empty()) {
            broken.emplace_back(packer.longCode, "longer than any picture");
        }
        for (const auto& [stream, reason] : broken) {
            try {
                (void)unpack(stream, file);
                ADD_FAILURE() << file << " unpacked, expected: " << reason;
            } catch (const FileError& error) {
                EXPECT_EQ(error.fault(), Fault::packedBroken) << file;
                EXPECT_EQ(error.fileName(), file);
                EXPECT_NE(std::string(error.what()).find(reason), std::string::npos)
                    << error.what();
            }
        }
    }
}

} // namespace
} // namespace tessarin
