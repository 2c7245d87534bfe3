#include "platform/sysinfo/long_path.hpp"
#include "platform/sysinfo/special_folders.hpp"
#include "platform/sysinfo/system_info.hpp"

#include <windows.h>

#include <shlobj.h>

#include <gtest/gtest.h>

namespace ludrin::sysinfo {
namespace {

std::wstring ShellFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    return SUCCEEDED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))
               ? std::wstring(path)
               : std::wstring();
}

TEST(SpecialFoldersWin, ListHas46LinesAndTheUsersFolders) {
    TSysWindowsObject windows;
    const auto& list = windows.SystemFolders();
    ASSERT_EQ(list.Count(), 46u);
    for (std::size_t i = 0; i < list.Count(); ++i) {
        const std::wstring name = SpecialFolders()[i].name;
        EXPECT_EQ(list[i].substr(0, name.size() + 1), name + L"=") << i;
    }
    EXPECT_EQ(list[5], L"MyDocuments=" + ShellFolder(CSIDL_PERSONAL));
    EXPECT_EQ(list[12], L"DesktopDirectory=" + ShellFolder(CSIDL_DESKTOPDIRECTORY));
    EXPECT_EQ(list[22], L"AppData=" + ShellFolder(CSIDL_APPDATA));
    EXPECT_FALSE(ShellFolder(CSIDL_PERSONAL).empty());
    EXPECT_NE(ShellFolder(CSIDL_PERSONAL), ShellFolder(CSIDL_DESKTOPDIRECTORY));
    EXPECT_EQ(list.Values(L"mydocuments"), ShellFolder(CSIDL_PERSONAL));
    // A folder with no place in the file system gives an empty path.
    EXPECT_EQ(list[1], L"MyComputer=");
}

TEST(SpecialFoldersWin, TempDirIsTheLongFormOfTheTempPath) {
    wchar_t temp[MAX_PATH] = {};
    const DWORD length = GetTempPathW(MAX_PATH, temp);
    ASSERT_GT(length, 0u);
    wchar_t longForm[MAX_PATH] = {};
    ASSERT_GT(GetLongPathNameW(temp, longForm, MAX_PATH), 0u);

    const auto tempDir = TSysWindowsObject().TempDir();
    ASSERT_FALSE(tempDir.empty());
    EXPECT_EQ(tempDir.back(), L'\\');
    EXPECT_EQ(tempDir, std::wstring(longForm));
}

TEST(SpecialFoldersWin, ShortNamesOnDiskBecomeLongNames) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"Cartella con un nome lungo";
    CreateDirectoryW(folder.c_str(), nullptr);
    wchar_t shortForm[MAX_PATH] = {};
    ASSERT_GT(GetShortPathNameW((folder + L"\\").c_str(), shortForm, MAX_PATH), 0u);
    ASSERT_EQ(std::wstring(shortForm).find(L"Cartella con un nome lungo"), std::wstring::npos)
        << "no short name was made";

    // The temporary folder as the platform would hand it over with short components.
    const auto resolved = SIGetLongPathName(shortForm, StoredNameOnDisk);
    wchar_t longForm[MAX_PATH] = {};
    GetLongPathNameW(shortForm, longForm, MAX_PATH);
    EXPECT_EQ(resolved, std::wstring(longForm));
    EXPECT_TRUE(resolved.ends_with(L"\\Cartella con un nome lungo\\"));
    EXPECT_EQ(SIGetLongPathName(L"C:\\", StoredNameOnDisk), L"C:");
    EXPECT_EQ(
        SIGetLongPathName(std::wstring(temp) + L"missing\\NOT~1\\", StoredNameOnDisk),
        std::wstring(longForm).substr(0, std::wstring(longForm).size() -
                                             std::wstring(L"Cartella con un nome lungo\\").size()) +
            L"missing\\NOT~1\\");
    RemoveDirectoryW(folder.c_str());
}

} // namespace
} // namespace ludrin::sysinfo
