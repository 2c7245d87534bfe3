// Nothing of one run survives into the next: each row runs something first, then checks a
// later decode or extraction on the same component as if it were the first.

#include "unit/zip/extract_test_util.hpp"
#include "unit/zip/zip_test_util.hpp"

#include <gtest/gtest.h>

#include <functional>

namespace ludrin::zip {
namespace {

using namespace test;
using ludrin::testing::MakeEntry;
using ludrin::testing::RandomBytes;
using ludrin::testing::ZipEntryPlan;

const std::string kStored = RandomBytes(200000, 5);

struct RunCase {
    const char* name;
    std::function<void(RecordingArchiver&)> before; // the earlier run
    std::function<void(RecordingArchiver&, const ExtractFixture&)> check;
};

class NothingSurvivesARun : public ::testing::TestWithParam<RunCase> {};

TEST_P(NothingSurvivesARun, TheNextRunStartsFresh) {
    ExtractFixture fx;
    RecordingArchiver archiver;
    fx.Open(archiver, Entries({MakeEntry("big.bin", kStored, 0), MakeEntry("small.txt", "s")}));
    GetParam().before(archiver);
    archiver.events.clear();
    GetParam().check(archiver, fx);
}

void CancelledBatch(RecordingArchiver& archiver) {
    archiver.cancelAtEvent = 5; // at the first progress of the first entry's data
    archiver.ExtractFiles(L"*.*", 10431);
    EXPECT_TRUE(archiver.LastBatch().aborted);
    archiver.cancelAtEvent = static_cast<std::size_t>(-1);
}

void WholeBatch(RecordingArchiver& archiver) {
    archiver.ExtractFiles(L"*.*", 10431);
    EXPECT_TRUE(archiver.LastBatch().Complete());
}

void DecodesEveryByteSilently(RecordingArchiver& archiver, const ExtractFixture&) {
    MemoryZipOutput out;
    EXPECT_TRUE(archiver.DecodeItem(0, out).ok);
    EXPECT_EQ(std::string(out.data.begin(), out.data.end()), kStored);
    // A decode outside a batch reports no progress.
    EXPECT_TRUE(archiver.events.empty()) << archiver.events.front();
    MemoryZipOutput again;
    EXPECT_TRUE(archiver.ExtractItem(0, again));
    EXPECT_EQ(again.data.size(), kStored.size());
}

void ExtractsTheWholeBatchAgain(RecordingArchiver& archiver, const ExtractFixture& fx) {
    archiver.ExtractFiles(L"*.*", 10431);
    EXPECT_TRUE(archiver.LastBatch().Complete());
    EXPECT_EQ(archiver.LastBatch().extracted, 2u);
    EXPECT_EQ(ludrin::testing::ReadFile(fx.base() / "big.bin"), kStored);
    EXPECT_EQ(archiver.overall.back(), 100);
}

INSTANTIATE_TEST_SUITE_P(Runs, NothingSurvivesARun,
                         ::testing::Values(RunCase{"decode_after_a_cancelled_batch", CancelledBatch,
                                                   DecodesEveryByteSilently},
                                           RunCase{"decode_after_a_whole_batch", WholeBatch,
                                                   DecodesEveryByteSilently},
                                           RunCase{"batch_after_a_cancelled_batch", CancelledBatch,
                                                   ExtractsTheWholeBatchAgain}),
                         [](const auto& info) { return std::string(info.param.name); });

// An archive whose end is cut off is read from its local headers: an empty file stays a
// file (only a name ending in a separator makes a folder), and it is extracted.
TEST(CutOffArchive, AnEmptyFileIsExtractedAsAFile) {
    ExtractFixture fx;
    ZipEntryPlan folder = MakeEntry("dir/", "", 0);
    folder.externalAttr = 0x10;
    std::string bytes = ludrin::testing::WriteZip(
        Entries({folder, MakeEntry("dir/empty.txt", "", 0), MakeEntry("dir/a.txt", "a", 0)}));
    bytes.resize(bytes.find("PK\x01\x02"));
    ludrin::testing::WriteFile(fx.temp / "archive.zip", bytes);
    RecordingArchiver archiver;
    archiver.FileName = ludrin::testing::Wide(fx.temp / "archive.zip");
    archiver.OpenArchive(kOpenModeReadDenyWrite);
    archiver.BaseDir = ludrin::testing::Wide(fx.base());
    ASSERT_EQ(archiver.Count(), 3u);
    EXPECT_EQ(archiver.DMHandle()->CDir[0].CentralDir.externalAttr, 0x10u);
    EXPECT_EQ(archiver.DMHandle()->CDir[1].CentralDir.externalAttr, 0x20u);
    archiver.ExtractFiles(L"*.*", 10431);
    EXPECT_TRUE(archiver.LastBatch().Complete());
    EXPECT_TRUE(std::filesystem::is_regular_file(fx.base() / "dir/empty.txt"));
    EXPECT_EQ(std::filesystem::file_size(fx.base() / "dir/empty.txt"), 0u);
}

} // namespace
} // namespace ludrin::zip
