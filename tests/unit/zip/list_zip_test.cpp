// ludrin-pack list-zip, run as the real program: its line format, the decoding check and
// its exit codes.

#include "support/temp_dir.hpp"
#include "support/zip_writer.hpp"
#include "unit/zip/zip_peer_util.hpp"

#include <gtest/gtest.h>

#ifndef LUDRIN_PACK_EXE
#error "LUDRIN_PACK_EXE must name the built tool"
#endif

namespace ludrin::zip {
namespace {

using namespace test;
using ludrin::testing::TempDir;
using ludrin::testing::WriteFile;
using ludrin::testing::ZipArchivePlan;
using ludrin::testing::ZipEntryPlan;

class ListZip : public ::testing::Test {
protected:
    ToolRun Run(const std::vector<std::string>& args) { return RunPack(args, temp.Path()); }

    std::string Archive() {
        ZipArchivePlan spec;
        ZipEntryPlan folder;
        folder.name = "brvdll/";
        folder.method = 0;
        folder.externalAttr = 0x10;
        ZipEntryPlan text;
        text.name = "brvdll/leggimi.txt";
        text.data = ludrin::testing::TextBytes(10000, 1);
        ZipEntryPlan bad;
        bad.name = "brvdll/tab\there.dll";
        bad.data = "library";
        bad.method = 0;
        bad.crc = 0xDEADBEEF;
        ZipEntryPlan utf8;
        utf8.name = "brvdll/\xC3\xA8.txt";
        utf8.data = "e";
        utf8.flags = 0x800;
        spec.entries = {folder, text, bad, utf8};
        const auto path = temp / "payload.zip";
        WriteFile(path, ludrin::testing::WriteZip(spec));
        compressed = ludrin::testing::Deflate(text.data).size();
        return path.string();
    }

    TempDir temp;
    std::size_t compressed = 0;
};

TEST_F(ListZip, OneTabSeparatedLinePerEntryInDirectoryOrder) {
    const std::string archive = Archive();
    const ToolRun run = Run({"list-zip", archive});
    EXPECT_EQ(run.code, 0) << run.err;
    const std::string expected =
        "0\t0\t0\t0\t00000000\t00000010\t0000\tbrvdll/\n"
        "1\t8\t" +
        std::to_string(compressed) + "\t10000\t" +
        [] {
            char crc[16];
            std::snprintf(crc, sizeof crc, "%08x",
                          ludrin::testing::Crc32(ludrin::testing::TextBytes(10000, 1)));
            return std::string(crc);
        }() +
        "\t00000020\t0000\tbrvdll/leggimi.txt\n"
        "2\t0\t7\t7\tdeadbeef\t00000020\t0000\tbrvdll/tab\\x09here.dll\n"
        "3\t8\t3\t1\tefda7a5a\t00000020\t0800\tbrvdll/\xC3\xA8.txt\n";
    EXPECT_EQ(run.out, expected);
}

TEST_F(ListZip, TestAddsTheOutcomeOfDecodingEachEntry) {
    const ToolRun run = Run({"list-zip", Archive(), "--test"});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.out.find("\tbrvdll/leggimi.txt\tok\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\tbrvdll/tab\\x09here.dll\tArchiver: Invalid size or check sum of "
                           "file or unsupported compression format - Native error: 00008\n"),
              std::string::npos)
        << run.out;
    // A tab is no character of a Windows name, whatever this host allows.
    EXPECT_EQ(run.err, "ludrin-pack: windows: brvdll/tab\\x09here.dll: Windows cannot create "
                       "this name\nludrin-pack: 1 of 4 entries failed\n");
}

// Options go before, between or after the operands, and "--" ends them.
TEST_F(ListZip, OptionsGoWherePeoplePutThem) {
    const std::string archive = Archive();
    const ToolRun after = Run({"list-zip", archive, "--test"});
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"list-zip", "--test", archive},
          std::vector<std::string>{"list-zip", "--test", "--", archive}}) {
        const ToolRun run = Run(args);
        EXPECT_EQ(run.code, after.code) << args[1];
        EXPECT_EQ(run.out, after.out) << args[1];
    }
    const ToolRun checked = Run({"check-zip", "--to", (temp / "out").string(), "--", Archive()});
    EXPECT_NE(checked.out.find("entries 4"), std::string::npos) << checked.out << checked.err;
    EXPECT_TRUE(std::filesystem::exists(temp / "out"));
    EXPECT_EQ(Run({"check-zip", Archive(), "--to"}).code, 2); // a value is missing
}

TEST_F(ListZip, ArchivesThatDoNotOpen) {
    WriteFile(temp / "text.zip", std::string(1000, 't'));
    const std::string missing = (temp / "missing.zip").string();
    struct Case {
        std::vector<std::string> args;
        int code;
        std::string error;
    };
    const std::vector<Case> cases{
        {{"list-zip", (temp / "text.zip").string()},
         1,
         "Invalid archive file. - Native error: 00035"},
        {{"list-zip", missing, "--test"},
         1,
         "Archiver: File \"" + missing + "\" not found - Native error: 00012"},
        {{"list-zip"}, 2, "wrong number of arguments for list-zip"},
        {{"list-zip", missing, "--verbose"}, 2, "wrong number of arguments for list-zip"},
    };
    for (const Case& c : cases) {
        const ToolRun run = Run(c.args);
        EXPECT_EQ(run.code, c.code) << c.error;
        EXPECT_EQ(run.out, "") << c.error;
        EXPECT_NE(run.err.find(c.error), std::string::npos) << run.err;
    }
}

} // namespace
} // namespace ludrin::zip
