#include "platform/file_error.h"
#include "platform/file_system.h"
#include "platform/target_file.h"
#include "tests/platform/scratch_dir.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace tessarin {
namespace {

using test::patternBytes;
using test::readBytes;
using test::ScratchDir;
using test::writeBytes;

// Sets TMPDIR for the life of the object and puts the old value back.
class TmpDirSetting {
public:
    explicit TmpDirSetting(const std::string& value) {
        if (const char* old = std::getenv("TMPDIR")) {
            old_ = old;
        }
        ::setenv("TMPDIR", value.c_str(), 1);
    }
    ~TmpDirSetting() {
        if (old_) {
            ::setenv("TMPDIR", old_->c_str(), 1);
        } else {
            ::unsetenv("TMPDIR");
        }
    }

private:
    std::optional<std::string> old_;
};

TEST(MakeTempFile, MakesDistinctEmptyFilesInTmpDir) {
    ScratchDir dir;
    TmpDirSetting tmp(dir.path());
    const std::string a = makeTempFile("msx");
    const std::string b = makeTempFile("msx");
    EXPECT_NE(a, b);
    for (const auto& name : {a, b}) {
        EXPECT_EQ(name.rfind(dir.path() + "/msx", 0), 0U) << name;
        EXPECT_TRUE(readBytes(name).empty());
    }
    EXPECT_EQ(dir.names().size(), 2U);
}

TEST(MakeTempFile, EmptyTmpDirMeansSlashTmp) {
    TmpDirSetting tmp("");
    const std::string name = makeTempFile("tessarin-test-");
    EXPECT_EQ(name.rfind("/tmp/tessarin-test-", 0), 0U) << name;
    EXPECT_TRUE(deleteFile(name));
}

TEST(MakeTempFile, MissingDirectoryThrowsNamingIt) {
    ScratchDir dir;
    const std::string missing = dir.file("gone");
    TmpDirSetting tmp(missing);
    try {
        (void)makeTempFile("msx");
        FAIL() << "made a file in a missing directory";
    } catch (const FileError& e) {
        EXPECT_EQ(e.fileName(), missing);
        EXPECT_NE(std::string(e.what()).find("\"" + missing + "\""), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("No such file or directory"), std::string::npos);
    }
}

TEST(CopyFile, ReplacesTargetByteForByteKeepingItsMode) {
    ScratchDir dir;
    const auto source = patternBytes(200000, 1);
    writeBytes(dir.file("src.bmp"), source);
    writeBytes(dir.file("dst.bmp"), patternBytes(300000, 2));
    ASSERT_EQ(::chmod(dir.file("dst.bmp").c_str(), 0640), 0);
    copyFile(dir.file("src.bmp"), dir.file("dst.bmp"));
    EXPECT_EQ(readBytes(dir.file("dst.bmp")), source);
    struct stat info {};
    ASSERT_EQ(::stat(dir.file("dst.bmp").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640U);
    EXPECT_EQ(dir.names().size(), 2U) << "scratch file left behind";
}

// The umask of the moment, each time: one process may write under several.
TEST(CopyFile, NewTargetGetsOrdinaryModeUnderTheUmaskOfTheMoment) {
    ScratchDir dir;
    writeBytes(dir.file("src"), patternBytes(10, 1));
    for (const mode_t umask : {022U, 077U, 002U}) {
        const std::string target = dir.file("new" + std::to_string(umask));
        const mode_t mask = ::umask(umask);
        copyFile(dir.file("src"), target);
        ::umask(mask);
        struct stat info {};
        ASSERT_EQ(::stat(target.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0666U & ~umask) << umask;
        EXPECT_EQ(readBytes(target), patternBytes(10, 1));
    }
}

TEST(CopyFile, FailureNamesTheFileAndLeavesTargetIntact) {
    ScratchDir dir;
    const auto original = patternBytes(5000, 3);
    writeBytes(dir.file("dst"), original);
    writeBytes(dir.file("src"), patternBytes(100, 4));
    const struct {
        std::string source;
        std::string target;
        std::string named;
    } cases[] = {
        {dir.file("missing"), dir.file("dst"), dir.file("missing")},
        {dir.path(), dir.file("dst"), dir.path()},
        {dir.file("src"), dir.file("nodir/dst"), dir.file("nodir/dst")},
    };
    for (const auto& c : cases) {
        try {
            copyFile(c.source, c.target);
            ADD_FAILURE() << "copied " << c.source;
        } catch (const FileError& e) {
            EXPECT_EQ(e.fileName(), c.named);
            EXPECT_NE(std::string(e.what()).find("\"" + c.named + "\""), std::string::npos);
        }
        EXPECT_EQ(readBytes(dir.file("dst")), original);
    }
    auto names = dir.names();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"dst", "src"}));
}

TEST(CopyFile, SymbolicLinkKeepsPointingAtTheReplacedFile) {
    ScratchDir dir;
    writeBytes(dir.file("src"), patternBytes(3000, 1));
    writeBytes(dir.file("real"), patternBytes(10, 2));
    ASSERT_EQ(::symlink("real", dir.file("link").c_str()), 0);
    copyFile(dir.file("src"), dir.file("link"));
    EXPECT_EQ(readBytes(dir.file("real")), patternBytes(3000, 1));
    struct stat info {};
    ASSERT_EQ(::lstat(dir.file("link").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
}

TEST(CopyFile, RefusesToReplaceWhatIsNotARegularFile) {
    ScratchDir dir;
    writeBytes(dir.file("src"), patternBytes(10, 1));
    const std::string fifo = dir.file("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ::alarm(10);
    for (const std::string& target : {fifo, dir.path()}) {
        try {
            copyFile(dir.file("src"), target);
            ADD_FAILURE() << "replaced " << target;
        } catch (const FileError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "Cannot write file \"" + target + "\": not a regular file");
        }
    }
    ::alarm(0);
    struct stat info {};
    ASSERT_EQ(::lstat(fifo.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_EQ(dir.names().size(), 2U);
}

TEST(CopyFile, FullFileSystemLeavesTargetIntactAndNoScratch) {
    ScratchDir dir;
    const auto original = patternBytes(1000, 5);
    writeBytes(dir.file("dst"), original);
    writeBytes(dir.file("src"), patternBytes(100000, 6));
    const std::string target = dir.file("dst");
    const int result = test::runWithFileSizeLimit(20000, [&] {
        try {
            copyFile(dir.file("src"), target);
        } catch (const FileError& e) {
            return e.fileName() == target && std::string(e.what()) == "Cannot write file \"" +
                                                                          target +
                                                                          "\": File too large"
                       ? 0
                       : 1;
        }
        return 2;
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(readBytes(target), original);
    EXPECT_EQ(dir.names().size(), 2U) << "scratch file left behind";
}

TEST(DeleteFile, ReportsFailure) {
    ScratchDir dir;
    writeBytes(dir.file("b"), patternBytes(10, 1));
    EXPECT_TRUE(deleteFile(dir.file("b")));
    EXPECT_FALSE(deleteFile(dir.file("b")));
}

} // namespace
} // namespace tessarin
