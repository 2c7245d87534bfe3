#include "platform/fs/fs.hpp"
#include "platform/fs/part_file.hpp"
#include "platform/process/delete_directory.hpp"
#include "platform/process/process_exists.hpp"
#include "platform/process/process_id.hpp"
#include "platform/text/utf.hpp"
#include "support/running_program.hpp"
#include "support/temp_dir.hpp"
#include "support/test_arguments.hpp"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>

namespace ludrin::process {
namespace {

namespace stdfs = std::filesystem;
using ludrin::testing::Argument;
using ludrin::testing::RunningProgram;
using ludrin::testing::TempDir;
using ludrin::testing::Wide;
using ludrin::testing::WriteFile;

TEST(ProcessExistsWin, SeesProcessesByTheirExecutableName) {
    TempDir dir;
    const struct {
        const wchar_t* runAs;
        bool found;
    } cases[] = {
        {L"Ludrin.exe", true},
        {L"ludrin.EXE", true},
        {L"Ludrin.exe.bak", false},
    };
    for (const auto& c : cases) {
        ASSERT_FALSE(processExists(L"Ludrin.exe")) << "a player-named process already runs";
        RunningProgram program(dir / (std::wstring(L"run-") + c.runAs), c.runAs);
        EXPECT_EQ(processExists(L"Ludrin.exe"), c.found) << text::WideToUtf8(c.runAs);
        program.Stop();
        EXPECT_FALSE(processExists(L"Ludrin.exe")) << text::WideToUtf8(c.runAs);
    }
    // The walk also finds this very program, whatever the letter case asked for.
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring name = stdfs::path(self).filename().wstring();
    for (auto& c : name) {
        c = static_cast<wchar_t>(towupper(c));
    }
    EXPECT_TRUE(processExists(name));
}

class DeleteDirectoryWin : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFile(tree_ / "a.txt", "a");
        WriteFile(tree_ / "sub" / "b.txt", "b");
        WriteFile(tree_ / "sub" / "deeper" / "c.txt", "c");
        WriteFile(tree_ / "hidden.txt", "h");
        SetFileAttributesW(Wide(tree_ / "hidden.txt").c_str(),
                           FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
        stdfs::create_directories(tree_ / "empty");
        SetFileAttributesW(Wide(tree_ / "empty").c_str(), FILE_ATTRIBUTE_HIDDEN);
    }

    TempDir dir_;
    stdfs::path tree_ = dir_ / "tree";
};

TEST_F(DeleteDirectoryWin, RemovesEveryEntryIncludingHiddenAndSystemOnes) {
    DeleteDirectory(Wide(tree_));
    EXPECT_FALSE(stdfs::exists(tree_));
}

TEST_F(DeleteDirectoryWin, ReadOnlyAndOpenFilesStayWithTheirFolders) {
    const auto readOnly = tree_ / "sub" / "deeper" / "c.txt";
    SetFileAttributesW(Wide(readOnly).c_str(), FILE_ATTRIBUTE_READONLY);
    const auto open = tree_ / "a.txt";
    const HANDLE held = CreateFileW(Wide(open).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);

    DeleteDirectory(Wide(tree_));
    CloseHandle(held);
    EXPECT_TRUE(stdfs::exists(readOnly));
    EXPECT_TRUE(stdfs::exists(open));
    EXPECT_FALSE(stdfs::exists(tree_ / "sub" / "b.txt"));
    EXPECT_FALSE(stdfs::exists(tree_ / "hidden.txt"));
    EXPECT_FALSE(stdfs::exists(tree_ / "empty"));
    SetFileAttributesW(Wide(readOnly).c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(DeleteDirectoryWin, AFolderLinkInsideIsRemovedWithoutItsTarget) {
    const auto outside = dir_ / "outside";
    WriteFile(outside / "keep.txt", "keep");
    const auto link = tree_ / "sub" / "link";
    if (!CreateSymbolicLinkW(Wide(link).c_str(), Wide(outside).c_str(),
                             SYMBOLIC_LINK_FLAG_DIRECTORY |
                                 SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE)) {
        GTEST_SKIP() << "no folder links here (error " << GetLastError() << ")";
    }
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileW(Wide(link).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        GTEST_SKIP() << "the link cannot be found again here";
    }
    FindClose(find);
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        GTEST_SKIP() << "the link is not shown as a reparse point here";
    }
    DeleteDirectory(Wide(tree_));
    EXPECT_FALSE(stdfs::exists(tree_));
    EXPECT_TRUE(stdfs::exists(outside / "keep.txt"));
}

// A folder link made on the host, as Wine shows one: the reparse-point attribute with a tag
// of 0. The build prepares tree\sub\link -> outside before the run. Wine 8 cannot remove
// such a link, so the folders holding it may stay; what lies at its target must stay too.
TEST(DeleteDirectoryWinLinks, AHostFolderLinkIsNeverEntered) {
    const std::wstring root = testing::Argument(L"link-tree");
    if (root.empty()) {
        GTEST_SKIP() << "no --link-tree prepared";
    }
    const stdfs::path base(root);
    ASSERT_TRUE(stdfs::exists(base / "outside" / "keep.txt"));
    WriteFile(base / "tree" / "sub" / "b.txt", "b");
    DeleteDirectory(Wide(base / "tree"));
    EXPECT_TRUE(stdfs::exists(base / "outside" / "keep.txt"));
    EXPECT_FALSE(stdfs::exists(base / "tree" / "sub" / "b.txt"));
}

// The build also prepares top -> outside. A trailing part must not make the link look like
// a plain folder: the search for "top\\" fails, and a walk from there empties the target.
TEST(DeleteDirectoryWinLinks, AHostFolderLinkNamedWithATrailingPartIsNeverEntered) {
    const std::wstring root = testing::Argument(L"link-tree");
    if (root.empty()) {
        GTEST_SKIP() << "no --link-tree prepared";
    }
    const stdfs::path base(root);
    WriteFile(base / "outside" / "sub" / "keep.txt", "keep");
    for (const wchar_t* spelling : {L"\\", L"/", L"\\.", L"/.", L"\\sub\\..", L"\\\\"}) {
        SCOPED_TRACE(text::WideToUtf8(spelling));
        DeleteDirectory(Wide(base / "top") + spelling);
        EXPECT_TRUE(stdfs::exists(base / "outside" / "keep.txt"));
        EXPECT_TRUE(stdfs::exists(base / "outside" / "sub" / "keep.txt"));
    }
}

TEST(DeleteDirectoryWinPaths, MissingPathsAndFilesAreLeftAlone) {
    TempDir dir;
    WriteFile(dir / "file", "x");
    DeleteDirectory(Wide(dir / "missing"));
    DeleteDirectory(Wide(dir / "file"));
    DeleteDirectory(L"");
    EXPECT_TRUE(stdfs::exists(dir / "file"));
}

TEST(FsWin, PresenceTestsAndSingleFileDeletion) {
    TempDir dir;
    WriteFile(dir / "file.txt", "x");
    stdfs::create_directory(dir / "folder");
    EXPECT_TRUE(fs::FileExists(Wide(dir / "file.txt")));
    EXPECT_FALSE(fs::DirectoryExists(Wide(dir / "file.txt")));
    EXPECT_TRUE(fs::DirectoryExists(Wide(dir / "folder")));
    EXPECT_FALSE(fs::FileExists(Wide(dir / "folder")));
    EXPECT_FALSE(fs::FileExists(Wide(dir / "missing")));
    EXPECT_FALSE(fs::FileExists(L""));
    EXPECT_FALSE(fs::DirectoryExists(L""));

    WriteFile(dir / "read-only.txt", "x");
    SetFileAttributesW(Wide(dir / "read-only.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(fs::RemoveFile(Wide(dir / "read-only.txt")));
    EXPECT_TRUE(fs::FileExists(Wide(dir / "read-only.txt")));
    SetFileAttributesW(Wide(dir / "read-only.txt").c_str(), FILE_ATTRIBUTE_NORMAL);

    const HANDLE held = CreateFileW(Wide(dir / "file.txt").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(fs::RemoveFile(Wide(dir / "file.txt")));
    CloseHandle(held);
    EXPECT_TRUE(fs::RemoveFile(Wide(dir / "file.txt")));
    EXPECT_FALSE(fs::FileExists(Wide(dir / "file.txt")));

    EXPECT_TRUE(fs::CreateFolder(Wide(dir / "new")));
    EXPECT_FALSE(fs::CreateFolder(Wide(dir / "a" / "b")));
}

// A process is running until it has ended, even while a handle to it is still open.
TEST(ProcessIdWin, RunningUntilItEnds) {
    EXPECT_TRUE(ProcessIdRunning(CurrentProcessId()));
    std::wstring commandLine = L"\"" + Argument(L"waiter") + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    ASSERT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &started));
    CloseHandle(started.hThread);
    EXPECT_TRUE(ProcessIdRunning(started.dwProcessId));
    TerminateProcess(started.hProcess, 1);
    WaitForSingleObject(started.hProcess, INFINITE);
    EXPECT_FALSE(ProcessIdRunning(started.dwProcessId));
    CloseHandle(started.hProcess);
    EXPECT_FALSE(ProcessIdRunning(started.dwProcessId));
}

// The part file under Windows' sharing rules: one writer at a time, moved over the final
// name while still held, and a part a killed run left is taken over.
TEST(PartFileWin, OneWriterAtATimeAndLeftPartsTakenOver) {
    TempDir dir;
    const std::wstring path = Wide(dir / "Ludrin.exe");
    WriteFile(dir / "Ludrin.exe", "old");
    WriteFile(dir / "Ludrin.exe.ludrin-part", "a part left by a killed run, longer");
    auto part = fs::PartFile::Create(path);
    ASSERT_TRUE(part);
    EXPECT_FALSE(fs::PartFile::Create(path)) << "a second writer mixed in";
    const std::uint8_t bytes[] = {'n', 'e', 'w'};
    ASSERT_EQ(part->Output().Write(bytes), 3u);
    EXPECT_EQ(ludrin::testing::ReadFile(dir / "Ludrin.exe"), "old");
    ASSERT_TRUE(part->Commit());
    EXPECT_EQ(ludrin::testing::ReadFile(dir / "Ludrin.exe"), "new");
    EXPECT_FALSE(stdfs::exists(dir / "Ludrin.exe.ludrin-part"));
}

} // namespace
} // namespace ludrin::process
