// A disk that fills up while the installer writes: a file system of its own, a few KiB
// large (or, where it cannot be mounted, a file size limit that fails the same writes).
// Every operation says it failed, leaves no file cut short, and keeps what was there.

#include "support/small_volume.hpp"
#include "support/temp_dir.hpp"
#include "support/zip_writer.hpp"
#include "unit/app/operation_test.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace ludrin::app {
namespace {

namespace stdfs = std::filesystem;
using ludrin::testing::MakeEntry;
using ludrin::testing::ReadFile;
using ludrin::testing::SmallVolume;
using ludrin::testing::Wide;
using ludrin::testing::WriteFile;

constexpr std::size_t kVolumeKiB = 64;

class FullDiskTest : public testing::OperationTest {
protected:
    // `folder` becomes a full-to-be disk of its own.
    void MakeSmall(const stdfs::path& folder) {
        stdfs::remove_all(folder);
        volume_.emplace(folder, kVolumeKiB);
        if (!volume_->Mounted()) {
            limit_.emplace(kVolumeKiB * 1024); // no mount here: the same writes fail
        }
    }

    // Every regular file below `root` with its content.
    static std::map<std::string, std::string> Files(const stdfs::path& root) {
        std::map<std::string, std::string> files;
        for (const auto& entry : stdfs::recursive_directory_iterator(root)) {
            if (entry.is_regular_file()) {
                files[entry.path().lexically_relative(root).generic_string()] =
                    ReadFile(entry.path());
            }
        }
        return files;
    }

    void TearDown() override {
        limit_.reset();
        volume_.reset();
    }

    std::optional<SmallVolume> volume_;
    std::optional<testing::FileSizeLimit> limit_;
};

// The payload archive's large entry does not fit the shared library folder's disk.
TEST_F(FullDiskTest, BaseInstallationOnAFullDiskFailsAndLeavesNoPartFile) {
    MakeSmall(home_ / "AppData");
    WriteFile(home_ / "AppData" / "neighbour.txt", "not ours");
    const std::map<std::string, std::string> entries = {
        {"brvdll/bass.dll", "MZ small"},
        {"brvdll/Tarnwell.dll", ludrin::testing::RandomBytes(200000, 1)},
        {"brvdll/after.dll", "after"}};
    ludrin::testing::ZipArchivePlan spec;
    for (const auto& [name, data] : entries) {
        spec.entries.push_back(MakeEntry(name, data));
    }
    Store(kSlotPayloadArchive, ludrin::testing::WriteZip(spec));
    Store(kSlotStartProgram, "start program");
    Store(kSlotPlayer, "player program");

    form_.btnInstallaBaseClick();
    limit_.reset();
    ExpectOnlyMessage(kBaseFailed);
    // What is on the disk is whole: the neighbour, and entries written completely.
    for (const auto& [name, content] : Files(home_ / "AppData")) {
        if (name == "neighbour.txt") {
            EXPECT_EQ(content, "not ours");
        } else {
            ASSERT_TRUE(entries.contains(name)) << name;
            EXPECT_EQ(content, entries.at(name)) << name;
        }
    }
    EXPECT_FALSE(stdfs::exists(home_ / "AppData" / "brvdll" / "Tarnwell.dll"));
    ExpectTempFolderEmpty();
}

// The store writes a file that does not fit: false, and nothing of it stays.
TEST_F(FullDiskTest, StoreExtractionOnAFullDiskAnswersFalseAndLeavesNothing) {
    const auto disk = home_ / "disk";
    MakeSmall(disk);
    WriteFile(disk / "keep.txt", "keep");
    Store(kSlotPlayer, std::string(kVolumeKiB * 1024 * 2, 'p'));
    EXPECT_FALSE(form_.stFileStorage.Extract(static_cast<std::int32_t>(kSlotPlayer),
                                             Wide(disk / "Ludrin.exe")));
    limit_.reset();
    EXPECT_FALSE(stdfs::exists(disk / "Ludrin.exe"));
    EXPECT_EQ(ReadFile(disk / "keep.txt"), "keep");
}

} // namespace
} // namespace ludrin::app
