#include "platform/fs/fs.hpp"
#include "platform/text/utf.hpp"
#include "support/temp_dir.hpp"

#include <gtest/gtest.h>

#include <filesystem>

namespace ludrin::fs {
namespace {

namespace stdfs = std::filesystem;
using ludrin::testing::TempDir;
using ludrin::testing::Wide;
using ludrin::testing::WriteFile;

class FsTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFile(dir_ / "file.txt", "x");
        stdfs::create_directory(dir_ / "folder");
        stdfs::create_symlink(dir_ / "file.txt", dir_ / "link-to-file");
        stdfs::create_directory_symlink(dir_ / "folder", dir_ / "link-to-folder");
        stdfs::create_symlink(dir_ / "gone", dir_ / "dangling");
    }

    TempDir dir_;
};

TEST_F(FsTest, PresenceTestsFollowLinks) {
    const struct {
        const char* name;
        bool file;
        bool folder;
    } cases[] = {
        {"file.txt", true, false},       {"folder", false, true},    {"link-to-file", true, false},
        {"link-to-folder", false, true}, {"dangling", false, false}, {"missing", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FileExists(Wide(dir_ / c.name)), c.file) << c.name;
        EXPECT_EQ(DirectoryExists(Wide(dir_ / c.name)), c.folder) << c.name;
    }
    EXPECT_FALSE(FileExists(L""));
    EXPECT_FALSE(DirectoryExists(L""));
}

TEST_F(FsTest, RemoveFileDeletesFilesAndLinksButNotTheirTargets) {
    EXPECT_TRUE(RemoveFile(Wide(dir_ / "link-to-file")));
    EXPECT_TRUE(stdfs::exists(dir_ / "file.txt"));
    EXPECT_TRUE(RemoveFile(Wide(dir_ / "dangling")));
    EXPECT_FALSE(stdfs::is_symlink(dir_ / "dangling"));
    EXPECT_TRUE(RemoveFile(Wide(dir_ / "file.txt")));
    EXPECT_FALSE(stdfs::exists(dir_ / "file.txt"));

    EXPECT_FALSE(RemoveFile(Wide(dir_ / "folder")));
    EXPECT_TRUE(stdfs::is_directory(dir_ / "folder"));
    EXPECT_FALSE(RemoveFile(Wide(dir_ / "missing")));
    EXPECT_FALSE(RemoveFile(L""));
}

TEST_F(FsTest, ReadOnlyFileStays) {
    const auto path = dir_ / "read-only.txt";
    WriteFile(path, "keep");
    stdfs::permissions(path, stdfs::perms::owner_read | stdfs::perms::group_read);
    EXPECT_FALSE(RemoveFile(Wide(path)));
    EXPECT_TRUE(stdfs::exists(path));
}

TEST_F(FsTest, CreateFolderMakesOneLevel) {
    EXPECT_TRUE(CreateFolder(Wide(dir_ / "new")));
    EXPECT_TRUE(stdfs::is_directory(dir_ / "new"));
    EXPECT_FALSE(CreateFolder(Wide(dir_ / "new")));
    EXPECT_FALSE(CreateFolder(Wide(dir_ / "a" / "b")));
    EXPECT_FALSE(stdfs::exists(dir_ / "a"));
    EXPECT_FALSE(CreateFolder(L""));
}

} // namespace
} // namespace ludrin::fs
