#include "platform/fs/held_file.hpp"
#include "platform/launch/shell_launch.hpp"
#include "support/test_arguments.hpp"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <vector>

namespace ludrin::launch {
namespace {

// A private folder holding a copy of the fixture under an installer's name.
class LaunchFolder : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        static int counter = 0;
        folder_ = std::wstring(temp) + L"ludrin-launch-test-" +
                  std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
        ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr));
        ASSERT_TRUE(CopyFileW(ludrin::testing::Argument(L"fixture").c_str(),
                              (folder_ + L"\\AviSynth_260.exe").c_str(), FALSE));
    }
    void TearDown() override {
        // A program's image may stay mapped for a while after it has ended (seconds on a
        // loaded machine under Wine); a folder left behind would fail later suites' checks.
        const ULONGLONG deadline = GetTickCount64() + 30'000;
        while (GetTickCount64() < deadline) {
            DeleteFileW((folder_ + L"\\AviSynth_260.exe").c_str());
            DeleteFileW((folder_ + L"\\launched.txt").c_str());
            DeleteFileW((folder_ + L"\\release.txt").c_str());
            if (RemoveDirectoryW(folder_.c_str())) {
                return;
            }
            Sleep(100);
        }
        ADD_FAILURE() << "the launch folder could not be removed in 30 s";
    }

    ShellLaunchRequest Request(const wchar_t* parameters) const {
        return {nullptr, L"runas", L"AviSynth_260.exe", parameters, folder_, SW_HIDE};
    }

    std::string Log() const {
        std::ifstream in(std::filesystem::path(folder_ + L"\\launched.txt"));
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    std::wstring folder_;
};

TEST_F(LaunchFolder, ElevatedLaunchRunsInTheFolderAndGivesTheExitCode) {
    auto process = ShellLaunch(Request(L"0 /S"));
    ASSERT_TRUE(process.Started());
    EXPECT_EQ(process.Wait(), 0u);
    EXPECT_NE(Log().find("AviSynth_260.exe"), std::string::npos) << Log();
    EXPECT_NE(Log().find(" 0 /S"), std::string::npos) << Log();
}

// The installer holds each codec installer from its write until it has ended: the
// program still starts, and while it runs no one can write, delete or rename its file.
TEST_F(LaunchFolder, AHeldProgramStartsAndCannotBeReplacedWhileItRuns) {
    const std::wstring image = folder_ + L"\\AviSynth_260.exe";
    std::ifstream in(std::filesystem::path(image), std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>()};
    in.close();
    auto held = fs::HeldFile::HoldWith(image, bytes);
    ASSERT_TRUE(held.has_value());
    // A file of other content is refused.
    EXPECT_FALSE(fs::HeldFile::HoldWith(image, std::span(bytes).first(bytes.size() - 1)));

    auto process = ShellLaunch(Request(L"0 /WAIT"));
    ASSERT_TRUE(process.Started());
    const HANDLE writer = CreateFileW(image.c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
    if (writer != INVALID_HANDLE_VALUE) {
        CloseHandle(writer);
    }
    EXPECT_FALSE(DeleteFileW(image.c_str()));
    EXPECT_FALSE(MoveFileExW(image.c_str(), (folder_ + L"\\moved.exe").c_str(), 0));
    EXPECT_FALSE(MoveFileExW((folder_ + L"\\launched.txt").c_str(), image.c_str(),
                             MOVEFILE_REPLACE_EXISTING));

    const HANDLE release = CreateFileW((folder_ + L"\\release.txt").c_str(), GENERIC_WRITE, 0,
                                       nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(release, INVALID_HANDLE_VALUE);
    CloseHandle(release);
    EXPECT_EQ(process.Wait(), 0u);
    held.reset();
    EXPECT_EQ(Log().find("/WAIT") != std::string::npos, true) << Log();
}

TEST_F(LaunchFolder, NonZeroExitCodeComesBack) {
    EXPECT_EQ(ShellLaunch(Request(L"7")).Wait(), 7u);
}

TEST_F(LaunchFolder, AMissingProgramDoesNotStart) {
    ShellLaunchRequest request = Request(L"");
    request.file = L"LAVFilters-0.75.0-2.exe";
    EXPECT_FALSE(ShellLaunch(request).Started());
}

TEST_F(LaunchFolder, TheOwnerKeepsPaintingAndIsEnabledAgainAfterTheWait) {
    const HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                       nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(owner, nullptr);
    ShellLaunchRequest request = Request(L"0");
    request.owner = owner;
    auto process = ShellLaunch(request);
    ASSERT_TRUE(process.Started());
    EXPECT_EQ(process.Wait(), 0u);
    EXPECT_TRUE(IsWindowEnabled(owner));
    DestroyWindow(owner);
}

// Keys typed during the wait must not reach a button of the disabled owner: the focus
// leaves it, and comes back once the wait is over.
HWND g_focusDuringWait = nullptr;

TEST_F(LaunchFolder, NoChildOfTheOwnerKeepsTheKeyboardDuringTheWait) {
    const HWND owner =
        CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100,
                        nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(owner, nullptr);
    const HWND button =
        CreateWindowExW(0, L"BUTTON", L"go", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 50, 20,
                        owner, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetForegroundWindow(owner);
    SetFocus(button);
    ASSERT_EQ(GetFocus(), button);

    g_focusDuringWait = button;
    const UINT_PTR timer = SetTimer(nullptr, 0, 1, [](HWND, UINT, UINT_PTR, DWORD) {
        if (g_focusDuringWait != nullptr) {
            g_focusDuringWait = GetFocus();
        }
    });
    ShellLaunchRequest request = Request(L"0");
    request.owner = owner;
    auto process = ShellLaunch(request);
    ASSERT_TRUE(process.Started());
    EXPECT_EQ(process.Wait(), 0u);
    KillTimer(nullptr, timer);

    EXPECT_TRUE(g_focusDuringWait == nullptr || !IsChild(owner, g_focusDuringWait));
    EXPECT_EQ(GetFocus(), button);
    DestroyWindow(owner);
}

} // namespace
} // namespace ludrin::launch
