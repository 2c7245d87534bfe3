#include "platform/process/delete_directory.hpp"
#include "platform/text/utf.hpp"
#include "support/temp_dir.hpp"

#include <gtest/gtest.h>

#include <filesystem>

namespace ludrin::process {
namespace {

namespace stdfs = std::filesystem;
using ludrin::testing::TempDir;
using ludrin::testing::Wide;
using ludrin::testing::WriteFile;

class DeleteDirectoryTest : public ::testing::Test {
protected:
    // A tree with files at several depths, hidden entries and an empty sub-folder.
    void MakeTree() {
        WriteFile(tree_ / "a.txt", "a");
        WriteFile(tree_ / ".hidden", "h");
        WriteFile(tree_ / "sub" / "b.txt", "b");
        WriteFile(tree_ / "sub" / "deeper" / "c.txt", "c");
        stdfs::create_directories(tree_ / "empty");
    }

    TempDir dir_;
    stdfs::path tree_ = dir_ / "tree";
};

TEST_F(DeleteDirectoryTest, RemovesAWholeTreeAndAnEmptyFolder) {
    MakeTree();
    DeleteDirectory(Wide(tree_));
    EXPECT_FALSE(stdfs::exists(tree_));

    stdfs::create_directory(tree_);
    DeleteDirectory(Wide(tree_));
    EXPECT_FALSE(stdfs::exists(tree_));
    EXPECT_TRUE(stdfs::exists(dir_.Path()));
}

TEST_F(DeleteDirectoryTest, ReadOnlyFileKeepsItselfAndTheFoldersOnItsPath) {
    MakeTree();
    stdfs::permissions(tree_ / "sub" / "deeper" / "c.txt", stdfs::perms::owner_read);
    DeleteDirectory(Wide(tree_));
    EXPECT_TRUE(stdfs::exists(tree_ / "sub" / "deeper" / "c.txt"));
    EXPECT_FALSE(stdfs::exists(tree_ / "a.txt"));
    EXPECT_FALSE(stdfs::exists(tree_ / ".hidden"));
    EXPECT_FALSE(stdfs::exists(tree_ / "sub" / "b.txt"));
    EXPECT_FALSE(stdfs::exists(tree_ / "empty"));
}

TEST_F(DeleteDirectoryTest, LinksInsideAreRemovedNeverEntered) {
    MakeTree();
    const auto outside = dir_ / "outside";
    WriteFile(outside / "keep.txt", "keep");
    WriteFile(dir_ / "keep-file.txt", "keep");
    stdfs::create_directory_symlink(outside, tree_ / "sub" / "to-folder");
    stdfs::create_symlink(dir_ / "keep-file.txt", tree_ / "to-file");
    stdfs::create_symlink(dir_ / "nowhere", tree_ / "dangling");

    DeleteDirectory(Wide(tree_));
    EXPECT_FALSE(stdfs::exists(stdfs::symlink_status(tree_)));
    EXPECT_EQ(ludrin::testing::ReadFile(outside / "keep.txt"), "keep");
    EXPECT_EQ(ludrin::testing::ReadFile(dir_ / "keep-file.txt"), "keep");
}

TEST_F(DeleteDirectoryTest, AFolderThatIsItselfALinkLosesOnlyTheLink) {
    const auto target = dir_ / "target";
    WriteFile(target / "keep.txt", "keep");
    stdfs::create_directory_symlink(target, tree_);
    DeleteDirectory(Wide(tree_));
    EXPECT_FALSE(stdfs::exists(stdfs::symlink_status(tree_)));
    EXPECT_TRUE(stdfs::exists(target / "keep.txt"));
}

TEST_F(DeleteDirectoryTest, MissingPathsAndFilesAreLeftAlone) {
    DeleteDirectory(Wide(dir_ / "missing"));
    DeleteDirectory(L"");
    WriteFile(dir_ / "file", "x");
    DeleteDirectory(Wide(dir_ / "file"));
    EXPECT_TRUE(stdfs::exists(dir_ / "file"));
    EXPECT_TRUE(stdfs::exists(dir_.Path()));
}

} // namespace
} // namespace ludrin::process
