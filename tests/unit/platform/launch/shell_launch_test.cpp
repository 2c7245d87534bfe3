#include "platform/launch/shell_launch.hpp"
#include "support/temp_dir.hpp"

#include <gtest/gtest.h>

namespace ludrin::launch {
namespace {

using ludrin::testing::ReadFile;
using ludrin::testing::TempDir;
using ludrin::testing::WriteFile;

ShellLaunchRequest Request(const TempDir& dir, const wchar_t* file, const wchar_t* parameters) {
    ShellLaunchRequest request;
    request.verb = L"runas";
    request.file = file;
    request.parameters = parameters;
    request.folder = dir.Path().wstring();
    return request;
}

TEST(ShellLaunch, RunsTheProgramFromItsFolderWithTheParameters) {
    TempDir dir;
    // Written without an execute bit, as the store writes programs.
    WriteFile(dir / "setup.exe",
              "#!/bin/sh\necho \"$(basename \"$0\") $*\" > \"$PWD/ran.txt\"\nexit 0\n");
    auto process = ShellLaunch(Request(dir, L"setup.exe", L"/SP- /VERYSILENT  /NORESTART"));
    ASSERT_TRUE(process.Started());
    EXPECT_EQ(process.Wait(), 0u);
    EXPECT_EQ(ReadFile(dir / "ran.txt"), "setup.exe /SP- /VERYSILENT /NORESTART\n");
    EXPECT_EQ(process.Wait(), std::nullopt); // awaited once
}

TEST(ShellLaunch, ReportsExitCodesAndFailedStarts) {
    TempDir dir;
    WriteFile(dir / "fails.exe", "#!/bin/sh\nexit 3\n");
    WriteFile(dir / "garbage.exe", std::string("\x7F\x01\x02 not a program", 17));
    EXPECT_EQ(ShellLaunch(Request(dir, L"fails.exe", L"/S")).Wait(), 3u);
    EXPECT_FALSE(ShellLaunch(Request(dir, L"garbage.exe", L"/S")).Started());
    EXPECT_FALSE(ShellLaunch(Request(dir, L"missing.exe", L"/S")).Started());
    EXPECT_FALSE(ShellLaunch(Request(dir, L"", L"")).Started()); // the folder itself
}

TEST(ShellLaunch, AMovedProcessIsAwaitedOnce) {
    TempDir dir;
    WriteFile(dir / "ok.exe", "#!/bin/sh\nexit 0\n");
    auto first = ShellLaunch(Request(dir, L"ok.exe", L""));
    LaunchedProcess second = std::move(first);
    EXPECT_FALSE(first.Started()); // NOLINT(bugprone-use-after-move): moved-from is empty
    EXPECT_EQ(second.Wait(), 0u);
}

} // namespace
} // namespace ludrin::launch
