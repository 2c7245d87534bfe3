// The corpus of archives made by other tools, with the outcome its manifest expects and
// what Python's zipfile reads from each: the installer's reader must open or refuse each
// archive as expected, list the same entries, and decode the same bytes.

#include "support/temp_dir.hpp"
#include "unit/zip/zip_peer_util.hpp"
#include "zip/zip_error.hpp"
#include "zip/zip_reader.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

#ifndef LUDRIN_CONFORMANCE_DIR
#error "LUDRIN_CONFORMANCE_DIR must name the shared conformance folder"
#endif

namespace ludrin::zip {
namespace {

using namespace test;
using ludrin::testing::TempDir;

std::filesystem::path Corpus() {
    return std::filesystem::path(LUDRIN_CONFORMANCE_DIR) / "zip";
}

struct ManifestRecord {
    std::string path;
    std::string category;
    bool opens;
    std::string password;
};

// Where the installer's rules decide differently from the manifest's reference peer.
const std::map<std::string, std::string> kOpensAnyway{
    {"generated/truncated-no-eocd.zip", "a missing directory is rebuilt from local headers"},
    {"generated/truncated-half.zip", "a missing directory is rebuilt from local headers"},
    {"generated/truncated-mid-cd.zip", "a missing directory is rebuilt from local headers"},
    {"peers/go/readme.notzip", "a zip behind text with its end record overwritten: rebuilt"},
};

// Entries zipfile names differently, and why.
const std::map<std::string, std::string> kOtherNames{
    // UTF-8 bytes without the flag get the OEM step first, then are no UTF-8 any more.
    {"generated/utf8-noflag-infozip.zip", "OEM step before the UTF-8 test"},
    {"peers/go/utf8-osx.zip", "OEM step before the UTF-8 test"},
};

std::vector<ManifestRecord> Manifest() {
    std::vector<ManifestRecord> records;
    for (const auto& fields : RunOracle({"manifest", Corpus().string()})) {
        records.push_back(
            {fields.at(0), fields.at(1), fields.at(2) == "1", fields.size() > 3 ? fields[3] : ""});
    }
    return records;
}

class ZipConformance : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::filesystem::exists(Corpus() / "manifest.json")) {
            GTEST_SKIP() << "no conformance corpus at " << Corpus() << " (only in a full checkout)";
        }
        if (!HavePython()) {
            GTEST_SKIP() << "python3 is not installed";
        }
    }
};

TEST_F(ZipConformance, EveryArchiveOpensOrFailsAsTheManifestSays) {
    const auto records = Manifest();
    ASSERT_EQ(records.size(), 89u);
    for (const ManifestRecord& r : records) {
        const bool expected = r.opens || kOpensAnyway.count(r.path) > 0;
        const OpenOutcome outcome = OpenAsInstaller(Corpus() / r.path);
        EXPECT_EQ(outcome.opened, expected) << r.path << ": " << outcome.error;
        if (!outcome.opened) {
            // Refused archives are refused as archives, never with another error.
            EXPECT_EQ(outcome.native, 35) << r.path << ": " << outcome.error;
        }
    }
}

TEST_F(ZipConformance, EntriesAndContentsAgreeWithPythonZipfile) {
    for (const ManifestRecord& r : Manifest()) {
        SCOPED_TRACE(r.path);
        const OracleListing python = ReadWithPython(Corpus() / r.path, r.password);
        if (!python.opened) {
            continue; // nothing to compare with; the test above checks the outcome
        }
        CompareWithOracle(Corpus() / r.path, r.password, python,
                          kOtherNames.count(r.path) == 0 ? NameCheck::kAll
                                                         : NameCheck::kFlaggedOrAscii,
                          r.category == "unsupported");
    }
}

} // namespace
} // namespace ludrin::zip
