#include "platform/process/process_exists.hpp"
#include "platform/text/utf.hpp"
#include "support/running_program.hpp"
#include "support/temp_dir.hpp"

#include <gtest/gtest.h>

namespace ludrin::process {
namespace {

using ludrin::testing::ProcessNameLock;
using ludrin::testing::RunningProgram;
using ludrin::testing::TempDir;

TEST(ExecutableNameMatches, FileNamePartOrWholeTextAsciiCaseOnly) {
    const struct {
        const wchar_t* executable;
        const wchar_t* separators;
        bool matches;
    } cases[] = {
        {L"Ludrin.exe", L"\\:", true},
        {L"ludrin.EXE", L"\\:", true},
        {L"C:\\Programmi\\LUDRIN.exe", L"\\:", true},
        {L"C:Ludrin.exe", L"\\:", true},
        {L"/opt/player/Ludrin.exe", L"/", true},
        {L"Ludrin.exe.bak", L"\\:", false},
        {L"C:\\Ludrin.exe\\other.exe", L"\\:", false},
        {L"xLudrin.exe", L"\\:", false},
        {L"Ludrin.ex", L"\\:", false},
        {L"", L"\\:", false},
        // On POSIX a backslash is part of a file name, not a separator.
        {L"/opt/a\\Ludrin.exe", L"/", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExecutableNameMatches(c.executable, L"Ludrin.exe", c.separators), c.matches)
            << text::WideToUtf8(c.executable);
    }
    // The whole text counts too, and only the ASCII letters fold.
    EXPECT_TRUE(ExecutableNameMatches(L"C:\\X\\Ludrin.exe", L"c:\\x\\ludrin.exe", L"\\:"));
    EXPECT_FALSE(ExecutableNameMatches(L"L\u00FCdrin.exe", L"L\u00DCdrin.exe", L"/"));
    EXPECT_TRUE(ExecutableNameMatches(L"L\u00FCdrin.exe", L"l\u00FCDRIN.exe", L"/"));
}

class ProcessExistsTest : public ::testing::Test {
protected:
    ProcessNameLock lock_;
    TempDir dir_;
};

TEST_F(ProcessExistsTest, SeesARunningChildByItsExecutableName) {
    const struct {
        const char* runAs;
        const wchar_t* lookFor;
        bool found;
    } cases[] = {
        {"Ludrin.exe", L"Ludrin.exe", true},
        {"ludrin.EXE", L"Ludrin.exe", true},
        {"Ludrin.exe.bak", L"Ludrin.exe", false},
        // Longer than the kernel's 15-character process name.
        {"LudrinPlayerWithALongName.exe", L"ludrinplayerwithalongname.EXE", true},
        {"L\xC3\xBC"
         "drin.exe",
         L"L\u00DCdrin.exe", false},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(processExists(c.lookFor)) << "already running: " << c.runAs;
        RunningProgram program(dir_.Path() / "run", c.runAs);
        EXPECT_EQ(processExists(c.lookFor), c.found) << c.runAs;
        program.Stop();
        EXPECT_FALSE(processExists(c.lookFor)) << "still seen after it ended: " << c.runAs;
    }
}

TEST_F(ProcessExistsTest, SeesAProgramWhoseFileWasRemoved) {
    RunningProgram program(dir_.Path(), "Ludrin.exe");
    std::filesystem::remove(dir_ / "Ludrin.exe");
    EXPECT_TRUE(processExists(L"Ludrin.exe"));
}

} // namespace
} // namespace ludrin::process
