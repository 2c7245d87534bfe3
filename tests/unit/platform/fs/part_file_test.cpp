// Files written whole or not at all, with real files: what the final name holds after a
// commit, after a write given up half-way, and when something stands in the way.

#include "platform/fs/part_file.hpp"
#include "support/temp_dir.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <set>
#include <span>
#include <string>

namespace ludrin::fs {
namespace {

namespace stdfs = std::filesystem;
using ludrin::testing::ReadFile;
using ludrin::testing::TempDir;
using ludrin::testing::Wide;
using ludrin::testing::WriteFile;

void Write(PartFile& part, const std::string& text) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    ASSERT_EQ(part.Output().Write(std::span(bytes, text.size())), text.size());
}

// Everything in the folder, so that a part file left behind under any name shows.
std::set<std::string> Names(const stdfs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : stdfs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

// Every case twice: the file named by its whole path, and from its folder held open, as a
// batch of extractions names its files.
class PartFileTest : public ::testing::TestWithParam<bool> {
protected:
    stdfs::path Target() const { return dir_ / "LUD.exe"; }
    std::optional<PartFile> Create(const stdfs::path& path) {
        if (!GetParam()) {
            return PartFile::Create(Wide(path));
        }
        if (!folder_ || !folder_->Holds(Wide(path))) {
            folder_ = OpenFolder::Open(Wide(path.parent_path()));
        }
        EXPECT_TRUE(folder_);
        return PartFile::Create(Wide(path), folder_ ? &*folder_ : nullptr);
    }
    TempDir dir_;
    std::optional<OpenFolder> folder_;
};

TEST_P(PartFileTest, TheFinalNameHoldsTheOldFileUntilTheCommitThenTheNewOneWhole) {
    WriteFile(Target(), "the old program, longer than the new one");
    auto part = Create(Target());
    ASSERT_TRUE(part);
    Write(*part, "new ");
    EXPECT_EQ(ReadFile(Target()), "the old program, longer than the new one");
    Write(*part, "program");
    EXPECT_EQ(Names(dir_.Path()), (std::set<std::string>{"LUD.exe", "LUD.exe.ludrin-part"}));
    ASSERT_TRUE(part->Commit());
    EXPECT_EQ(ReadFile(Target()), "new program");
    EXPECT_EQ(Names(dir_.Path()), std::set<std::string>{"LUD.exe"});
}

TEST_P(PartFileTest, AWriteGivenUpLeavesTheOldFileOrNone) {
    for (const bool oldFile : {true, false}) {
        SCOPED_TRACE(oldFile ? "over an old file" : "where there was none");
        if (oldFile) {
            WriteFile(Target(), "old");
        }
        {
            auto part = Create(Target());
            ASSERT_TRUE(part);
            Write(*part, "half of the new");
        }
        EXPECT_EQ(Names(dir_.Path()),
                  oldFile ? std::set<std::string>{"LUD.exe"} : std::set<std::string>{});
        stdfs::remove(Target());
    }
}

// A run that was killed leaves its part file; the next write of the same file takes it over
// from its first byte, and nothing of the old part survives.
TEST_P(PartFileTest, APartLeftByAKilledWriterIsTakenOver) {
    WriteFile(dir_ / "LUD.exe.ludrin-part", "a long part left by a run that was killed");
    auto part = Create(Target());
    ASSERT_TRUE(part);
    Write(*part, "whole");
    ASSERT_TRUE(part->Commit());
    EXPECT_EQ(ReadFile(Target()), "whole");
    EXPECT_EQ(Names(dir_.Path()), std::set<std::string>{"LUD.exe"});
}

TEST_P(PartFileTest, ASecondWriterOfTheSameFileIsRefusedWhileTheFirstWrites) {
    auto first = Create(Target());
    ASSERT_TRUE(first);
    Write(*first, "first");
    EXPECT_FALSE(Create(Target()));
    ASSERT_TRUE(first->Commit());
    EXPECT_EQ(ReadFile(Target()), "first");
}

TEST_P(PartFileTest, WhatStandsInTheWayStaysAndThePartGoes) {
    const struct {
        const char* name;
        void (*make)(const stdfs::path&);
    } cases[] = {
        {"a read-only file",
         [](const stdfs::path& path) {
             WriteFile(path, "old");
             stdfs::permissions(path, stdfs::perms::owner_read | stdfs::perms::group_read);
         }},
        {"a folder",
         [](const stdfs::path& path) {
             stdfs::create_directory(path);
             WriteFile(path / "inside", "old");
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const auto target = dir / "LUD.exe";
        c.make(target);
        auto part = Create(target);
        ASSERT_TRUE(part);
        Write(*part, "new");
        EXPECT_FALSE(part->Commit());
        EXPECT_EQ(Names(dir.Path()), std::set<std::string>{"LUD.exe"});
        EXPECT_EQ(ReadFile(stdfs::is_directory(target) ? target / "inside" : target), "old");
        stdfs::permissions(target, stdfs::perms::owner_all);
    }
}

// A link planted under the final name is replaced itself; its target is never written.
TEST_P(PartFileTest, ALinkUnderTheFinalNameIsReplacedNotWrittenThrough) {
    WriteFile(dir_ / "elsewhere.txt", "not ours");
    stdfs::create_symlink(dir_ / "elsewhere.txt", Target());
    auto part = Create(Target());
    ASSERT_TRUE(part);
    Write(*part, "new");
    ASSERT_TRUE(part->Commit());
    EXPECT_FALSE(stdfs::is_symlink(Target()));
    EXPECT_EQ(ReadFile(Target()), "new");
    EXPECT_EQ(ReadFile(dir_ / "elsewhere.txt"), "not ours");
}

INSTANTIATE_TEST_SUITE_P(Naming, PartFileTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "FromItsFolder" : "ByPath"; });

// A folder that does not hold the file is not where the file goes.
TEST(PartFileFolder, AHeldFolderNamesOnlyTheFilesInIt) {
    TempDir dir;
    const auto target = dir / "LUD.exe";
    stdfs::create_directory(dir / "other");
    const auto other = OpenFolder::Open(Wide(dir / "other"));
    ASSERT_TRUE(other);
    auto part = PartFile::Create(Wide(target), &*other);
    ASSERT_TRUE(part);
    Write(*part, "new");
    ASSERT_TRUE(part->Commit());
    EXPECT_EQ(ReadFile(target), "new");
    EXPECT_TRUE(stdfs::is_empty(dir / "other"));
}

TEST(PartFileName, StaysBesideTheFileAndWithinTheLongestName) {
    EXPECT_EQ(PartFileName(L"/a/b/Ludrin 4.lnk"), L"/a/b/Ludrin 4.lnk.ludrin-part");
    const std::wstring longA(250, L'a');
    const std::wstring partA = PartFileName(L"/d/" + longA + L"1");
    const std::wstring partB = PartFileName(L"/d/" + longA + L"2");
    EXPECT_EQ(partA.size(), 3u + 255u);
    EXPECT_TRUE(partA.starts_with(L"/d/aaaa"));
    EXPECT_TRUE(partA.ends_with(L".ludrin-part"));
    EXPECT_NE(partA, partB);
}

} // namespace
} // namespace ludrin::fs
