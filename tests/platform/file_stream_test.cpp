#include "platform/file_error.h"
#include "platform/file_stream.h"
#include "tests/platform/scratch_dir.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tessarin {
namespace {

using test::patternBytes;
using test::readBytes;
using test::ScratchDir;
using test::writeBytes;

// Kills the test program instead of letting a blocking open hang the run.
struct BlockingGuard {
    BlockingGuard() { ::alarm(10); }
    ~BlockingGuard() { ::alarm(0); }
};

template <typename Open> std::string openErrorOf(Open open) {
    try {
        open();
    } catch (const FileError& e) {
        return e.what();
    }
    return "no error";
}

TEST(InputFile, OpenErrorNamesFileAndReason) {
    ScratchDir dir;
    const std::string name = dir.file("missing.sc7");
    try {
        InputFile in(name);
        FAIL() << "opened a missing file";
    } catch (const FileError& e) {
        EXPECT_EQ(e.fileName(), name);
        EXPECT_EQ(std::string(e.what()),
                  "Cannot open file \"" + name + "\": No such file or directory");
    }
}

TEST(InputFile, RefusesFifoAndDirectoryWithoutBlocking) {
    ScratchDir dir;
    const std::string fifo = dir.file("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    BlockingGuard guard;
    for (const std::string& name : {fifo, dir.path()}) {
        EXPECT_EQ(openErrorOf([&] { InputFile in(name); }),
                  "Cannot open file \"" + name + "\": not a regular file");
        EXPECT_EQ(openErrorOf([&] { OutputFile out(name); }),
                  "Cannot open file \"" + name + "\": not a regular file");
    }
}

// A writer waiting on a FIFO goes on waiting (an open would have released it into a
// pipe nobody reads): its data reaches the reader that comes after.
TEST(InputFile, RefusesFifoWithoutReleasingAWaitingWriter) {
    ScratchDir dir;
    const std::string fifo = dir.file("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const pid_t writer = ::fork();
    if (writer == 0) {
        ::_exit(::write(::open(fifo.c_str(), O_WRONLY), "data", 4) == 4 ? 0 : 1);
    }
    const std::vector<std::uint8_t> waiting{'w', 'a', 'i', 't', '_', 'f', 'o', 'r',
                                            '_', 'p', 'a', 'r', 't', 'n', 'e', 'r'};
    for (long spins = 0;
         readBytes("/proc/" + std::to_string(writer) + "/wchan") != waiting && spins < 1'000'000;
         ++spins) {
        ::sched_yield(); // until the writer blocks in its open
    }
    EXPECT_THROW(InputFile in(fifo), FileError);
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ::waitpid(writer, nullptr, 0);
    std::array<char, 4> got{};
    EXPECT_EQ(::read(reader, got.data(), got.size()), 4);
    ::close(reader);
}

TEST(InputFile, ReadsFromOffsetUntilEndOfFile) {
    ScratchDir dir;
    const auto bytes = patternBytes(100000, 1);
    writeBytes(dir.file("a"), bytes);
    InputFile in(dir.file("a"));
    EXPECT_EQ(in.size(), bytes.size());
    std::vector<std::uint8_t> out(200000, 0xEE);
    ASSERT_EQ(in.readAt(7, out), bytes.size() - 7);
    EXPECT_TRUE(std::equal(bytes.begin() + 7, bytes.end(), out.begin()));
    EXPECT_EQ(out[bytes.size() - 7], 0xEE);
    ASSERT_EQ(in.read(out), bytes.size()); // the position is still the start
    EXPECT_EQ(in.read(out), 0U);
}

TEST(InputFile, ReadErrorThrowsNamingFile) {
    // Reading unmapped addresses of the process's own memory fails with EIO,
    // a real error from a regular file.
    const std::string name = "/proc/self/mem";
    InputFile in(name);
    std::array<std::uint8_t, 16> out{};
    try {
        (void)in.read(out);
        FAIL() << "read of address 0 succeeded";
    } catch (const FileError& e) {
        EXPECT_EQ(e.fileName(), name);
        EXPECT_EQ(std::string(e.what()), "Cannot read file \"" + name + "\": Input/output error");
    }
}

TEST(OutputFile, NeverCreatesAFile) {
    ScratchDir dir;
    const std::string name = dir.file("new.bmp");
    EXPECT_EQ(openErrorOf([&] { OutputFile out(name); }),
              "Cannot open file \"" + name + "\": No such file or directory");
    EXPECT_TRUE(dir.names().empty());
}

TEST(OutputFile, CutsExistingFileToWhatIsWritten) {
    ScratchDir dir;
    const std::string name = dir.file("old.bmp");
    writeBytes(name, patternBytes(5000, 2));
    const auto fresh = patternBytes(300, 3);
    OutputFile out(name);
    out.write(fresh);
    out.close();
    EXPECT_EQ(readBytes(name), fresh);
}

TEST(OutputFile, FullFileSystemThrowsNamingFile) {
    ScratchDir dir;
    const std::string name = dir.file("big.bmp");
    writeBytes(name, {});
    constexpr int kThrewAsExpected = 0;
    constexpr int kWrongMessage = 1;
    constexpr int kNoError = 2;
    const int result = test::runWithFileSizeLimit(4096, [&] {
        try {
            OutputFile out(name);
            out.write(patternBytes(1000, 4));  // fits
            out.write(patternBytes(10000, 5)); // partly stored, then EFBIG
            out.close();
        } catch (const FileError& e) {
            return e.fileName() == name && std::string(e.what()) ==
                                               "Cannot write file \"" + name + "\": File too large"
                       ? kThrewAsExpected
                       : kWrongMessage;
        }
        return kNoError;
    });
    EXPECT_EQ(result, kThrewAsExpected);
}

} // namespace
} // namespace tessarin
