#include "platform/file_error.h"
#include "storage/storage_kinds.h"
#include "tests/platform/scratch_dir.h"
#include "tests/support/dmk_make.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

namespace tessarin {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A 360 KB disk made by mtools, laid into DMK tracks as an FDC formats them, opens as the
// disk it holds: its picture reads as the file copied. A sector whose CRC fails reads as
// zeros (here the boot sector: no disk); a header that names a real drive, a track length
// of none, tracks past the end or a first track without sectors is no DMK image.
TEST(Dmk, TracksOpenAsTheDiskTheyHold) {
    const test::ScratchDir dir;
    const std::string land = TESSARIN_SOURCE_DIR "/samples/LAND5.SC5";
    const std::string plain = dir.path() + "/PLAIN.DSK";
    const std::string make =
        "mformat -C -f 360 -i '" + plain + "' :: && mcopy -i '" + plain + "' '" + land + "' ::/";
    ASSERT_EQ(std::system(make.c_str()), 0) << make;
    const Bytes dmk = test::dmkOf(test::readBytes(plain), 40, 2, 9);
    const auto changed = [&](std::size_t at, Bytes values) {
        Bytes bytes = dmk;
        std::ranges::copy(values, bytes.begin() + static_cast<std::ptrdiff_t>(at));
        return bytes;
    };
    constexpr std::size_t kFirstData = 16 + 128 + 80 + 12 + 3 + 7 + 22 + 12 + 3 + 1;
    const struct {
        Bytes dmk;
        const char* fails; // what the error says; nullptr for a disk that opens
    } cases[] = {
        {dmk, nullptr},
        {changed(kFirstData + 3, {0x55}), "not an MSX-DOS disk image"},
        {changed(12, {0x78}), "no DMK disk image: its header names a real drive"},
        {changed(3, {0x00}), "no DMK disk image: its header gives no tracks"},
        {Bytes(dmk.begin(), dmk.end() - 1), "no DMK disk image: its 40 tracks lie past"},
        {changed(16, {0x00, 0x00}), "no DMK disk image: its first track holds no sector"},
    };
    for (const auto& c : cases) {
        const std::string file = dir.path() + "/GAME.DMK";
        test::writeBytes(file, c.dmk);
        try {
            const auto disk = openStorage(Location::of(file));
            EXPECT_FALSE(c.fails) << c.fails;
            EXPECT_EQ(disk->names(), std::vector<std::string>{"LAND5.SC5"});
            EXPECT_EQ(disk->read("LAND5.SC5", 1 << 20, file).bytes, test::readBytes(land));
        } catch (const FileError& error) {
            ASSERT_TRUE(c.fails) << error.what();
            EXPECT_EQ(error.fault(), Fault::notDiskImage);
            EXPECT_NE(std::string(error.what()).find(c.fails), std::string::npos) << error.what();
            EXPECT_EQ(error.fileName(), file);
        }
    }
}

} // namespace
} // namespace tessarin
