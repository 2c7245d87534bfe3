// ludrin-pack check-zip, run as the real program: the event lines of a whole batch, the
// summary, the exit code, and the temporary folder it leaves behind (none).

#include "support/temp_dir.hpp"
#include "support/zip_writer.hpp"
#include "unit/zip/extract_test_util.hpp"
#include "unit/zip/zip_peer_util.hpp"

#include <gtest/gtest.h>

namespace ludrin::zip {
namespace {

using namespace test;
using ludrin::testing::MakeEntry;
using ludrin::testing::ReadFile;
using ludrin::testing::TempDir;
using ludrin::testing::TextBytes;
using ludrin::testing::WriteFile;
using ludrin::testing::WriteZip;
using ludrin::testing::ZipEntryPlan;

class CheckZip : public ::testing::Test {
protected:
    std::string Archive(std::vector<ZipEntryPlan> entries) {
        WriteFile(temp / "payload.zip", WriteZip(Entries(std::move(entries))));
        return (temp / "payload.zip").string();
    }
    ZipEntryPlan Folder(const std::string& name) {
        ZipEntryPlan entry = MakeEntry(name, "", 0);
        entry.externalAttr = 0x10;
        return entry;
    }
    TempDir temp;
};

TEST_F(CheckZip, PrintsEveryEventAndASummaryAndExtractsIntoTheGivenFolder) {
    const std::string archive = Archive({Folder("brvdll/"), MakeEntry("brvdll/a.dll", "abc", 0)});
    const ToolRun run =
        RunPack({"check-zip", archive, "--to", (temp / "out").string()}, temp.Path());
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "overall 0.00 start\n"
                       "confirm brvdll\\\n"
                       "file brvdll\\ 0.00 start\n"
                       "extract brvdll\\ attributes 00000010\n"
                       "file brvdll\\ 100.00 end\n"
                       "confirm brvdll\\a.dll\n"
                       "file brvdll\\a.dll 0.00 start\n"
                       "extract brvdll\\a.dll attributes 00000020\n"
                       "file brvdll\\a.dll 100.00 process\n"
                       "overall 100.00 process\n"
                       "file brvdll\\a.dll 100.00 end\n"
                       "overall 100.00 end\n"
                       "entries 2, selected 2, extracted 2, skipped 0, failed 0, bytes 3\n"
                       "ok\n");
    EXPECT_EQ(ReadFile(temp / "out/brvdll/a.dll"), "abc");
}

// Archives that this host extracts but Windows would refuse or merge: both checks name the
// entries and fail.
TEST_F(CheckZip, NamesThatWindowsRefusesOrMergesFailBothChecks) {
    struct Case {
        const char* what;
        std::vector<ZipEntryPlan> entries;
        std::string named;
    };
    const std::vector<Case> cases{
        {"trailing dot", {MakeEntry("x.dll", "a"), MakeEntry("x.dll.", "b")}, "x.dll."},
        {"reserved character", {MakeEntry("a|b.dll", "a")}, "a|b.dll"},
        {"equal after case folding",
         {MakeEntry("lib/Codec.dll", "a"), MakeEntry("LIB/codec.DLL", "b")},
         "LIB/codec.DLL"},
        {"equal after folding accents",
         {MakeEntry("\xC3\xA8.dll", "a"), MakeEntry("\xC3\x88.dll", "b")},
         "\xC3\x88.dll"},
    };
    for (const Case& c : cases) {
        std::vector<ZipEntryPlan> entries = c.entries;
        for (ZipEntryPlan& entry : entries) {
            entry.flags = 0x800;
        }
        const std::string archive = Archive(entries);
        const ToolRun check = RunPack({"check-zip", archive}, temp.Path());
        EXPECT_EQ(check.code, 1) << c.what;
        EXPECT_NE(check.out.find("windows: " + c.named + ":"), std::string::npos) << c.what << "\n"
                                                                                  << check.out;
        const ToolRun list = RunPack({"list-zip", archive, "--test"}, temp.Path());
        EXPECT_EQ(list.code, 1) << c.what;
        EXPECT_NE(list.err.find("windows: " + c.named + ":"), std::string::npos) << c.what << "\n"
                                                                                 << list.err;
    }
    // An ordinary archive passes both.
    const std::string plain = Archive({MakeEntry("lib/a.dll", "a"), MakeEntry("lib/b.dll", "b")});
    EXPECT_EQ(RunPack({"check-zip", plain}, temp.Path()).code, 0);
    EXPECT_EQ(RunPack({"list-zip", plain, "--test"}, temp.Path()).code, 0);
}

// Files are read back while later entries are still being written: a name written twice
// is held to what the batch leaves, and every other file to its own entry.
TEST_F(CheckZip, ReadsBackEachFileAsTheBatchLeavesIt) {
    std::vector<ZipEntryPlan> entries{MakeEntry("twice.dll", "first")};
    std::uint64_t bytes = 7; // the first "twice.dll" is not counted: it fails
    for (int i = 0; i < 150; ++i) {
        const std::string content =
            TextBytes(static_cast<std::size_t>(i * 97), static_cast<std::uint32_t>(i));
        entries.push_back(MakeEntry("lib" + std::to_string(i % 3) + "/f" + std::to_string(i),
                                    content, i % 2 == 0 ? 0 : 8));
        bytes += content.size();
    }
    entries.push_back(MakeEntry("twice.dll", "second!"));
    const ToolRun run =
        RunPack({"check-zip", Archive(entries), "--to", (temp / "out").string()}, temp.Path());
    EXPECT_EQ(run.code, 1); // two entries are one file on Windows
    const std::string tail = "verify twice.dll: size 7, expected 5\n"
                             "entries 152, selected 152, extracted 152, skipped 0, failed 0, "
                             "bytes " +
                             std::to_string(bytes) + "\n";
    EXPECT_NE(run.out.find(tail), std::string::npos) << run.out.substr(run.out.size() - 400);
    EXPECT_EQ(run.out.find("verify lib"), std::string::npos);
}

TEST_F(CheckZip, ADamagedEntryAbortsLikeTheInstallerWithoutAUserInterface) {
    ZipEntryPlan bad = MakeEntry("bad.dll", TextBytes(5000, 1));
    bad.crc = 0x1234;
    const std::string archive = Archive({MakeEntry("good.dll", "g"), bad, MakeEntry("z", "z")});
    const ToolRun run =
        RunPack({"check-zip", archive, "--to", (temp / "out").string()}, temp.Path());
    EXPECT_EQ(run.code, 1);
    const std::string message = "Archiver: Invalid size or check sum of file or unsupported "
                                "compression format - Native error: 00008";
    EXPECT_NE(run.out.find("failure bad.dll native 8: " + message + " -> abort\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("entries 3, selected 3, extracted 1, skipped 0, failed 1, aborted, "
                           "bytes 0\nfailed: bad.dll: " +
                           message + "\n"),
              std::string::npos)
        << run.out;
    EXPECT_EQ(Tree(temp / "out"), std::vector<std::string>{"good.dll"});
    EXPECT_NE(run.err.find("not every entry was extracted and verified"), std::string::npos);
}

TEST_F(CheckZip, AnEncryptedEntryIsSkippedAndFailsTheCheck) {
    ZipEntryPlan secret = MakeEntry("secret", "s");
    secret.password = "pw";
    const ToolRun run = RunPack({"check-zip", Archive({secret})}, temp.Path());
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.out.find("password secret -> cancel\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("skipped 1"), std::string::npos) << run.out;
}

TEST_F(CheckZip, TheTemporaryFolderIsRemoved) {
    const std::string archive = Archive({MakeEntry("dir/a.txt", "a")});
    TempDir tmp;
    const ludrin::testing::ScopedEnv scoped("TMPDIR", tmp.Path().string());
    const ToolRun run = RunPack({"check-zip", archive}, temp.Path());
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(Tree(tmp.Path()), std::vector<std::string>{});
}

TEST_F(CheckZip, WrongUsageAndUnreadableArchives) {
    const ToolRun usage = RunPack({"check-zip"}, temp.Path());
    EXPECT_EQ(usage.code, 2);
    EXPECT_NE(usage.err.find("wrong number of arguments for check-zip"), std::string::npos);
    WriteFile(temp / "text.zip", std::string(100, 't'));
    const ToolRun bad = RunPack({"check-zip", (temp / "text.zip").string()}, temp.Path());
    EXPECT_EQ(bad.code, 1);
    EXPECT_NE(bad.err.find("Invalid archive file."), std::string::npos) << bad.err;
}

} // namespace
} // namespace ludrin::zip
