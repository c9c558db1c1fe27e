// Loading and writing a document from files as found on old disks: devices, huge
// sparse files, failing reads, files swapped for directories, odd names, full disks.
#include "document/screen_document.h"
#include "image/bmp_encoder.h"
#include "platform/file_error.h"
#include "platform/file_stream.h"
#include "platform/file_system.h"
#include "platform/target_file.h"
#include "tests/hardening/hardening_support.h"
#include "tests/platform/scratch_dir.h"
#include "tests/support/document_probe.h"

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <span>
#include <sys/stat.h>
#include <unistd.h>

namespace tessarin {
namespace {

using test::patternBytes;
using test::readBytes;
using test::ScratchDir;
using test::writeBytes;

constexpr std::uint8_t kOld = 0xEE; // what VRAM held before a load
constexpr std::uint64_t kFiveGiB = 5ULL << 30;
// Bytes a load may read besides the data (the dynamic loader, /proc itself: nothing).
constexpr std::uint64_t kReadSlack = 4096;

template <typename Action> std::string fileErrorOf(Action action, std::string* fileName) {
    try {
        action();
    } catch (const FileError& e) {
        *fileName = e.fileName();
        return e.what();
    }
    return "no error";
}

class DocumentFaults : public ::testing::Test {
protected:
    DocumentFaults() {
        std::ranges::fill(Probe::vdp(doc).vramForLoading(), kOld);
        Probe::mapping(doc).layout = LayoutChoice::fixed;
    }
    [[nodiscard]] bool vramUntouched() const {
        return std::ranges::all_of(Probe::vdp(doc).vram(), [](auto b) { return b == kOld; });
    }
    ScratchDir dir;
    ScreenDocument doc;
};

TEST_F(DocumentFaults, DevicesAreNeitherOpenedNorReadInAnySlot) {
    ::alarm(10); // ends the run should an open block
    for (const std::string name : {"/dev/zero", "/dev/urandom", "/dev/null"}) {
        for (const FileSlot slot : kFileSlots) {
            const std::uint64_t before = test::bytesReadSoFar();
            EXPECT_FALSE(Probe::openFile(doc, name, slot)) << name;
            EXPECT_LT(test::bytesReadSoFar() - before, kReadSlack) << name;
        }
    }
    ::alarm(0);
    EXPECT_TRUE(vramUntouched());
    EXPECT_TRUE(Probe::fileName(doc, FileSlot::vram0).empty() &&
                Probe::fileName(doc, FileSlot::vram1).empty() &&
                Probe::fileName(doc, FileSlot::palette).empty());
}

TEST_F(DocumentFaults, SparseFileOver4GiBHasItsFullSizeAndEachLoadReadsAtMostItsPart) {
    const std::string name = dir.file("HUGE.SC7");
    const auto head = patternBytes(kDefaultHeaderSize + kVramSize + 1000, 3);
    writeBytes(name, head);
    ASSERT_EQ(::truncate(name.c_str(), static_cast<off_t>(kFiveGiB)), 0);
    EXPECT_EQ(InputFile(name).size(), kFiveGiB);

    struct Case {
        FileSlot slot;
        std::uint64_t limit;
    };
    for (const Case c : {Case{FileSlot::vram0, kVramSize}, Case{FileSlot::vram1, kVramHalfSize},
                         Case{FileSlot::palette, kPaletteSize}}) {
        const std::uint64_t before = test::bytesReadSoFar();
        ASSERT_TRUE(Probe::openFile(doc, name, c.slot)) << static_cast<int>(c.slot);
        EXPECT_LE(test::bytesReadSoFar() - before, c.limit + kReadSlack)
            << static_cast<int>(c.slot);
    }
    // Screen 7 at 512 pixels a line: the data lies as read, VRAM1 last from its slot.
    EXPECT_TRUE(std::equal(Probe::vdp(doc).vram().begin(),
                           Probe::vdp(doc).vram().begin() + kVramHalfSize,
                           head.begin() + kDefaultHeaderSize));
    EXPECT_TRUE(std::equal(Probe::vdp(doc).vram().begin() + kVramHalfSize,
                           Probe::vdp(doc).vram().end(), head.begin() + kDefaultHeaderSize));
    EXPECT_TRUE(std::equal(Probe::vdp(doc).filePalette().begin(),
                           Probe::vdp(doc).filePalette().end(), head.begin()));
}

TEST_F(DocumentFaults, ReadErrorWhileLoadingThrowsNamingTheFile) {
    const std::string name = test::failingRegularFile();
    if (name.empty()) {
        GTEST_SKIP() << "no regular file with failing reads on this system";
    }
    for (const FileSlot slot : kFileSlots) {
        std::string fileName;
        const std::string message =
            fileErrorOf([&] { Probe::openFile(doc, name, slot); }, &fileName);
        EXPECT_EQ(fileName, name) << static_cast<int>(slot);
        EXPECT_EQ(message, "Cannot read file \"" + name + "\": Invalid argument")
            << static_cast<int>(slot);
    }
    EXPECT_EQ(Probe::vdp(doc).filePalette(), PaletteRecord{});
}

TEST_F(DocumentFaults, FileReplacedByADirectoryBeforeReloadThrowsNamingItAndLeavesVram) {
    for (const FileSlot slot : kFileSlots) {
        ScreenDocument fresh;
        const std::string name = dir.file("PIC" + std::to_string(static_cast<int>(slot)) + ".SC7");
        writeBytes(name, patternBytes(40000, 5));
        ASSERT_TRUE(Probe::openFile(fresh, name, slot));
        ASSERT_EQ(::unlink(name.c_str()), 0);
        ASSERT_EQ(::mkdir(name.c_str(), 0755), 0);
        std::ranges::fill(Probe::vdp(fresh).vramForLoading(), kOld);
        const PaletteRecord palette = Probe::vdp(fresh).filePalette();

        std::string fileName;
        const std::string message = fileErrorOf([&] { Probe::reload(fresh); }, &fileName);
        EXPECT_EQ(fileName, name);
        EXPECT_EQ(message, "Cannot open file \"" + name + "\": not a regular file");
        EXPECT_TRUE(
            std::ranges::all_of(Probe::vdp(fresh).vram(), [](auto b) { return b == kOld; }));
        EXPECT_EQ(Probe::vdp(fresh).filePalette(), palette);
    }
}

TEST_F(DocumentFaults, NamesWithSpacesNonAsciiNewlineOrLeadingDashLoad) {
    const auto data = patternBytes(1000, 7);
    std::vector<std::uint8_t> file(kDefaultHeaderSize + data.size(), 0);
    std::copy(data.begin(), data.end(), file.begin() + kDefaultHeaderSize);
    for (const std::string name : {"my pic.SC7", "\xC3\xA9t\xC3\xA9.SC7", "two\nlines.SC7",
                                   "-o.SC7", " lead and trail .SC7"}) {
        writeBytes(dir.file(name), file);
        std::ranges::fill(Probe::vdp(doc).vramForLoading(), kOld);
        ASSERT_TRUE(Probe::openFile(doc, dir.file(name), FileSlot::vram0)) << name;
        EXPECT_TRUE(std::equal(data.begin(), data.end(), Probe::vdp(doc).vram().begin())) << name;
        EXPECT_EQ(Probe::vdp(doc).vram()[data.size()], kOld) << name;
    }
}

TEST_F(DocumentFaults, FullDiskWhileRenderingThrowsNamingTheFile) {
    const test::SmallDisk disk(dir.path(), 200 * 1024);
    if (!disk.mounted()) {
        GTEST_SKIP() << "cannot mount a tmpfs (a file size limit is tested with the writer)";
    }
    const std::string target = disk.file("msxAbCdEf");
    writeBytes(target, {});
    doc.setViewMode(ViewMode::magnify512x424); // 651318 bytes
    std::string fileName;
    const std::string message = fileErrorOf([&] { writeBmpFile(doc.render(), target); }, &fileName);
    EXPECT_EQ(fileName, target);
    EXPECT_EQ(message, "Cannot write file \"" + target + "\": No space left on device");
}

TEST_F(DocumentFaults, SaveAsOntoAFullDiskLeavesTheTargetIntactAndNoScratchFile) {
    const std::string picture = dir.file("msxPicture");
    writeBytes(picture, {});
    doc.setViewMode(ViewMode::interlace512x424);
    writeBmpFile(doc.render(), picture);

    const test::SmallDisk disk(dir.path(), 200 * 1024);
    if (!disk.mounted()) {
        GTEST_SKIP() << "cannot mount a tmpfs (a file size limit is tested with copyFile)";
    }
    const std::string target = disk.file("saved.bmp");
    const std::vector<std::uint8_t> old{'o', 'l', 'd'};
    writeBytes(target, old);
    std::string fileName;
    const std::string message = fileErrorOf([&] { copyFile(picture, target); }, &fileName);
    EXPECT_EQ(fileName, target);
    EXPECT_EQ(message, "Cannot write file \"" + target + "\": No space left on device");
    EXPECT_EQ(readBytes(target), old);
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(disk.path())) {
        left.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(left, std::vector<std::string>{"saved.bmp"});
}

} // namespace
} // namespace tessarin
