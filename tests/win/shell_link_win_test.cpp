// The shortcut component against the platform's own shell-link object, and our portable
// shortcut format crossed with it both ways: files that one side writes, the other reads.

#include "platform/shelllink/lnk_format.hpp"
#include "platform/shelllink/shell_link.hpp"
#include "support/shell_link_data_print.hpp"

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <thread>
#include <vector>

namespace ludrin::shelllink {
namespace {

namespace stdfs = std::filesystem;
using ::testing::HasSubstr;
using Bytes = std::vector<std::uint8_t>;

// As the installer's start-up does: the test thread is a single-threaded apartment.
class ComApartment : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_EQ(CoInitialize(nullptr), S_OK); }
    void TearDown() override { CoUninitialize(); }
};
const auto* const kApartment = ::testing::AddGlobalTestEnvironment(new ComApartment);

// What the platform's shell-link object reads from a file, through its own getters.
struct PlatformView {
    HRESULT loaded = E_FAIL;
    lnk::ShellLinkData data;
};

std::wstring GetText(const std::function<HRESULT(wchar_t*, int)>& getter) {
    wchar_t buffer[MAX_PATH] = {};
    getter(buffer, MAX_PATH);
    return buffer;
}

PlatformView ReadWithPlatform(const std::wstring& file) {
    PlatformView view;
    IShellLinkW* link = nullptr;
    IPersistFile* persist = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link)))) {
        return view;
    }
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)))) {
        view.loaded = persist->Load(file.c_str(), STGM_READ);
        auto& data = view.data;
        data.target = GetText([&](wchar_t* b, int n) { return link->GetPath(b, n, nullptr, 0); });
        data.arguments = GetText([&](wchar_t* b, int n) { return link->GetArguments(b, n); });
        data.workingDirectory =
            GetText([&](wchar_t* b, int n) { return link->GetWorkingDirectory(b, n); });
        data.description = GetText([&](wchar_t* b, int n) { return link->GetDescription(b, n); });
        int iconIndex = 0;
        data.iconLocation =
            GetText([&](wchar_t* b, int n) { return link->GetIconLocation(b, n, &iconIndex); });
        data.iconIndex = iconIndex;
        int showCommand = 0;
        link->GetShowCmd(&showCommand);
        data.showCommand = static_cast<std::uint32_t>(showCommand);
        link->GetHotkey(&data.hotKey);
        persist->Release();
    }
    link->Release();
    return view;
}

// The component's fields as a shortcut file holds them.
lnk::ShellLinkData FieldsOf(const TslShellLink& link) {
    return {link.LinkTarget,           link.Parameters,
            link.WorkingDirectory,     link.ShortDescription,
            link.IconLocation,         link.IconIndex,
            ShowCommandOf(link.RunAs), ShortCutToHotKey(link.HotKey)};
}

Bytes ReadBytes(const std::wstring& file) {
    std::ifstream in(stdfs::path(file), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::wstring& file, const Bytes& bytes) {
    std::ofstream out(stdfs::path(file), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// Wine's shell-link object keeps the show command it is given and saves it, but its Load
// leaves the show command at SW_SHOWNORMAL whatever the file holds.
bool LoadIgnoresTheStoredShowCommand() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// The fields that the platform's getters give for a file holding `stored`.
lnk::ShellLinkData AsThePlatformLoadsIt(lnk::ShellLinkData stored) {
    if (LoadIgnoresTheStoredShowCommand()) {
        stored.showCommand = 1;
    }
    return stored;
}

std::wstring SystemFile(const wchar_t* name) {
    wchar_t folder[MAX_PATH] = {};
    GetSystemDirectoryW(folder, MAX_PATH);
    return std::wstring(folder) + L"\\" + name;
}

// A private folder with a player folder and its start program, as the installer leaves them.
class ShortcutFolder : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        static int counter = 0;
        folder_ = std::wstring(temp) + L"ludrin-shortcut-test-" +
                  std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
        player_ = folder_ + L"\\Funzionalit\u00E0 Ludrin";
        target_ = player_ + L"\\LUD.exe";
        ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW(player_.c_str(), nullptr));
        ASSERT_TRUE(CopyFileW(SystemFile(L"notepad.exe").c_str(), target_.c_str(), FALSE));
        shortcut_ = folder_ + L"\\Ludrin 4.lnk";
    }
    void TearDown() override { stdfs::remove_all(stdfs::path(folder_)); }

    // Every field set, none to its default.
    void FillAll(TslShellLink& link) const {
        link.LinkTarget = target_;
        link.WorkingDirectory = player_;
        link.Parameters = L"/brano \"Canzone d'estate.mp3\"";
        link.ShortDescription = L"Ludrin \u00E8 il lettore \u20AC";
        link.IconLocation = SystemFile(L"shell32.dll");
        link.IconIndex = 3;
        link.HotKey = scCtrl | scShift | 0x74;
    }

    std::wstring folder_, player_, target_, shortcut_;
};

struct RunAsCase {
    TslShellLinkRunAs runAs;
    std::uint32_t showCommand;
};

class SavedByThePlatform : public ShortcutFolder,
                           public ::testing::WithParamInterface<RunAsCase> {};

TEST_P(SavedByThePlatform, ReadsBackTheSameFieldsThroughEveryReader) {
    TslShellLink written;
    FillAll(written);
    written.RunAs = GetParam().runAs;
    ASSERT_TRUE(written.SaveToFile(shortcut_));
    lnk::ShellLinkData expected = FieldsOf(written);
    ASSERT_EQ(expected.hotKey, 0x0374); // key 0x74, flags Shift | Control
    ASSERT_EQ(expected.showCommand, GetParam().showCommand);

    // The platform's bytes, read by our portable reader.
    EXPECT_EQ(lnk::ReadShellLink(ReadBytes(shortcut_)), expected);
    // The platform's own getters, and the component reading through them.
    const PlatformView view = ReadWithPlatform(shortcut_);
    ASSERT_EQ(view.loaded, S_OK);
    EXPECT_EQ(view.data, AsThePlatformLoadsIt(expected));
    TslShellLink read;
    read.HotKey = scAlt | 'Q';
    ASSERT_TRUE(read.LoadFromFile(shortcut_));
    EXPECT_EQ(FieldsOf(read), AsThePlatformLoadsIt(expected));
    EXPECT_FALSE(read.LargeIcon().Empty());
    EXPECT_FALSE(read.SmallIcon().Empty());
}

INSTANTIATE_TEST_SUITE_P(RunAs, SavedByThePlatform,
                         ::testing::Values(RunAsCase{TslShellLinkRunAs::raNormal, 1u},
                                           RunAsCase{TslShellLinkRunAs::raMaximized, 3u},
                                           RunAsCase{TslShellLinkRunAs::raMinimized, 7u}));

TEST_F(ShortcutFolder, TheInstallersShortcutCarriesEmptyTextsAndDefaults) {
    TslShellLink link;
    link.LinkTarget = target_;
    link.WorkingDirectory = player_;
    ASSERT_TRUE(link.SaveToFile(shortcut_));
    const PlatformView view = ReadWithPlatform(shortcut_);
    ASSERT_EQ(view.loaded, S_OK);
    EXPECT_EQ(view.data, (lnk::ShellLinkData{target_, L"", player_, L"", L"", 0, 1, 0}));

    // Without an icon location the icons are the target's own.
    TslShellLink read;
    ASSERT_TRUE(read.LoadFromFile(shortcut_));
    EXPECT_FALSE(read.LargeIcon().Empty());
    EXPECT_FALSE(read.SmallIcon().Empty());
}

TEST_F(ShortcutFolder, SavingOverAShortcutReplacesIt) {
    TslShellLink link;
    FillAll(link);
    ASSERT_TRUE(link.SaveToFile(shortcut_));
    TslShellLink second;
    second.LinkTarget = target_;
    second.Parameters = L"/altro";
    ASSERT_TRUE(second.SaveToFile(shortcut_));

    EXPECT_EQ(ReadWithPlatform(shortcut_).data, FieldsOf(second));
}

TEST_F(ShortcutFolder, ARefusedSetterWritesNothingAndAnswersFalse) {
    TslShellLink link;
    FillAll(link);
    ASSERT_TRUE(link.SaveToFile(shortcut_));
    const Bytes before = ReadBytes(shortcut_);

    // The shell-link object refuses a target that does not exist.
    TslShellLink refused;
    FillAll(refused);
    refused.LinkTarget = player_ + L"\\assente.exe";
    EXPECT_FALSE(refused.SaveToFile(shortcut_));
    EXPECT_EQ(ReadBytes(shortcut_), before);
    EXPECT_FALSE(refused.SaveToFile(folder_ + L"\\nuovo.lnk"));
    EXPECT_FALSE(stdfs::exists(stdfs::path(folder_ + L"\\nuovo.lnk")));
}

TEST_F(ShortcutFolder, SavingChangesNoFieldSoTwoSavesWriteTheSameShortcut) {
    TslShellLink link;
    FillAll(link);
    link.RunAs = TslShellLinkRunAs::raMaximized;
    ASSERT_TRUE(link.SaveToFile(shortcut_));
    EXPECT_EQ(link.FILENAME(), L"");
    EXPECT_EQ(link.HotKey, scCtrl | scShift | 0x74);
    EXPECT_EQ(link.RunAs, TslShellLinkRunAs::raMaximized);
    ASSERT_TRUE(link.SaveToFile(folder_ + L"\\second.lnk"));
    EXPECT_EQ(lnk::ReadShellLink(ReadBytes(shortcut_)),
              lnk::ReadShellLink(ReadBytes(folder_ + L"\\second.lnk")));
}

TEST_F(ShortcutFolder, LoadingAMissingFileResetsEveryFieldAndAnswersFalse) {
    TslShellLink link;
    FillAll(link);
    link.RunAs = TslShellLinkRunAs::raMinimized;
    ASSERT_TRUE(link.SaveToFile(shortcut_));
    ASSERT_TRUE(link.LoadFromFile(shortcut_));
    ASSERT_FALSE(link.LargeIcon().Empty());

    EXPECT_FALSE(link.LoadFromFile(folder_ + L"\\assente.lnk"));
    EXPECT_EQ(FieldsOf(link), FieldsOf(TslShellLink()));
    EXPECT_TRUE(link.LargeIcon().Empty());
    EXPECT_TRUE(link.SmallIcon().Empty());
}

TEST_F(ShortcutFolder, WithoutComOnTheThreadSavingRaisesNamingTheClass) {
    TslShellLink link;
    FillAll(link);
    std::string message;
    bool raised = false;
    std::thread([&] {
        try {
            link.SaveToFile(shortcut_);
        } catch (const EOleSysError& error) {
            raised = true;
            message = error.what();
        }
    }).join();
    EXPECT_TRUE(raised);
    EXPECT_THAT(message, HasSubstr(", ClassID: {00021401-0000-0000-C000-000000000046}"));
    EXPECT_NE(message.find(", ClassID: "), 0u) << "the platform's text comes first";
    EXPECT_FALSE(stdfs::exists(stdfs::path(shortcut_)));
}

// Our own writer's bytes, as the POSIX build writes them, opened by the platform.
TEST_F(ShortcutFolder, ThePlatformReadsOurWritersShortcut) {
    struct Case {
        const char* name;
        lnk::ShellLinkData data;
    };
    const Case cases[] = {
        {"every field",
         {target_, L"/brano \"a b.mp3\"", player_, L"Ludrin \u00E8 il lettore \u20AC",
          SystemFile(L"shell32.dll"), -2, 7, 0x0374}},
        {"the installer's shortcut", {target_, L"", player_, L"", L"", 0, 1, 0}},
        {"maximized with Alt", {target_, L"x", L"", L"", L"", 0, 3, 0x0441}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(shortcut_, lnk::WriteShellLink(c.data));
        const PlatformView view = ReadWithPlatform(shortcut_);
        ASSERT_EQ(view.loaded, S_OK);
        EXPECT_EQ(view.data, AsThePlatformLoadsIt(c.data));
        TslShellLink read;
        ASSERT_TRUE(read.LoadFromFile(shortcut_));
        EXPECT_EQ(FieldsOf(read), AsThePlatformLoadsIt(c.data));
    }
}

} // namespace
} // namespace ludrin::shelllink
