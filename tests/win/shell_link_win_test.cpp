// The shortcut component against the platform's own shell-link object, and our portable
// shortcut format crossed with it both ways: files that one side writes, the other reads.

#include "bytes/byte_reader.hpp"
#include "platform/shelllink/lnk_format.hpp"
#include "platform/shelllink/shell_link.hpp"

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
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
    std::wstring path, arguments, workingDirectory, description, iconLocation;
    int iconIndex = 0, showCommand = 0;
    WORD hotKey = 0;
};

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
        wchar_t buffer[MAX_PATH] = {};
        link->GetPath(buffer, MAX_PATH, nullptr, 0);
        view.path = buffer;
        buffer[0] = 0;
        link->GetArguments(buffer, MAX_PATH);
        view.arguments = buffer;
        buffer[0] = 0;
        link->GetWorkingDirectory(buffer, MAX_PATH);
        view.workingDirectory = buffer;
        buffer[0] = 0;
        link->GetDescription(buffer, MAX_PATH);
        view.description = buffer;
        buffer[0] = 0;
        link->GetIconLocation(buffer, MAX_PATH, &view.iconIndex);
        view.iconLocation = buffer;
        link->GetShowCmd(&view.showCommand);
        link->GetHotkey(&view.hotKey);
        persist->Release();
    }
    link->Release();
    return view;
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

// The show command as stored in a shortcut's header, read without any shortcut reader.
std::uint32_t StoredShowCommand(const Bytes& bytes) {
    return bytes::ByteReader(bytes).U32At(0x3C, "show command");
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
    int showCommand;
};

class SavedByThePlatform : public ShortcutFolder,
                           public ::testing::WithParamInterface<RunAsCase> {};

TEST_P(SavedByThePlatform, ReadsBackTheSameFieldsThroughEveryReader) {
    TslShellLink written;
    FillAll(written);
    written.RunAs = GetParam().runAs;
    ASSERT_TRUE(written.SaveToFile(shortcut_));

    // The platform's own getters.
    const PlatformView view = ReadWithPlatform(shortcut_);
    ASSERT_EQ(view.loaded, S_OK);
    EXPECT_EQ(view.path, target_);
    EXPECT_EQ(view.workingDirectory, player_);
    EXPECT_EQ(view.arguments, written.Parameters);
    EXPECT_EQ(view.description, written.ShortDescription);
    EXPECT_EQ(view.iconLocation, written.IconLocation);
    EXPECT_EQ(view.iconIndex, 3);
    EXPECT_EQ(view.hotKey, 0x0374); // key 0x74, flags Shift | Control
    const Bytes bytes = ReadBytes(shortcut_);
    EXPECT_EQ(StoredShowCommand(bytes), static_cast<std::uint32_t>(GetParam().showCommand));
    if (!LoadIgnoresTheStoredShowCommand()) {
        EXPECT_EQ(view.showCommand, GetParam().showCommand);
    }

    // The component reading it back.
    TslShellLink read;
    read.HotKey = scAlt | 'Q';
    ASSERT_TRUE(read.LoadFromFile(shortcut_));
    EXPECT_EQ(read.LinkTarget, target_);
    EXPECT_EQ(read.WorkingDirectory, player_);
    EXPECT_EQ(read.Parameters, written.Parameters);
    EXPECT_EQ(read.ShortDescription, written.ShortDescription);
    EXPECT_EQ(read.IconLocation, written.IconLocation);
    EXPECT_EQ(read.IconIndex, 3);
    // The component takes the show command from the platform's getter, as it answers.
    EXPECT_EQ(read.RunAs, RunAsOf(static_cast<std::uint32_t>(view.showCommand)));
    if (!LoadIgnoresTheStoredShowCommand()) {
        EXPECT_EQ(read.RunAs, GetParam().runAs);
    }
    EXPECT_EQ(read.HotKey, written.HotKey);
    EXPECT_FALSE(read.LargeIcon().Empty());
    EXPECT_FALSE(read.SmallIcon().Empty());

    // Our portable reader on the platform's bytes.
    const lnk::ShellLinkData data = lnk::ReadShellLink(bytes);
    EXPECT_EQ(data.target, target_);
    EXPECT_EQ(data.workingDirectory, player_);
    EXPECT_EQ(data.arguments, written.Parameters);
    EXPECT_EQ(data.description, written.ShortDescription);
    EXPECT_EQ(data.iconLocation, written.IconLocation);
    EXPECT_EQ(data.iconIndex, 3);
    EXPECT_EQ(data.showCommand, static_cast<std::uint32_t>(GetParam().showCommand));
    EXPECT_EQ(data.hotKey, 0x0374);
}

INSTANTIATE_TEST_SUITE_P(RunAs, SavedByThePlatform,
                         ::testing::Values(RunAsCase{TslShellLinkRunAs::raNormal, 1},
                                           RunAsCase{TslShellLinkRunAs::raMaximized, 3},
                                           RunAsCase{TslShellLinkRunAs::raMinimized, 7}));

TEST_F(ShortcutFolder, TheInstallersShortcutCarriesEmptyTextsAndDefaults) {
    TslShellLink link;
    link.LinkTarget = target_;
    link.WorkingDirectory = player_;
    ASSERT_TRUE(link.SaveToFile(shortcut_));
    const PlatformView view = ReadWithPlatform(shortcut_);
    ASSERT_EQ(view.loaded, S_OK);
    EXPECT_EQ(view.path, target_);
    EXPECT_EQ(view.workingDirectory, player_);
    EXPECT_EQ(view.arguments, L"");
    EXPECT_EQ(view.description, L"");
    EXPECT_EQ(view.iconLocation, L"");
    EXPECT_EQ(view.iconIndex, 0);
    EXPECT_EQ(view.showCommand, 1);
    EXPECT_EQ(view.hotKey, 0);

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

    const PlatformView view = ReadWithPlatform(shortcut_);
    EXPECT_EQ(view.arguments, L"/altro");
    EXPECT_EQ(view.description, L"");
    EXPECT_EQ(view.workingDirectory, L"");
    EXPECT_EQ(view.hotKey, 0);
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
    EXPECT_EQ(link.LinkTarget, L"");
    EXPECT_EQ(link.WorkingDirectory, L"");
    EXPECT_EQ(link.Parameters, L"");
    EXPECT_EQ(link.ShortDescription, L"");
    EXPECT_EQ(link.IconLocation, L"");
    EXPECT_EQ(link.IconIndex, 0);
    EXPECT_EQ(link.HotKey, 0);
    EXPECT_EQ(link.RunAs, TslShellLinkRunAs::raNormal);
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
        EXPECT_EQ(view.path, c.data.target);
        EXPECT_EQ(view.arguments, c.data.arguments);
        EXPECT_EQ(view.workingDirectory, c.data.workingDirectory);
        EXPECT_EQ(view.description, c.data.description);
        EXPECT_EQ(view.iconLocation, c.data.iconLocation);
        EXPECT_EQ(view.iconIndex, c.data.iconIndex);
        if (!LoadIgnoresTheStoredShowCommand()) {
            EXPECT_EQ(view.showCommand, static_cast<int>(c.data.showCommand));
        }
        EXPECT_EQ(view.hotKey, c.data.hotKey);

        TslShellLink read;
        ASSERT_TRUE(read.LoadFromFile(shortcut_));
        EXPECT_EQ(read.LinkTarget, c.data.target);
        EXPECT_EQ(read.HotKey, HotKeyToShortCut(c.data.hotKey));
    }
}

} // namespace
} // namespace ludrin::shelllink
