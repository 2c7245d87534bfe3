// ludrin-pack's executable reader on the worst resource tree of about 1 MB: 65,535 RCDATA
// type entries that all lead to one directory of 65,535 names, none the one looked for.
// Walked once per directory, this costs about as much as one pass over the tree.

#include "ludrin-pack/pe_resources.hpp"
#include "support/pe_image_writer.hpp"
#include "support/resource_tree_writer.hpp"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

void BM_FindRcDataRepeatedTree(benchmark::State& state) {
    const auto entries = static_cast<std::uint16_t>(state.range(0));
    const std::vector<std::uint8_t> data = {'T', 'P', 'F', '0'};
    const auto image = ludrin::testing::PeImageWithResourceTree(
        ludrin::testing::RepeatedRcDataTree(entries, entries, u"TFORMMAIX", u"", data));
    for (auto _ : state) {
        benchmark::DoNotOptimize(ludrin::pack::FindRcData(image, u"TFORMMAIN"));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(image.size()));
    state.counters["image_bytes"] = static_cast<double>(image.size());
}
BENCHMARK(BM_FindRcDataRepeatedTree)
    ->Arg(1024)
    ->Arg(16384)
    ->Arg(65535)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
