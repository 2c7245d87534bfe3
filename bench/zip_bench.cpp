// The ZIP reader's hot paths: decoding a large deflated entry beside zlib's own inflate of
// the same data in the same run, and opening archives of 1,000 to 100,000 entries (time
// per entry should stay flat).

#include "hash/crc32.hpp"
#include "support/zip_writer.hpp"
#include "zip/zip_decoder.hpp"
#include "zip/zip_directory.hpp"
#include "zip/zip_reader.hpp"
#include "zip/zip_stream.hpp"

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace {

using namespace ludrin::zip;
using ludrin::testing::ZipArchivePlan;
using ludrin::testing::ZipEntryPlan;

// 64 MiB of mixed content: text runs and incompressible stretches, as a DLL folder holds.
const std::string& Content() {
    static const std::string content = [] {
        std::string data;
        for (std::uint32_t i = 0; data.size() < (64u << 20); ++i) {
            data += ludrin::testing::TextBytes(192 << 10, i);
            data += ludrin::testing::RandomBytes(64 << 10, i);
        }
        data.resize(64u << 20);
        return data;
    }();
    return content;
}

struct LargeArchive {
    LargeArchive() {
        ZipArchivePlan spec;
        ZipEntryPlan entry;
        entry.name = "big.dll";
        entry.data = Content();
        spec.entries = {entry};
        const std::string archive = ludrin::testing::WriteZip(spec);
        bytes.assign(archive.begin(), archive.end());
        raw = ludrin::testing::Deflate(Content());
    }
    std::vector<std::uint8_t> bytes;
    std::string raw;
};

const LargeArchive& Large() {
    static const LargeArchive large;
    return large;
}

class Sink final : public ZipOutput {
public:
    std::size_t Write(std::span<const std::uint8_t> bytes) override {
        benchmark::DoNotOptimize(bytes.data());
        return bytes.size();
    }
};

void BM_ZlibInflate(benchmark::State& state) {
    const std::string& raw = Large().raw;
    std::vector<std::uint8_t> out(1 << 20);
    for (auto _ : state) {
        z_stream s{};
        inflateInit2(&s, -MAX_WBITS);
        s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(raw.data()));
        s.avail_in = static_cast<uInt>(raw.size());
        int result = Z_OK;
        while (result == Z_OK) {
            s.next_out = out.data();
            s.avail_out = static_cast<uInt>(out.size());
            result = inflate(&s, Z_NO_FLUSH);
            benchmark::DoNotOptimize(out.data());
        }
        if (result != Z_STREAM_END || s.total_out != Content().size()) {
            state.SkipWithError("inflate failed");
        }
        inflateEnd(&s);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Content().size()));
}
BENCHMARK(BM_ZlibInflate)->Unit(benchmark::kMillisecond)->MinTime(2);

// The same with the CRC-32 of every output buffer, the check any verified decoding pays
// (zlib's own gzip decoding does the same).
void BM_ZlibInflateWithCrc(benchmark::State& state) {
    const std::string& raw = Large().raw;
    const std::uint32_t expected = ludrin::testing::Crc32(Content());
    std::vector<std::uint8_t> out(1 << 20);
    for (auto _ : state) {
        z_stream s{};
        inflateInit2(&s, -MAX_WBITS);
        s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(raw.data()));
        s.avail_in = static_cast<uInt>(raw.size());
        int result = Z_OK;
        uLong crc = 0;
        while (result == Z_OK) {
            s.next_out = out.data();
            s.avail_out = static_cast<uInt>(out.size());
            result = inflate(&s, Z_NO_FLUSH);
            crc = crc32(crc, out.data(), static_cast<uInt>(out.size() - s.avail_out));
        }
        if (result != Z_STREAM_END || crc != expected) {
            state.SkipWithError("inflate failed");
        }
        inflateEnd(&s);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Content().size()));
}
BENCHMARK(BM_ZlibInflateWithCrc)->Unit(benchmark::kMillisecond)->MinTime(2);

// The check alone: zlib's tables beside the folded CRC-32 the decoder uses.
void BM_Crc32(benchmark::State& state) {
    const auto bytes =
        std::span(reinterpret_cast<const std::uint8_t*>(Content().data()), Content().size());
    const bool zlibTables = state.range(0) == 0;
    for (auto _ : state) {
        std::uint32_t crc = 0;
        for (std::size_t at = 0; at < bytes.size(); at += 1 << 20) {
            const auto piece = bytes.subspan(at, std::min<std::size_t>(1 << 20, bytes.size() - at));
            crc = zlibTables ? static_cast<std::uint32_t>(
                                   crc32(crc, piece.data(), static_cast<uInt>(piece.size())))
                             : ludrin::hash::Crc32(crc, piece);
        }
        benchmark::DoNotOptimize(crc);
    }
    state.SetLabel(zlibTables ? "zlib" : "folded");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Content().size()));
}
BENCHMARK(BM_Crc32)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(1);

void BM_DecodeDeflatedEntry(benchmark::State& state) {
    const MemoryZipStream stream(Large().bytes);
    TZipDirManager dm(stream);
    LoadDir(dm, {});
    for (auto _ : state) {
        Sink out;
        SilentDecodeHooks hooks;
        if (!InternalDecompressFile(dm, dm.CDir[0], out, hooks).ok) {
            state.SkipWithError("decode failed");
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Content().size()));
}
BENCHMARK(BM_DecodeDeflatedEntry)->Unit(benchmark::kMillisecond)->MinTime(2);

// An archive file of `count` small stored entries in folders, as a payload of DLLs.
std::filesystem::path ManyEntries(std::size_t count) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("ludrin-zip-bench-" + std::to_string(count) + ".zip");
    if (!std::filesystem::exists(path)) {
        ZipArchivePlan spec;
        spec.zip64EndRecords = count > 0xFFFF; // more entries than the end record counts
        for (std::size_t i = 0; i < count; ++i) {
            ZipEntryPlan e;
            char name[64];
            std::snprintf(name, sizeof name, "brvdll/lib%zu/module%zu.dll", i % 97, i);
            e.name = name;
            e.data.assign(1, 'x');
            e.method = 0;
            e.centralExtra = ludrin::testing::ExtraBlock(0x000A, std::string(32, '\0'));
            spec.entries.push_back(e);
        }
        std::ofstream(path, std::ios::binary) << ludrin::testing::WriteZip(spec);
    }
    return path;
}

void BM_OpenArchive(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    const auto path = ManyEntries(count);
    for (auto _ : state) {
        TZipReader reader;
        reader.FileName = path.wstring();
        reader.OpenArchive(kOpenModeReadDenyWrite);
        if (reader.Count() != count) {
            state.SkipWithError("wrong count");
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * count));
    // What the open directory keeps on the heap, per entry.
    const std::size_t before = mallinfo2().uordblks;
    TZipReader reader;
    reader.FileName = path.wstring();
    reader.OpenArchive(kOpenModeReadDenyWrite);
    state.counters["heap_per_entry"] =
        static_cast<double>(mallinfo2().uordblks - before) / static_cast<double>(count);
}
BENCHMARK(BM_OpenArchive)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
