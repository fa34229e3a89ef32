#include "platform/files.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include "tests/support/temp_folder.h"

namespace q30x {
namespace {

using test::readAll;
using test::TempFolder;
using test::writeAll;

TEST(ReadFile, TellsTheCauses) {
    TempFolder folder;
    writeAll(folder.file("present"), {1, 2, 3});
    std::filesystem::create_directory(folder.file("dir"));

    EXPECT_EQ(readFile(folder.file("missing"), 10).error, FileError::NotFound);
    EXPECT_EQ(readFile(folder.file("nofolder/x"), 10).error, FileError::NotFound);
    EXPECT_EQ(readFile(folder.file("present/x"), 10).error, FileError::NotFound);  // a file where a folder should be
    EXPECT_EQ(readFile(folder.file("dir"), 10).error, FileError::AccessDenied);
    FileRead read = readFile(folder.file("present"), 10);
    EXPECT_EQ(read.error, FileError::None);
    EXPECT_EQ(read.bytes, (std::vector<uint8_t>{1, 2, 3}));
}

TEST(ReadFile, StopsAtTheLimit) {
    TempFolder folder;
    std::vector<uint8_t> big(100000);
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<uint8_t>(i);
    writeAll(folder.file("big"), big);
    EXPECT_EQ(readFile(folder.file("big"), 5).bytes, (std::vector<uint8_t>{0, 1, 2, 3, 4}));
    EXPECT_EQ(readFile(folder.file("big"), 1 << 30).bytes, big);
}

TEST(WriteFileAtomic, CreatesAndReplacesWhole) {
    TempFolder folder;
    std::vector<uint8_t> first(5000, 0xAA), second{1, 2};
    ASSERT_EQ(writeFileAtomic(folder.file("f"), first, FileAccess::UserDefault), FileError::None);
    EXPECT_EQ(readAll(folder.file("f")), first);
    ASSERT_EQ(writeFileAtomic(folder.file("f"), second, FileAccess::UserDefault), FileError::None);
    EXPECT_EQ(readAll(folder.file("f")), second);
    // Nothing but the file itself is left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

TEST(WriteFileAtomic, KeepsTheFileMode) {
    TempFolder folder;
    writeAll(folder.file("f"), {1});
    ::chmod(folder.file("f").c_str(), 0600);
    ASSERT_EQ(writeFileAtomic(folder.file("f"), std::vector<uint8_t>{2}, FileAccess::UserDefault), FileError::None);
    struct stat st {};
    ::stat(folder.file("f").c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(WriteFileAtomic, TellsTheCauses) {
    TempFolder folder;
    std::filesystem::create_directory(folder.file("dir"));
    std::vector<uint8_t> bytes{1};
    EXPECT_EQ(writeFileAtomic(folder.file("nofolder/f"), bytes, FileAccess::Private), FileError::NotFound);
    EXPECT_EQ(writeFileAtomic(folder.file("dir"), bytes, FileAccess::Private), FileError::AccessDenied);
    EXPECT_FALSE(std::filesystem::exists(folder.file("nofolder")));
}

// A write that fails half-way (here: the file-size limit) must leave the old
// file exactly as it was and no temporary file behind.
TEST(WriteFileAtomic, FailedWriteLeavesTheOldFileWhole) {
    TempFolder folder;
    std::vector<uint8_t> old(3000, 0x55);
    writeAll(folder.file("f"), old);

    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ::setrlimit(RLIMIT_FSIZE, &small);
    FileError error = writeFileAtomic(folder.file("f"), std::vector<uint8_t>(100000, 0x11), FileAccess::Private);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(error, FileError::NoSpace);
    EXPECT_EQ(readAll(folder.file("f")), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

TEST(Folders, CreateDirectoriesMakesParentsWithMode) {
    TempFolder folder;
    std::string deep = folder.file("a/b/c");
    ASSERT_TRUE(createDirectories(deep, 0700));
    EXPECT_TRUE(directoryExists(deep));
    struct stat st {};
    ::stat(deep.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_TRUE(createDirectories(deep, 0700));  // already there
}

TEST(Folders, CopyFileIfAbsentNeverOverwrites) {
    TempFolder folder;
    writeAll(folder.file("src"), {1, 2});
    writeAll(folder.file("dst"), {9});
    EXPECT_FALSE(copyFileIfAbsent(folder.file("src"), folder.file("dst"), FileAccess::Private));
    EXPECT_EQ(readAll(folder.file("dst")), (std::vector<uint8_t>{9}));
    EXPECT_TRUE(copyFileIfAbsent(folder.file("src"), folder.file("new"), FileAccess::Private));
    EXPECT_EQ(readAll(folder.file("new")), (std::vector<uint8_t>{1, 2}));
    EXPECT_FALSE(copyFileIfAbsent(folder.file("missing"), folder.file("other"), FileAccess::Private));
    EXPECT_FALSE(fileExists(folder.file("other")));
}

}  // namespace
}  // namespace q30x
