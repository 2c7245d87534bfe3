// The window's pictures are drawn from shapes at the first paint of each control: the
// emblem at 128 pixels with its reflection is the largest, a button's glyph the common case.

#include "ui/controls/artwork.hpp"

#include <benchmark/benchmark.h>

namespace {

using ludrin::ui::Artwork;

void BM_DrawArtwork(benchmark::State& state) {
    const auto artwork = static_cast<Artwork>(state.range(0));
    const int size = static_cast<int>(state.range(1));
    for (auto _ : state) {
        benchmark::DoNotOptimize(ludrin::ui::DrawArtwork(artwork, size).pixels.data());
    }
}
BENCHMARK(BM_DrawArtwork)
    ->ArgNames({"artwork", "size"})
    ->Args({static_cast<int>(Artwork::Emblem), 128})
    ->Args({static_cast<int>(Artwork::Emblem), 32})
    ->Args({static_cast<int>(Artwork::Help), 32})
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
