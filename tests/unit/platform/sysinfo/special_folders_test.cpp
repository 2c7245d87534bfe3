#include "platform/sysinfo/special_folder_list.hpp"
#include "platform/sysinfo/special_folders.hpp"
#include "platform/sysinfo/system_info.hpp"
#include "platform/text/utf.hpp"
#include "support/temp_dir.hpp"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace ludrin::sysinfo {
namespace {

using ludrin::testing::ScopedEnv;
using ludrin::testing::TempDir;

TEST(SpecialFolderTable, HasTheFixedNamesAndCodesInOrder) {
    const auto folders = SpecialFolders();
    ASSERT_EQ(folders.size(), 46u);
    for (std::size_t i = 0; i < folders.size(); ++i) {
        EXPECT_EQ(static_cast<std::size_t>(folders[i].kind), i);
        EXPECT_EQ(FolderCode(folders[i].kind), folders[i].code);
    }
    const struct {
        std::size_t position;
        const wchar_t* name;
        int code;
    } spots[] = {
        {0, L"Desktop", 0x00},      {5, L"MyDocuments", 0x05}, {12, L"DesktopDirectory", 0x10},
        {15, L"Internet", 0x01},    {22, L"AppData", 0x1A},    {25, L"CommonAltstartup", 0x1E},
        {36, L"MyDocuments", 0x0C}, {41, L"Profiles", 0x3E},   {45, L"System", 0x25}};
    for (const auto& spot : spots) {
        EXPECT_STREQ(folders[spot.position].name, spot.name);
        EXPECT_EQ(folders[spot.position].code, spot.code) << spot.position;
    }
    EXPECT_EQ(FolderCode(TSystemFolder::sfCustomFolder), 0x2C);
}

TEST(NameValueList, LookupRules) {
    NameValueList list;
    for (const auto* line : {L"Desktop=D:\\Desk", L"MyDocuments=C:\\Docs", L"Empty=",
                             L"Odd=C:\\a=b", L"MyDocuments=C:\\Second", L"MyDocumentsX=wrong"}) {
        list.Add(line);
    }
    const struct {
        const wchar_t* name;
        const wchar_t* value;
    } cases[] = {
        {L"MyDocuments", L"C:\\Docs"}, // first match wins
        {L"mydocuments", L"C:\\Docs"}, // case does not matter
        {L"MYDOCUMENTSX", L"wrong"},   // the name must be followed by "="
        {L"Odd", L"C:\\a=b"},          // a value holding "=" comes back whole
        {L"Empty", L""},
        {L"Missing", L""},
        {L"", L""},
        {L"Desk", L""}, // a prefix of a name is no match
    };
    for (const auto& c : cases) {
        EXPECT_EQ(list.Values(c.name), c.value) << text::WideToUtf8(c.name);
    }
}

TEST(SystemFolders, PosixBackendTakesTheXdgFolders) {
    TempDir home;
    ludrin::testing::WriteFile(home / ".config/user-dirs.dirs",
                               "# written by xdg-user-dirs-update\n"
                               "XDG_DESKTOP_DIR=\"$HOME/Scrivania\"\n"
                               "XDG_DOCUMENTS_DIR=\"/srv/docs=1/\"\n");
    ScopedEnv homeEnv("HOME", home.Path().string());
    ScopedEnv configEnv("XDG_CONFIG_HOME", "");
    ScopedEnv dataEnv("XDG_DATA_HOME", "relative/ignored");

    TSysWindowsObject windows;
    const auto& list = windows.SystemFolders();
    ASSERT_EQ(list.Count(), 46u);
    const auto homeText = text::Utf8ToWide(home.Path().string());
    EXPECT_EQ(list[5], L"MyDocuments=/srv/docs=1");
    EXPECT_EQ(list[12], L"DesktopDirectory=" + homeText + L"/Scrivania");
    EXPECT_EQ(list[22], L"AppData=" + homeText + L"/.local/share");
    EXPECT_EQ(list[1], L"MyComputer="); // no equivalent: empty path
    EXPECT_EQ(list.Values(L"MyDocuments"), L"/srv/docs=1");
    // Built once: a later change of the environment is not reflected.
    ScopedEnv otherHome("HOME", "/elsewhere");
    EXPECT_EQ(&windows.SystemFolders(), &list);
    EXPECT_EQ(windows.SystemFolders()[12], L"DesktopDirectory=" + homeText + L"/Scrivania");
}

// The list resolved line by line answers exactly as the eagerly filled one, whichever
// lines a lookup resolves first.
TEST(SystemFolders, ResolvedOnReadingAnswersAsTheFilledList) {
    TempDir home;
    ludrin::testing::WriteFile(home / ".config/user-dirs.dirs",
                               "XDG_DOCUMENTS_DIR=\"/srv/docs=1/\"\n");
    ScopedEnv homeEnv("HOME", home.Path().string());
    ScopedEnv configEnv("XDG_CONFIG_HOME", "");
    NameValueList reference;
    SISystemFolders(&reference);

    std::vector<std::wstring> names = {L"mydocuments",
                                       L"APPDATA",
                                       L"MyDocuments=/srv/docs",
                                       L"MyDocuments=/srv/docs=1",
                                       L"MyDocuments=",
                                       L"MyDoc",
                                       L"MyDocumentsX",
                                       L"Missing",
                                       L"",
                                       L"="};
    for (const auto& folder : SpecialFolders()) {
        names.emplace_back(folder.name);
    }
    const SpecialFolderList lookedUp;
    for (const auto& name : names) {
        EXPECT_EQ(lookedUp.Values(name), reference.Values(name)) << text::WideToUtf8(name);
    }
    const SpecialFolderList read;
    ASSERT_EQ(read.Count(), reference.Count());
    for (std::size_t i = read.Count(); i-- > 0;) { // backwards: no line relies on another
        EXPECT_EQ(read[i], reference[i]) << i;
    }
    EXPECT_THROW(read[read.Count()], std::out_of_range);
}

TEST(SystemFolders, WithoutAnyFolderEveryLineIsANameAndEquals) {
    ScopedEnv home("HOME", "");
    ScopedEnv data("XDG_DATA_HOME", "");
    ScopedEnv cache("XDG_CACHE_HOME", "");
    NameValueList list;
    SISystemFolders(&list);
    ASSERT_EQ(list.Count(), 46u);
    for (std::size_t i = 0; i < list.Count(); ++i) {
        EXPECT_EQ(list[i], std::wstring(SpecialFolders()[i].name) + L"=");
    }
    SISystemFolders(nullptr); // no list: nothing happens
}

TEST(TempPath, PosixTempFolderEndsWithSeparator) {
    {
        ScopedEnv tmp("TMPDIR", "/var/tmp");
        EXPECT_EQ(SITempPath(), L"/var/tmp/");
    }
    {
        ScopedEnv tmp("TMPDIR", "");
        EXPECT_EQ(SITempPath(), L"/tmp/");
    }
}

TEST(SystemInfo, AutoRetrieveBuildsTheListWhenLoaded) {
    TSysSystemInfo info;
    EXPECT_FALSE(info.Retrieved());
    info.Loaded();
    EXPECT_FALSE(info.Retrieved()); // AutoRetrieve is off by default
    info.AutoRetrieve = true;
    info.Loaded();
    EXPECT_TRUE(info.Retrieved());
}

} // namespace
} // namespace ludrin::sysinfo
