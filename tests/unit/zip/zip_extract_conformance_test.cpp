// Extraction of the shared corpus with the installer's settings, each tree held to the
// manifest's expected result; hostile archives must create nothing outside the base folder.

#include "support/temp_dir.hpp"
#include "unit/zip/extract_test_util.hpp"
#include "unit/zip/zip_peer_util.hpp"
#include "zip/zip_error.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace ludrin::zip {
namespace {

using namespace test;
using ludrin::testing::TempDir;
using ludrin::testing::Wide;

std::filesystem::path Corpus() {
    return std::filesystem::path(LUDRIN_CONFORMANCE_DIR) / "zip";
}

// Where this reader's rules give another tree than the manifest's reference peer, and why.
const std::map<std::string, std::string> kOtherTrees{
    {"generated/utf8-noflag-infozip.zip", "OEM step before the UTF-8 test: other names"},
    {"peers/go/utf8-osx.zip", "OEM step before the UTF-8 test: other names"},
    // The end record nearest the file's end is the comment's fake one of an empty
    // directory, as for Python, unzip and bsdtar: nothing is written.
    {"generated/comment-fake-eocd-empty.zip", "the fake end record is trusted: empty"},
};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto end = text.find('\n', start);
        lines.push_back(text.substr(start, end - start));
        start = end == std::string::npos ? text.size() : end + 1;
    }
    return lines;
}

TEST(ZipExtractConformance, EveryArchiveExtractsAsItsManifestExpects) {
    if (!std::filesystem::exists(Corpus() / "manifest.json")) {
        GTEST_SKIP() << "no conformance corpus at " << Corpus() << " (only in a full checkout)";
    }
    if (!HavePython()) {
        GTEST_SKIP() << "python3 is not installed";
    }
    std::size_t checked = 0;
    for (const auto& fields : RunOracle({"manifest", Corpus().string()})) {
        const std::string& path = fields.at(0);
        const std::string password = fields.size() > 3 ? fields[3] : "";
        SCOPED_TRACE(path);
        TempDir temp;
        RecordingArchiver archiver;
        archiver.FileName = Wide(Corpus() / path);
        try {
            archiver.OpenArchive(kOpenModeReadDenyWrite);
        } catch (const std::exception&) {
            continue; // refused archives: the reader's own test checks the refusal
        }
        archiver.BaseDir = Wide(temp / "base");
        archiver.answers.assign(100000, TZipAction::fxaIgnore);
        archiver.OnPassword = [&](TZipBaseArchiver&, const std::wstring&, std::string& given,
                                  bool& skip) {
            skip = given == password; // one attempt with the manifest's password
            given = password;
        };
        archiver.ExtractFiles(L"*.*", 10431);
        archiver.CloseArchive();
        ++checked;
        // Nothing beside the base folder, whatever the names.
        for (const auto& entry : std::filesystem::directory_iterator(temp.Path())) {
            EXPECT_EQ(entry.path().filename(), "base") << "written outside: " << entry.path();
        }
        if (kOtherTrees.count(path) > 0) {
            continue;
        }
        const CommandResult check = RunCommand(
            Quote(LUDRIN_PYTHON) + " " + Quote(LUDRIN_EXTRACT_CHECK) + " " +
            Quote(Corpus().string()) + " " + Quote(path) + " " + Quote((temp / "base").string()));
        EXPECT_EQ(check.code, 0);
        EXPECT_EQ(Lines(check.output), std::vector<std::string>{}) << path;
    }
    EXPECT_GE(checked, 80u);
}

} // namespace
} // namespace ludrin::zip
