// The store's Windows file backend through Extract and the destination folders of
// TExtractTo, with the real Windows API.

#include "platform/fs/fs.hpp"
#include "platform/fs/part_file.hpp"
#include "platform/fs/path_separator.hpp"
#include "store/auto_extract.hpp"
#include "store/file_storage.hpp"
#include "support/temp_dir.hpp"
#include "support/test_arguments.hpp"

#include <windows.h>

#include <shlobj.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace ludrin::store {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::wstring ShellPath(int csidl) {
    wchar_t path[MAX_PATH] = {};
    return SUCCEEDED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))
               ? std::wstring(path)
               : std::wstring();
}

std::wstring WindowsFolder() {
    wchar_t path[MAX_PATH] = {};
    GetWindowsDirectoryW(path, MAX_PATH);
    return fs::WithTrailingSeparator(path);
}

class StoreFilesWin : public ::testing::Test {
protected:
    StoreFilesWin() {
        auto file = std::make_unique<TStoredFile>(&store_);
        file->FileName = L"LUD.exe";
        file->Data = {'M', 'Z', 0, 1, 2, 3, 0xFF};
        file->Size = static_cast<std::uint32_t>(file->Data.size());
        store_.Files.push_back(std::move(file));
    }

    std::wstring Folder() const { return temp_.Path().wstring(); }

    static std::wstring Read(const std::wstring& path) {
        const auto data = fs::ReadWholeFile(path);
        return data ? std::wstring(data->begin(), data->end()) : L"<unreadable>";
    }
    std::wstring Stored() const {
        return std::wstring(store_.Files[0]->Data.begin(), store_.Files[0]->Data.end());
    }

    testing::TempDir temp_;
    TstFileStorage store_;
};

TEST_F(StoreFilesWin, ExtractCreatesEveryFolderAlongThePath) {
    const std::wstring path = Folder() + L"\\uno\\due\\tre\\LUD.exe";
    ASSERT_TRUE(store_.Extract(0, path));
    EXPECT_EQ(Read(path), Stored());
    EXPECT_EQ(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

TEST_F(StoreFilesWin, ExtractReplacesALongerFileWhole) {
    const std::wstring path = Folder() + L"\\LUD.exe";
    ASSERT_TRUE(fs::WriteWholeFile(path, Bytes(5000, 'x')));
    ASSERT_TRUE(store_.Extract(0, path));
    EXPECT_EQ(fs::FileSize(path), 7);
    EXPECT_EQ(Read(path), Stored());
}

// The new file is moved over the old one once whole. Windows refuses to replace a file
// that anyone holds open, whatever they share, and a read-only one: the old file then stays
// whole (its holders keep reading it), Extract answers false and no part file is left.
TEST_F(StoreFilesWin, ExtractLeavesAHeldOrReadOnlyFileWhole) {
    const struct {
        const wchar_t* name;
        DWORD sharing; // of another handle held meanwhile (0: nobody holds it)
        bool readOnly;
        bool replaced;
    } cases[] = {
        {L"libero.exe", 0, false, true},
        {L"condiviso.exe", FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, false, false},
        {L"tenuto.exe", FILE_SHARE_READ | FILE_SHARE_WRITE, false, false},
        {L"sola-lettura.exe", 0, true, false},
    };
    for (const auto& c : cases) {
        const std::wstring path = Folder() + L"\\" + c.name;
        SCOPED_TRACE(std::string(path.begin(), path.end()));
        ASSERT_TRUE(fs::WriteWholeFile(path, Bytes(100, 'x')));
        HANDLE other = INVALID_HANDLE_VALUE;
        if (c.sharing != 0) {
            other = CreateFileW(path.c_str(), GENERIC_READ, c.sharing, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
            ASSERT_NE(other, INVALID_HANDLE_VALUE);
        }
        if (c.readOnly) {
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
        }
        EXPECT_EQ(store_.Extract(0, path), c.replaced);
        if (other != INVALID_HANDLE_VALUE) {
            char buffer[128] = {};
            DWORD read = 0;
            EXPECT_TRUE(ReadFile(other, buffer, sizeof buffer, &read, nullptr));
            EXPECT_EQ(read, 100u); // the holder's file is the old one, whole
            CloseHandle(other);
        }
        EXPECT_EQ(Read(path), c.replaced ? Stored() : std::wstring(100, L'x'));
        EXPECT_EQ(GetFileAttributesW(fs::PartFileName(path).c_str()), INVALID_FILE_ATTRIBUTES);
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

TEST_F(StoreFilesWin, ExtractAnswersFalseWhereNoFileCanBeWritten) {
    const std::wstring blocker = Folder() + L"\\gia-un-file";
    ASSERT_TRUE(fs::WriteWholeFile(blocker, Bytes(3, 'x')));
    const std::wstring locked = Folder() + L"\\bloccato.exe";
    ASSERT_TRUE(fs::WriteWholeFile(locked, Bytes(3, 'x')));
    const HANDLE exclusive = CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);

    const std::wstring impossible[] = {
        blocker + L"\\sotto\\LUD.exe",   // a file stands where a folder must be
        Folder() + L"\\nome<non>valido", // characters no file name may hold
        Folder() + L"\\",                // a folder, not a file
        locked,                          // held open by another handle that shares nothing
    };
    for (const auto& path : impossible) {
        EXPECT_FALSE(store_.Extract(0, path)) << std::string(path.begin(), path.end());
    }
    CloseHandle(exclusive);
    EXPECT_EQ(fs::FileSize(blocker), 3);
    EXPECT_EQ(fs::FileSize(locked), 3);
}

TEST_F(StoreFilesWin, ExtractWithoutAPathUsesTheDestinationFolder) {
    store_.AutoExtract.ExtractTo.ToplevelDir = TstToplevelDir::tdNone;
    // With no base folder the subfolder is taken as it is, its delimiter included.
    store_.AutoExtract.ExtractTo.Subdirectory = Folder() + L"\\dest\\";
    ASSERT_TRUE(store_.Extract(0));
    EXPECT_EQ(Read(Folder() + L"\\dest\\LUD.exe"), Stored());
    ASSERT_TRUE(store_.Extract(L"LUD.exe", Folder() + L"\\per-nome.exe"));
    EXPECT_EQ(Read(Folder() + L"\\per-nome.exe"), Stored());
    EXPECT_FALSE(store_.Extract(L"lud.exe", Folder() + L"\\maiuscole.exe")); // names match exactly
}

// A disk of 64 KiB of its own, which the build mounts on the host before the run (seen
// through Wine's Z: drive): a file that does not fit answers false and leaves nothing.
TEST(StoreFullDiskWin, AFileThatDoesNotFitLeavesNoPartFile) {
    const std::wstring disk = testing::Argument(L"small-volume");
    ULARGE_INTEGER free{};
    if (disk.empty() || !GetDiskFreeSpaceExW(disk.c_str(), &free, nullptr, nullptr) ||
        free.QuadPart > 1024 * 1024) {
        GTEST_SKIP() << "no small volume here (the host could not mount one)";
    }
    const std::wstring keep = disk + L"\\keep.txt";
    const std::wstring target = disk + L"\\Ludrin.exe";
    ASSERT_TRUE(fs::WriteWholeFile(keep, Bytes{'k'}));
    TstFileStorage store;
    auto file = std::make_unique<TStoredFile>(&store);
    file->FileName = L"Ludrin.exe";
    file->Data = Bytes(256 * 1024, 0x90);
    file->Size = static_cast<std::uint32_t>(file->Data.size());
    store.Files.push_back(std::move(file));

    EXPECT_FALSE(store.Extract(0, target));
    EXPECT_EQ(GetFileAttributesW(target.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(fs::ReadWholeFile(keep), Bytes{'k'});
    DeleteFileW(keep.c_str());
}

TEST(ExtractToWin, PathIsTheBaseFolderThenTheSubfolder) {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, temp);
    wchar_t exe[MAX_PATH] = {};
    const std::wstring exePath(exe, GetModuleFileNameW(nullptr, exe, MAX_PATH));
    const std::wstring exeFolder = exePath.substr(0, exePath.find_last_of(L'\\') + 1);
    const std::wstring windows = WindowsFolder();

    struct Case {
        TstToplevelDir dir;
        std::wstring sub;
        std::wstring expected;
    };
    const Case cases[] = {
        {TstToplevelDir::tdCurrentDir, L"", exeFolder},
        {TstToplevelDir::tdTempDir, L"\\\\ludrin\\dati",
         fs::WithTrailingSeparator(temp) + L"ludrin\\dati\\"},
        {TstToplevelDir::tdWindowsDir, L"x", windows + L"x\\"},
        {TstToplevelDir::tdMediaDir, L"", windows + L"MEDIA\\"},
        {TstToplevelDir::tdHelpDir, L"", windows + L"HELP\\"},
        {TstToplevelDir::tdProgramFiles, L"Ludrin",
         windows.substr(0, 3) + L"Program Files\\Ludrin\\"},
        {TstToplevelDir::tdAppData, L"brvdll",
         fs::WithTrailingSeparator(ShellPath(CSIDL_APPDATA)) + L"brvdll\\"},
        {TstToplevelDir::tdMyDocuments, L"", fs::WithTrailingSeparator(ShellPath(CSIDL_PERSONAL))},
        {TstToplevelDir::tdNone, L"C:\\solo", L"C:\\solo"},
    };
    for (const auto& c : cases) {
        TExtractTo to;
        to.ToplevelDir = c.dir;
        to.Subdirectory = c.sub;
        EXPECT_EQ(to.Path(), c.expected) << static_cast<int>(c.dir);
    }
}

} // namespace
} // namespace ludrin::store
