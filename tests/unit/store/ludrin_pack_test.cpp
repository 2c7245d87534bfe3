// The real ludrin-pack, run as a child process on real files.

#include "store/form_stream.hpp"
#include "support/payload_generator.hpp"
#include "support/pe_image_writer.hpp"
#include "support/temp_dir.hpp"
#include "support/zip_writer.hpp"
#include "unit/store/store_test_util.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#ifndef LUDRIN_PACK_EXE
#error "LUDRIN_PACK_EXE must name the built tool"
#endif

namespace ludrin::store {
namespace {

using namespace test;
using ludrin::testing::ReadFile;
using ludrin::testing::TempDir;
using ludrin::testing::WriteFile;
using ::testing::HasSubstr;

std::string Quote(const std::string& s) {
    std::string out = "'";
    for (char c : s) {
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return out + "'";
}

std::string AsString(const Bytes& b) {
    return {b.begin(), b.end()};
}

class LudrinPack : public ::testing::Test {
protected:
    struct Result {
        int code;
        std::string output;
    };

    Result Run(const std::vector<std::string>& args) {
        // A tool that hangs on its input ends as a failure rather than stopping the run.
        std::string command = "timeout 60 " + Quote(LUDRIN_PACK_EXE);
        for (const auto& arg : args) {
            command += " " + Quote(arg);
        }
        const auto log = temp / "output.log";
        command += " >" + Quote(log.string()) + " 2>&1";
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(log)};
    }

    std::string P(const std::string& name) { return (temp / name).string(); }

    TempDir temp;
};

TEST_F(LudrinPack, BuildListExtractAndVerifySixFiles) {
    const std::vector<std::pair<std::string, std::string>> files{
        {"brvdll.zip", AsString(testing::CompressedLike(300000, 1))},
        {"LUD.exe", AsString(testing::MachineCodeLike(200000, 2))},
        {"Ludrin.exe", AsString(testing::MachineCodeLike(65534, 3))},
        {"leggimi \xC3\xA8.txt", AsString(testing::TextLike(100000, 4))},
        {"vuoto.bin", ""},
        {"uno.bin", "x"},
    };
    std::vector<std::string> build{"build", "--out", P("form.bin")};
    for (const auto& [name, content] : files) {
        WriteFile(temp / "in" / name, content);
        build.push_back(P("in/" + name));
    }
    const auto built = Run(build);
    ASSERT_EQ(built.code, 0) << built.output;

    const auto listed = Run({"list", P("form.bin")});
    ASSERT_EQ(listed.code, 0) << listed.output;
    EXPECT_THAT(listed.output, HasSubstr("layout signature"));
    EXPECT_THAT(listed.output, HasSubstr("\t300000\t"));
    EXPECT_THAT(listed.output, HasSubstr("leggimi \xC3\xA8.txt"));
    EXPECT_THAT(listed.output, HasSubstr("DataSize: 665535"));

    for (std::size_t slot = 0; slot < files.size(); ++slot) {
        const auto out = P("out/" + std::to_string(slot) + "/file");
        const auto extracted = Run({"extract", P("form.bin"), std::to_string(slot), out});
        ASSERT_EQ(extracted.code, 0) << extracted.output;
        EXPECT_EQ(ReadFile(out), files[slot].second) << "slot " << slot;
    }

    const auto verified = Run({"verify", P("form.bin")});
    EXPECT_EQ(verified.code, 0) << verified.output;
    EXPECT_THAT(verified.output, HasSubstr("verified"));
}

TEST_F(LudrinPack, ReadsTheFormOutOfAnExecutable) {
    ASSERT_EQ(Run({"build", "--out", P("form.bin"), LUDRIN_PACK_EXE}).code, 0);
    const std::string form = ReadFile(P("form.bin"));
    const Bytes image = testing::PeImageWithRcData(u"TFORMMAIN", Text(form));
    WriteFile(P("setup.exe"), AsString(image));

    const auto listed = Run({"list", P("setup.exe")});
    ASSERT_EQ(listed.code, 0) << listed.output;
    EXPECT_THAT(listed.output, HasSubstr("RCDATA TFORMMAIN"));
    EXPECT_THAT(listed.output, HasSubstr("ludrin-pack"));
    ASSERT_EQ(Run({"extract", P("setup.exe"), "0", P("copy")}).code, 0);
    EXPECT_EQ(ReadFile(P("copy")), ReadFile(LUDRIN_PACK_EXE));
    EXPECT_EQ(Run({"verify", P("setup.exe")}).code, 0);

    const Bytes other = testing::PeImageWithRcData(u"OTHER", Text(form));
    WriteFile(P("other.exe"), AsString(other));
    const auto missing = Run({"list", P("other.exe")});
    EXPECT_EQ(missing.code, 1);
    EXPECT_THAT(missing.output, HasSubstr("no RCDATA resource TFORMMAIN"));

    WriteFile(P("cut.exe"), AsString(image).substr(0, 0x210));
    const auto cut = Run({"list", P("cut.exe")});
    EXPECT_EQ(cut.code, 1);
    EXPECT_THAT(cut.output, HasSubstr("damaged executable"));
}

TEST_F(LudrinPack, ListsABareLegacyContainer) {
    // A control character and an encoded surrogate half: neither may reach the terminal raw.
    const Bytes legacy =
        Cat({U32(1), U32(0), U32(6), Text("a\x01z\xED\xA0\x80"), U32(2), Text("hi")});
    WriteFile(P("legacy.bin"), AsString(legacy));
    const auto listed = Run({"list", P("legacy.bin")});
    ASSERT_EQ(listed.code, 0) << listed.output;
    EXPECT_THAT(listed.output, HasSubstr("legacy"));
    EXPECT_THAT(listed.output, HasSubstr("a\\x01z\\xED\\xA0\\x80")) << "unprintables escaped";
}

std::string Sha256sum(const std::string& path) {
    FILE* pipe = popen(("sha256sum " + Quote(path)).c_str(), "r");
    char line[128] = {};
    const bool read = pipe != nullptr && std::fgets(line, sizeof line, pipe) != nullptr;
    if (pipe != nullptr) {
        pclose(pipe);
    }
    return read ? std::string(line, 64) : std::string();
}

// The release report, held to sha256sum of the input files and to the ZIP the test wrote.
TEST_F(LudrinPack, ReportsTheSixFilesWithTheirSha256AndTheArchiveInSlotZero) {
    using ludrin::testing::MakeEntry;
    ludrin::testing::ZipArchivePlan zip;
    zip.entries.push_back(MakeEntry("brvdll/", "", 0));
    zip.entries.back().externalAttr = 0x10;
    zip.entries.push_back(MakeEntry("brvdll/leggimi.txt", AsString(testing::TextLike(5000, 1))));
    zip.entries.push_back(
        MakeEntry("brvdll/LibAV/a.bin", AsString(testing::MachineCodeLike(3000, 2)), 0));
    const std::vector<std::pair<std::string, std::string>> files{
        {"brvdll.zip", ludrin::testing::WriteZip(zip)},
        {"LUD.exe", AsString(testing::MachineCodeLike(70000, 3))},
        {"Ludrin.exe", AsString(testing::CompressedLike(1000, 4))},
        {"vuoto.exe", ""},
        {"b.exe", "b"},
        {"c \xC3\xA8.exe", AsString(testing::TextLike(65533, 5))},
    };
    std::vector<std::string> build{"build", "--out", P("form.bin")};
    std::string table;
    for (std::size_t slot = 0; slot < files.size(); ++slot) {
        const auto& [name, content] = files[slot];
        WriteFile(temp / "in" / name, content);
        build.push_back(P("in/" + name));
        table += std::to_string(slot) + "\t" + std::to_string(content.size()) + "\t" +
                 Sha256sum(P("in/" + name)) + "\t" + name + "\n";
    }
    ASSERT_EQ(Run(build).code, 0);

    const auto report = Run({"report", P("form.bin")});
    ASSERT_EQ(report.code, 0) << report.output;
    EXPECT_EQ(report.output, "ludrin-pack report 1\n"
                             "file-version\t-\n"
                             "stored-files\t6\n"
                             "slot\tsize\tsha256\tname\n" +
                                 table + "zip-entries\t3\nzip-unpacked\t8000\n");
    // Nothing of where the file lies: a copy elsewhere reports the same text.
    WriteFile(P("elsewhere/copy.bin"), ReadFile(P("form.bin")));
    EXPECT_EQ(Run({"report", P("elsewhere/copy.bin")}).output, report.output);

    const auto listed = Run({"list", P("form.bin"), "--sha256"});
    ASSERT_EQ(listed.code, 0) << listed.output;
    for (const auto& [name, content] : files) {
        EXPECT_THAT(listed.output,
                    HasSubstr("\t" + Sha256sum(P("in/" + name)) + "\t" + name + "\n"));
    }

    // Five files: the report is printed, but the installer would not start.
    build.pop_back();
    ASSERT_EQ(Run(build).code, 0);
    const auto short_ = Run({"report", P("form.bin")});
    EXPECT_EQ(short_.code, 1);
    EXPECT_THAT(short_.output, HasSubstr("zip-entries\t3"));
    EXPECT_THAT(short_.output, HasSubstr("needs 6 stored files, this payload has 5"));
}

struct BadRun {
    const char* name;
    std::vector<std::string> args;
    int code;
    const char* message;
};

class LudrinPackRejects : public LudrinPack, public ::testing::WithParamInterface<BadRun> {};

TEST_P(LudrinPackRejects, WithAMessageAndANonZeroCode) {
    // A small valid form, and damaged copies of it.
    TstFileStorage store;
    auto file = std::make_unique<TStoredFile>(&store);
    file->Data = Bytes(1000, 'q');
    file->Size = 1000;
    file->FileName = L"q";
    store.Files.push_back(std::move(file));
    const Bytes form = WriteFormStream(store);
    WriteFile(P("form.bin"), AsString(form));
    WriteFile(P("cut.bin"), AsString(form).substr(0, form.size() - 4));
    Bytes wrongSize = form;
    wrongSize[wrongSize.size() - 3 - 9 - 4] ^= 1; // the record's size field
    WriteFile(P("size.bin"), AsString(wrongSize));
    Bytes longBlock = form;
    longBlock[longBlock.size() - 3 - 7 - 1] = 0x40; // the block's length field
    WriteFile(P("blocks.bin"), AsString(longBlock));
    ASSERT_EQ(::mkfifo(P("fifo").c_str(), 0600), 0); // opening it for reading waits for a writer
    // Executables whose form or version Windows would choose by the user's language.
    using testing::ResourceSpec;
    const ResourceSpec italian{testing::kRtRcData, u"TFORMMAIN", 0, 0x410, form};
    const ResourceSpec english{testing::kRtRcData, u"TFORMMAIN", 0, 0x409, form};
    const ResourceSpec version{testing::kRtVersion, u"", 1, 0x409, Bytes(64, 0)};
    const ResourceSpec otherVersion{testing::kRtVersion, u"", 1, 0x410, Bytes(64, 0)};
    WriteFile(P("two-forms.exe"),
              AsString(testing::PeImageWithResources(std::vector<ResourceSpec>{english, italian})));
    WriteFile(P("two-versions.exe"),
              AsString(testing::PeImageWithResources(
                  std::vector<ResourceSpec>{english, version, otherVersion})));

    std::vector<std::string> args;
    for (const auto& arg : GetParam().args) {
        args.push_back(arg.starts_with("@") ? P(arg.substr(1)) : arg);
    }
    const auto result = Run(args);
    EXPECT_EQ(result.code, GetParam().code) << result.output;
    EXPECT_THAT(result.output, HasSubstr(GetParam().message));
}

INSTANTIATE_TEST_SUITE_P(
    BadInput, LudrinPackRejects,
    ::testing::Values(
        BadRun{"no_command", {}, 2, "usage"},
        BadRun{"unknown_command", {"pack"}, 2, "unknown command"},
        BadRun{"build_without_out", {"build", "x"}, 2, "--out"},
        BadRun{"build_without_files", {"build", "--out", "@f.bin"}, 2, "slot files"},
        BadRun{"folder_as_input", {"build", "--out", "@f.bin", "@"}, 1, "not a regular file"},
        BadRun{"missing_file", {"list", "@nothing.bin"}, 1, "cannot open"},
        BadRun{"fifo_listed", {"list", "@fifo"}, 1, "not a regular file"},
        BadRun{"fifo_as_slot", {"build", "--out", "@f.bin", "@fifo"}, 1, "not a regular file"},
        BadRun{"fifo_zip_listed", {"list-zip", "@fifo"}, 1, "Not a regular file"},
        BadRun{"fifo_zip_checked", {"check-zip", "@fifo"}, 1, "Not a regular file"},
        BadRun{"missing_input", {"build", "--out", "@f.bin", "@nothing"}, 1, "cannot open"},
        BadRun{"slot_not_number", {"extract", "@form.bin", "uno", "@o"}, 2, "decimal"},
        BadRun{"slot_out_of_range", {"extract", "@form.bin", "1", "@o"}, 1, "out of range"},
        BadRun{"cut_form", {"list", "@cut.bin"}, 1, "ends early"},
        BadRun{"wrong_size", {"verify", "@size.bin"}, 1, "FAILED"},
        BadRun{"list_damaged_blocks", {"list", "@blocks.bin"}, 1, "stored file 0 at offset 8"},
        BadRun{"extract_damaged_blocks",
               {"extract", "@blocks.bin", "0", "@o"},
               1,
               "stored file 0 at offset 8"},
        BadRun{"sha256_of_damaged_blocks",
               {"list", "@blocks.bin", "--sha256"},
               1,
               "stored file 0 at offset 8"},
        BadRun{
            "report_of_damaged_blocks", {"report", "@blocks.bin"}, 1, "stored file 0 at offset 8"},
        BadRun{"report_slot_zero_not_zip", {"report", "@form.bin"}, 1, "not a readable ZIP"},
        BadRun{"report_without_file", {"report"}, 2, "wrong number of arguments"},
        BadRun{"form_in_two_languages",
               {"list", "@two-forms.exe"},
               1,
               "RCDATA TFORMMAIN in 2 places: TFORMMAIN language 0x0409, TFORMMAIN language "
               "0x0410"},
        BadRun{"form_in_two_languages_verified", {"verify", "@two-forms.exe"}, 1, "0x0410"},
        BadRun{"version_in_two_languages",
               {"report", "@two-versions.exe"},
               1,
               "version resource in 2 places: #1 language 0x0409, #1 language 0x0410"},
        BadRun{"help", {"--help"}, 0, "ludrin-pack build --out"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace ludrin::store
