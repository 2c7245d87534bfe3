#include "platform/process/delete_directory.hpp"
#include "platform/text/utf.hpp"
#include "support/temp_dir.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace ludrin::process {
namespace {

namespace stdfs = std::filesystem;
using ludrin::testing::TempDir;
using ludrin::testing::Wide;
using ludrin::testing::WriteFile;
using ludrin::text::Utf8ToWide;

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

// However the link's path is spelled, only the link goes: lstat("link/") would follow it.
TEST_F(DeleteDirectoryTest, ALinkNamedWithATrailingPartLosesOnlyTheLink) {
    const auto target = dir_ / "target";
    WriteFile(target / "keep.txt", "keep");
    WriteFile(target / "sub" / "keep.txt", "keep");
    for (const char* spelling : {"/", "//", "/.", "/./", "/sub/..", "/sub/../"}) {
        SCOPED_TRACE(spelling);
        stdfs::create_directory_symlink(target, tree_);
        DeleteDirectory(Wide(tree_) + Utf8ToWide(spelling));
        EXPECT_FALSE(stdfs::exists(stdfs::symlink_status(tree_)));
        EXPECT_EQ(ludrin::testing::ReadFile(target / "keep.txt"), "keep");
        EXPECT_EQ(ludrin::testing::ReadFile(target / "sub" / "keep.txt"), "keep");
        stdfs::remove(tree_);
    }
}

TEST_F(DeleteDirectoryTest, AFolderNamedWithATrailingSeparatorIsRemoved) {
    MakeTree();
    DeleteDirectory(Wide(tree_) + L"/");
    EXPECT_FALSE(stdfs::exists(tree_));
}

// Folders nested `levels` deep below `root`, each named "d", made and removed one level at
// a time through open folders: the paths are far longer than any path call accepts.
class NestedFolders {
public:
    NestedFolders(const stdfs::path& root, int levels) : root_(root), levels_(levels) {
        stdfs::create_directory(root_);
        int fd = ::open(root_.c_str(), O_RDONLY | O_DIRECTORY);
        for (int i = 0; i < levels_ && fd >= 0; ++i) {
            ::mkdirat(fd, "d", 0700);
            const int next = ::openat(fd, "d", O_RDONLY | O_DIRECTORY);
            ::close(fd);
            fd = next;
        }
        if (fd >= 0) {
            ::close(fd);
        }
    }
    ~NestedFolders() {
        int fd = ::open(root_.c_str(), O_RDONLY | O_DIRECTORY);
        int depth = 0;
        while (fd >= 0) {
            const int next = ::openat(fd, "d", O_RDONLY | O_DIRECTORY);
            if (next < 0) {
                break;
            }
            ::close(fd);
            fd = next;
            ++depth;
        }
        for (; depth > 0 && fd >= 0; --depth) {
            const int up = ::openat(fd, "..", O_RDONLY | O_DIRECTORY);
            ::close(fd);
            fd = up;
            ::unlinkat(fd, "d", AT_REMOVEDIR);
        }
        if (fd >= 0) {
            ::close(fd);
        }
    }
    NestedFolders(const NestedFolders&) = delete;
    NestedFolders& operator=(const NestedFolders&) = delete;

    // How many levels are still there.
    int Depth() const {
        int fd = ::open(root_.c_str(), O_RDONLY | O_DIRECTORY);
        int depth = 0;
        while (fd >= 0) {
            const int next = ::openat(fd, "d", O_RDONLY | O_DIRECTORY);
            ::close(fd);
            fd = next;
            depth += fd >= 0 ? 1 : 0;
        }
        return depth;
    }

private:
    stdfs::path root_;
    int levels_;
};

TEST_F(DeleteDirectoryTest, ADeepButRealTreeGoesWhole) {
    NestedFolders nested(tree_, 300);
    ASSERT_EQ(nested.Depth(), 300);
    DeleteDirectory(Wide(tree_));
    EXPECT_FALSE(stdfs::exists(tree_));
}

// Deeper than the open folders a plain recursive walk may hold (and, deeper still, its
// stack under sanitizers): refused, and nothing of it
// is removed, so what stays is plain to see.
TEST_F(DeleteDirectoryTest, AnAbsurdlyDeepTreeStaysWhole) {
    NestedFolders nested(tree_, 1100);
    ASSERT_EQ(nested.Depth(), 1100);
    WriteFile(tree_ / "top.txt", "top");
    DeleteDirectory(Wide(tree_));
    EXPECT_TRUE(stdfs::exists(tree_ / "top.txt"));
    EXPECT_EQ(nested.Depth(), 1100);
    stdfs::remove(tree_ / "top.txt");
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
