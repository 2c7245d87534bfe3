// Archives made to harm, extracted with the installer's settings, every failure answered
// Ignore so that each entry is tried: whatever they hold, nothing is written outside the
// base folder, nothing is written as a link, no file grows past what its entry declares,
// and every entry ends extracted, skipped or failed.

#include "unit/zip/extract_test_util.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

namespace ludrin::zip {
namespace {

using namespace test;
using ludrin::testing::MakeEntry;
using ludrin::testing::TextBytes;
using ludrin::testing::ZipArchivePlan;
using ludrin::testing::ZipEntryPlan;

constexpr std::uint32_t kInstallerAttr = 10431;

// A Unix symbolic link as zip stores one: the link's text as content, S_IFLNK in the high
// half of the external attributes, made on Unix.
ZipEntryPlan UnixLink(const std::string& name, const std::string& target) {
    ZipEntryPlan entry = MakeEntry(name, target, 0);
    entry.versionMadeBy = 0x031E;
    entry.externalAttr = 0120777u << 16;
    return entry;
}

ZipEntryPlan Declaring(ZipEntryPlan entry, std::uint32_t size) {
    entry.declaredSize = size;
    return entry;
}

std::string Repeat(const std::string& part, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) {
        out += part;
    }
    return out;
}

struct HostileCase {
    const char* name;
    std::function<ZipArchivePlan()> archive;
    std::uint64_t largestFile; // no written file may be longer
    // Checks of the outcome beyond the common ones; may be empty.
    std::function<void(const std::filesystem::path& base, const ZipBatchResult&)> check;
};

void ExpectOnlyBelowBase(const ExtractFixture& fx) {
    for (const auto& path : Tree(fx.temp.Path())) {
        EXPECT_TRUE(path == "archive.zip" || path.starts_with("out/")) << path;
    }
}

class HostileArchive : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileArchive, NothingEscapesAndNothingOutgrowsItsEntry) {
    ExtractFixture fx;
    RecordingArchiver archiver;
    fx.Open(archiver, GetParam().archive());
    archiver.answers.assign(archiver.Count() * 4, TZipAction::fxaIgnore);
    archiver.OnConfirmOverwrite = [](TZipBaseArchiver&, const std::wstring&, std::wstring&,
                                     bool& confirm) {
        confirm = true;
    };
    archiver.ExtractFiles(L"*.*", kInstallerAttr);
    const ZipBatchResult batch = archiver.LastBatch();

    ExpectOnlyBelowBase(fx);
    EXPECT_FALSE(batch.aborted);
    EXPECT_LE(batch.extracted + batch.skipped, batch.tagged);
    if (std::filesystem::exists(fx.base())) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(fx.base())) {
            EXPECT_FALSE(entry.is_symlink()) << entry.path();
            if (entry.is_regular_file()) {
                EXPECT_LE(entry.file_size(), GetParam().largestFile) << entry.path();
            }
        }
    }
    if (GetParam().check) {
        GetParam().check(fx.base(), batch);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Archives, HostileArchive,
    ::testing::Values(
        HostileCase{"alternate_data_stream",
                    [] {
                        return Entries({MakeEntry("a.txt", "a"), MakeEntry("a.txt:evil", "x")});
                    },
                    1,
                    [](const auto& base, const ZipBatchResult& batch) {
                        EXPECT_EQ(Tree(base), std::vector<std::string>{"a.txt"});
                        EXPECT_EQ(batch.failed, 1u);
                    }},
        HostileCase{"nul_inside_the_name",
                    [] {
                        return Entries({MakeEntry(std::string("a.txt\0/../../x", 14), "x"),
                                        MakeEntry("b.txt", "b")});
                    },
                    1,
                    [](const auto& base, const ZipBatchResult&) {
                        for (const auto& path : Tree(base)) {
                            EXPECT_TRUE(path == "b.txt" || path == "a.txt") << path;
                        }
                    }},
        HostileCase{"unix_symbolic_links",
                    [] {
                        return Entries({UnixLink("up", "../../.."), UnixLink("etc", "/etc"),
                                        MakeEntry("etc/passwd", "x")});
                    },
                    8,
                    [](const auto& base, const ZipBatchResult&) {
                        if (std::filesystem::is_regular_file(base / "up")) {
                            EXPECT_EQ(ludrin::testing::ReadFile(base / "up"), "../../..");
                        }
                    }},
        HostileCase{"duplicate_names",
                    [] {
                        return Entries({MakeEntry("dup.txt", "first"),
                                        MakeEntry("dup.txt", "second"),
                                        MakeEntry("DUP.TXT", "third")});
                    },
                    6, nullptr},
        HostileCase{"declared_size_smaller_than_the_data",
                    [] {
                        return Entries(
                            {Declaring(MakeEntry("deflated.bin", TextBytes(100000, 1)), 10),
                             Declaring(MakeEntry("stored.bin", TextBytes(100000, 2), 0), 10)});
                    },
                    10, nullptr},
        HostileCase{"huge_declared_size_with_tiny_data",
                    [] { return Entries({Declaring(MakeEntry("huge.bin", "tiny"), 0xFFFFFFF0u)}); },
                    4,
                    [](const auto& base, const ZipBatchResult& batch) {
                        EXPECT_EQ(batch.extracted, 0u);
                        EXPECT_FALSE(std::filesystem::exists(base / "huge.bin")); // no partial file
                    }},
        HostileCase{"file_with_data_marked_as_a_folder",
                    [] {
                        ZipEntryPlan hidden = MakeEntry("x.dll", TextBytes(5000, 3));
                        hidden.externalAttr = 0x10;
                        return Entries({hidden, MakeEntry("y.dll", "y")});
                    },
                    5000,
                    [](const auto& base, const ZipBatchResult& batch) {
                        // Its data would be lost with success: it is damage, not a folder.
                        EXPECT_EQ(batch.failed, 1u);
                        EXPECT_EQ(batch.extracted, 1u);
                        EXPECT_EQ(Tree(base), std::vector<std::string>{"y.dll"});
                    }},
        HostileCase{"names_against_windows_rules",
                    [] {
                        return Entries({MakeEntry("x.dll.", "dot"), MakeEntry("x.dll ", "blank"),
                                        MakeEntry("a<b.txt", "lt"), MakeEntry("q?.txt", "q"),
                                        MakeEntry("tab\tname", "tab"), MakeEntry("x.dll", "ok")});
                    },
                    5,
                    [](const auto& base, const ZipBatchResult& batch) {
                        // Refused on every host alike: "x.dll." would replace "x.dll".
                        EXPECT_EQ(batch.failed, 5u);
                        EXPECT_EQ(Tree(base), std::vector<std::string>{"x.dll"});
                        EXPECT_EQ(ludrin::testing::ReadFile(base / "x.dll"), "ok");
                    }},
        HostileCase{"deep_nesting",
                    [] { return Entries({MakeEntry(Repeat("d/", 120) + "deep.txt", "deep")}); }, 4,
                    nullptr},
        HostileCase{"names_beyond_259_characters",
                    [] {
                        return Entries(
                            {MakeEntry(std::string(300, 'n') + ".txt", "long"),
                             MakeEntry(Repeat(std::string(50, 'p') + "/", 6) + "f.txt", "f")});
                    },
                    4, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

// Two directory entries that point at one local record: each is read on its own, and the
// second, whose name differs from the local one, cannot write anything elsewhere.
TEST(HostileArchiveLayout, OverlappingEntriesStayInsideTheBaseFolder) {
    ExtractFixture fx;
    RecordingArchiver archiver;
    std::string bytes = ludrin::testing::WriteZip(
        Entries({MakeEntry("one.txt", "one"), MakeEntry("../two.txt", "two")}));
    // The second central record's local offset becomes the first's (0).
    const auto first = bytes.find("PK\x01\x02");
    const auto second = bytes.find("PK\x01\x02", first + 4);
    ASSERT_NE(second, std::string::npos);
    bytes.replace(second + 42, 4, std::string(4, '\0'));
    ludrin::testing::WriteFile(fx.temp / "archive.zip", bytes);
    archiver.FileName = ludrin::testing::Wide(fx.temp / "archive.zip");
    archiver.OpenArchive(kOpenModeReadDenyWrite);
    archiver.BaseDir = ludrin::testing::Wide(fx.base());
    archiver.answers.assign(8, TZipAction::fxaIgnore);
    archiver.ExtractFiles(L"*.*", kInstallerAttr);
    ExpectOnlyBelowBase(fx);
}

// A directory of 100,000 entries loads, and a selection among them finds the one asked for.
TEST(HostileArchiveLayout, AHundredThousandEntriesLoadAndSelect) {
    ExtractFixture fx;
    RecordingArchiver archiver;
    ZipArchivePlan spec;
    spec.zip64EndRecords = true; // the count does not fit the 16-bit field
    spec.entries.reserve(100000);
    for (int i = 0; i < 100000; ++i) {
        spec.entries.push_back(MakeEntry("e" + std::to_string(i), "", 0));
    }
    fx.Open(archiver, spec);
    EXPECT_EQ(archiver.Count(), 100000u);
    archiver.ExtractFiles(L"e99999", kInstallerAttr);
    EXPECT_EQ(archiver.LastBatch().extracted, 1u);
    EXPECT_EQ(Tree(fx.base()), std::vector<std::string>{"e99999"});
}

} // namespace
} // namespace ludrin::zip
