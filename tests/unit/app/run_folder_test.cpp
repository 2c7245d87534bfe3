// The run folders in the temporary folder: what a killed run left goes at start-up, and a
// folder that a running process may still use never does.

#include "app/run_folder.hpp"
#include "support/temp_dir.hpp"

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace ludrin::app {
namespace {

namespace stdfs = std::filesystem;
using ludrin::testing::TempDir;
using ludrin::testing::Wide;
using ludrin::testing::WriteFile;

// The id of a process that has ended and been reaped.
pid_t EndedProcessId() {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return child;
}

TEST(RunFolder, AbandonedFoldersGoAndLiveOnesStay) {
    TempDir temp;
    TempDir outside;
    WriteFile(outside / "keep.txt", "not the installer's");
    const std::string dead = std::to_string(EndedProcessId());
    const std::string self = std::to_string(::getpid());
    const std::string parent = std::to_string(::getppid());
    const std::string hex = "0123456789abcdef";

    enum class Kind { Folder, File, Link };
    const struct {
        std::string name;
        Kind kind;
        bool goes;
    } cases[] = {
        {"ludrin-run-" + dead + "-" + hex, Kind::Folder, true},
        {"ludrin-run-" + dead + "-fedcba9876543210", Kind::Link, true}, // never its target
        {"ludrin-run-" + self + "-" + hex, Kind::Folder, false},
        {"ludrin-run-" + parent + "-" + hex, Kind::Folder, false},
        {"ludrin-run-" + dead + "-" + hex.substr(1), Kind::Folder, false},
        {"ludrin-run-" + dead + "-0123456789ABCDEF", Kind::Folder, false},
        {"ludrin-run--" + hex, Kind::Folder, false},
        {"ludrin-run-99999999999-" + hex, Kind::Folder, false}, // beyond any process id
        {"ludrin-run-" + dead + "-ffffffffffffffff", Kind::File, false},
        {"ludrin-" + hex, Kind::Folder, false},
        {"brvdll.zip", Kind::File, false},
    };
    for (const auto& c : cases) {
        const auto path = temp / c.name;
        switch (c.kind) {
        case Kind::Folder:
            WriteFile(path / "brvdll.zip", "archive");
            break;
        case Kind::File:
            WriteFile(path, "file");
            break;
        case Kind::Link:
            stdfs::create_directory_symlink(outside.Path(), path);
            break;
        }
    }
    RunFolder::RemoveAbandoned(Wide(temp.Path()));
    for (const auto& c : cases) {
        EXPECT_EQ(stdfs::exists(stdfs::symlink_status(temp / c.name)), !c.goes) << c.name;
    }
    EXPECT_EQ(testing::ReadFile(outside / "keep.txt"), "not the installer's");
}

TEST(RunFolder, AFolderOfThisRunIsNamedForItAndOutlivesTheCleanUp) {
    TempDir temp;
    const auto folder = RunFolder::Create(Wide(temp.Path()));
    ASSERT_TRUE(folder);
    const auto name = stdfs::path(folder->Path()).filename().string();
    EXPECT_TRUE(name.starts_with("ludrin-run-" + std::to_string(::getpid()) + "-")) << name;
    RunFolder::RemoveAbandoned(Wide(temp.Path()));
    EXPECT_TRUE(stdfs::is_directory(folder->Path()));
}

} // namespace
} // namespace ludrin::app
