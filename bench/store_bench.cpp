// Packing, unpacking and reading a whole container of a full-size generated payload: six
// files of the shipped sizes (archive and installers: compressed data; programs: machine
// code), all in position-table mode, plus a text file for escape mode. Each figure has a
// memcpy of the same bytes beside it, measured in the same run.

#include "store/block_packer.hpp"
#include "store/file_storage.hpp"
#include "support/payload_generator.hpp"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

using namespace ludrin::store;
using Bytes = std::vector<std::uint8_t>;

struct Sample {
    Bytes data;
    Bytes packed; // with the size field
};

struct Payload {
    std::vector<Sample> files;
    std::size_t totalSize = 0;
    Bytes container;
    BlockCounts blocks;
};

Sample Make(Bytes data) {
    Sample sample{std::move(data), {}};
    sample.packed.resize(SFCalcTargetSz(sample.data.size()));
    sample.packed.resize(SFPack(sample.data, sample.packed));
    return sample;
}

void Count(BlockCounts& counts, const Sample& sample) {
    const auto c = CountBlocks(std::span<const std::uint8_t>(sample.packed).subspan(4));
    counts.escape += c.escape;
    counts.positionTable += c.positionTable;
}

const Payload& TablePayload() {
    static const Payload payload = [] {
        using namespace ludrin::testing;
        Payload p;
        p.files.push_back(Make(CompressedLike(53978985, 1)));
        p.files.push_back(Make(MachineCodeLike(931328, 2)));
        p.files.push_back(Make(MachineCodeLike(6783488, 3)));
        p.files.push_back(Make(CompressedLike(14088165, 4)));
        p.files.push_back(Make(CompressedLike(4765279, 5)));
        p.files.push_back(Make(CompressedLike(6514961, 6)));
        TstFileStorage store;
        for (const auto& sample : p.files) {
            p.totalSize += sample.data.size();
            Count(p.blocks, sample);
            auto file = std::make_unique<TStoredFile>(&store);
            file->Data = sample.data;
            file->Size = static_cast<std::uint32_t>(sample.data.size());
            file->FileName = L"file.bin";
            store.Files.push_back(std::move(file));
        }
        store.WriteData(p.container);
        return p;
    }();
    return payload;
}

const Payload& TextPayload() {
    static const Payload payload = [] {
        Payload p;
        p.files.push_back(Make(ludrin::testing::TextLike(16 << 20, 7)));
        p.totalSize = p.files[0].data.size();
        Count(p.blocks, p.files[0]);
        return p;
    }();
    return payload;
}

void Report(benchmark::State& state, const Payload& p) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * p.totalSize));
    state.counters["escape_blocks"] = static_cast<double>(p.blocks.escape);
    state.counters["table_blocks"] = static_cast<double>(p.blocks.positionTable);
}

void Memcpy(benchmark::State& state, const Payload& p) {
    std::vector<Bytes> out;
    for (const auto& f : p.files) {
        out.emplace_back(f.data.size());
    }
    for (auto _ : state) {
        for (std::size_t i = 0; i < p.files.size(); ++i) {
            std::memcpy(out[i].data(), p.files[i].data.data(), p.files[i].data.size());
        }
        benchmark::ClobberMemory();
    }
    Report(state, p);
}

void Unpack(benchmark::State& state, const Payload& p) {
    std::vector<Bytes> out;
    for (const auto& f : p.files) {
        out.emplace_back(f.data.size());
    }
    for (auto _ : state) {
        for (std::size_t i = 0; i < p.files.size(); ++i) {
            benchmark::DoNotOptimize(
                SFUnpack(std::span<const std::uint8_t>(p.files[i].packed).subspan(4), out[i]));
        }
        benchmark::ClobberMemory();
    }
    Report(state, p);
}

void Pack(benchmark::State& state, const Payload& p) {
    std::vector<Bytes> out;
    for (const auto& f : p.files) {
        out.emplace_back(SFCalcTargetSz(f.data.size()));
    }
    for (auto _ : state) {
        for (std::size_t i = 0; i < p.files.size(); ++i) {
            benchmark::DoNotOptimize(SFPack(p.files[i].data, out[i]));
        }
        benchmark::ClobberMemory();
    }
    Report(state, p);
}

void BM_Memcpy_TablePayload(benchmark::State& s) {
    Memcpy(s, TablePayload());
}
void BM_SFUnpack_TablePayload(benchmark::State& s) {
    Unpack(s, TablePayload());
}
void BM_SFPack_TablePayload(benchmark::State& s) {
    Pack(s, TablePayload());
}
void BM_Memcpy_Text(benchmark::State& s) {
    Memcpy(s, TextPayload());
}
void BM_SFUnpack_Text(benchmark::State& s) {
    Unpack(s, TextPayload());
}
void BM_SFPack_Text(benchmark::State& s) {
    Pack(s, TextPayload());
}

// Extraction's decoding: every file unpacked piece by piece into one chunk-sized buffer, as
// it streams into its output file (the sink only touches each piece).
void BM_SFUnpackPieces_TablePayload(benchmark::State& state) {
    const Payload& p = TablePayload();
    for (auto _ : state) {
        for (const auto& f : p.files) {
            benchmark::DoNotOptimize(
                SFUnpackPieces(std::span<const std::uint8_t>(f.packed).subspan(4), f.data.size(),
                               [](std::size_t, std::span<const std::uint8_t> piece) {
                                   benchmark::DoNotOptimize(piece.data());
                               }));
        }
    }
    Report(state, p);
}

// The installer's start-up: the whole container read in place and every block checked,
// nothing unpacked.
void BM_ContainerRead(benchmark::State& state) {
    const Payload& p = TablePayload();
    for (auto _ : state) {
        TstFileStorage store;
        store.ReadData(p.container);
        benchmark::DoNotOptimize(store.Files.data());
    }
    Report(state, p);
}

BENCHMARK(BM_Memcpy_TablePayload)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_SFUnpack_TablePayload)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_SFPack_TablePayload)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_SFUnpackPieces_TablePayload)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ContainerRead)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Memcpy_Text)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_SFUnpack_Text)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_SFPack_Text)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();
