// Extraction of a payload archive shaped like the shipped one (234 entries: 5 folders and
// 229 deflated DLL-like files, about 96.7 MB unpacked), with the installer's reader and
// settings, beside unzip -o -q, bsdtar -xf and 7zz x -y on the same archive in the same
// run. Every contender runs as its own child process into a fresh folder on the same file
// system; wall time and peak resident memory come from wait4. A second archive with one
// entry of 1 GiB shows that our peak memory does not follow the entry's size.
//
//   ludrin_zip_extract_bench WORK_DIR [ROUNDS]
//   ludrin_zip_extract_bench --extract ARCHIVE DIR   (the measured child: extraction only)

#include "support/zip_writer.hpp"
#include "zip/zip_reader.hpp"

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fsys = std::filesystem;
using ludrin::testing::ZipArchivePlan;
using ludrin::testing::ZipEntryPlan;

std::wstring Wide(const fsys::path& path) {
    const std::string text = path.string();
    return std::wstring(text.begin(), text.end()); // the bench's paths are ASCII
}

int ExtractOnly(const char* archive, const char* dir) {
    ludrin::zip::TZipReader reader;
    reader.Name = "Archiver";
    reader.FileName = Wide(archive);
    reader.OpenArchive(ludrin::zip::kOpenModeReadDenyWrite);
    reader.BaseDir = Wide(dir);
    reader.ExtractFiles(L"*.*", 10431, L"");
    return reader.LastBatch().Complete() ? 0 : 1;
}

// The decoding limit: every deflated entry inflated by zlib into one 1 MiB buffer with its
// CRC-32, the archive read whole into memory first; nothing is written anywhere. Walks the
// local headers, which the generated archives fill in (no data descriptors).
int InflateOnly(const char* archive) {
    std::ifstream in(archive, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto u16 = [&](std::size_t at) {
        return static_cast<unsigned>(static_cast<unsigned char>(bytes[at]) |
                                     static_cast<unsigned char>(bytes[at + 1]) << 8);
    };
    const auto u32 = [&](std::size_t at) {
        return static_cast<std::uint32_t>(u16(at) | static_cast<std::uint32_t>(u16(at + 2)) << 16);
    };
    std::vector<unsigned char> out(1 << 20);
    std::size_t at = 0;
    int failures = 0;
    while (at + 30 <= bytes.size() && u32(at) == 0x04034b50) {
        const unsigned method = u16(at + 8);
        const std::uint32_t crc = u32(at + 14);
        const std::uint32_t packed = u32(at + 18);
        const std::size_t data = at + 30 + u16(at + 26) + u16(at + 28);
        if (method == 8) {
            z_stream z{};
            inflateInit2(&z, -MAX_WBITS);
            z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data() + data));
            z.avail_in = packed;
            uLong sum = crc32(0, nullptr, 0);
            int status = Z_OK;
            while (status == Z_OK) {
                z.next_out = out.data();
                z.avail_out = static_cast<uInt>(out.size());
                status = inflate(&z, Z_NO_FLUSH);
                sum = crc32(sum, out.data(), static_cast<uInt>(out.size() - z.avail_out));
            }
            inflateEnd(&z);
            failures += status != Z_STREAM_END || sum != crc;
        }
        at = data + packed;
    }
    return failures == 0 ? 0 : 1;
}

// Machine-code-like bytes: instruction-ish text runs between incompressible stretches,
// mixed so that deflate keeps about 56% of them, as it does for the shipped DLLs.
std::string DllLike(std::size_t size, std::uint32_t seed) {
    std::string data;
    data.reserve(size + (96 << 10));
    for (std::uint32_t i = 0; data.size() < size; ++i) {
        data += ludrin::testing::TextBytes(40 << 10, seed * 7919 + i);
        data += ludrin::testing::RandomBytes(40 << 10, seed * 104729 + i);
    }
    data.resize(size);
    return data;
}

// 229 file sizes summing to 96.7 MB: a few large libraries and many small ones.
std::vector<std::size_t> FileSizes() {
    std::vector<std::size_t> sizes;
    double weight = 0;
    std::vector<double> weights;
    for (int i = 0; i < 229; ++i) {
        const double w = 1.0 / (1.0 + i * 0.35) + 0.002;
        weights.push_back(w);
        weight += w;
    }
    for (const double w : weights) {
        sizes.push_back(static_cast<std::size_t>(96'700'000.0 * w / weight));
    }
    return sizes;
}

fsys::path MakePayload(const fsys::path& dir) {
    const fsys::path path = dir / "brvdll.zip";
    if (fsys::exists(path)) {
        return path;
    }
    ZipArchivePlan spec;
    const char* folders[] = {"brvdll/", "brvdll/plugins/", "doctotext/", "doctotext/tessdata/",
                             "codecs/"};
    for (const char* folder : folders) {
        ZipEntryPlan entry = ludrin::testing::MakeEntry(folder, "", 0);
        entry.externalAttr = 0x10;
        spec.entries.push_back(entry);
    }
    const auto sizes = FileSizes();
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        const std::string name = std::string(folders[i % 5]) + "lib" + std::to_string(i) + ".dll";
        spec.entries.push_back(
            ludrin::testing::MakeEntry(name, DllLike(sizes[i], static_cast<std::uint32_t>(i))));
    }
    std::ofstream(path, std::ios::binary) << ludrin::testing::WriteZip(spec);
    return path;
}

// One stored entry of 1 GiB, written piece by piece (the generator never holds it).
fsys::path MakeHuge(const fsys::path& dir) {
    const fsys::path path = dir / "huge.zip";
    if (fsys::exists(path)) {
        return path;
    }
    constexpr std::uint64_t kSize = 1ull << 30;
    const std::string piece = DllLike(1 << 20, 1);
    uLong crc = crc32(0, nullptr, 0);
    for (std::uint64_t done = 0; done < kSize; done += piece.size()) {
        crc = crc32(crc, reinterpret_cast<const Bytef*>(piece.data()),
                    static_cast<uInt>(piece.size()));
    }
    using ludrin::testing::Le16;
    using ludrin::testing::Le32;
    const std::string name = "huge.dll";
    const std::string fields = Le16(10) + Le16(0) + Le16(0) + Le16(0x6C21) + Le16(0x5A8A) +
                               Le32(static_cast<std::uint32_t>(crc)) +
                               Le32(static_cast<std::uint32_t>(kSize)) +
                               Le32(static_cast<std::uint32_t>(kSize)) +
                               Le16(static_cast<std::uint16_t>(name.size())) + Le16(0);
    std::ofstream out(path, std::ios::binary);
    out << Le32(0x04034b50) << fields << name;
    for (std::uint64_t done = 0; done < kSize; done += piece.size()) {
        out << piece;
    }
    const std::uint64_t dirAt = 30 + name.size() + kSize;
    const std::string central = Le32(0x02014b50) + Le16(20) + fields + Le16(0) + Le16(0) + Le16(0) +
                                Le32(0x20) + Le32(0) + name;
    out << central << Le32(0x06054b50) << Le16(0) << Le16(0) << Le16(1) << Le16(1)
        << Le32(static_cast<std::uint32_t>(central.size()))
        << Le32(static_cast<std::uint32_t>(dirAt)) << Le16(0);
    return path;
}

struct Measure {
    double seconds;
    double cpuSeconds; // user + system
    long maxRssKiB;
    int status;
};

// posix_spawn, not fork: a forked child would count the bench's own pages in its peak.
Measure RunChild(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
        return {0, 0, 0, 127};
    }
    int status = 0;
    struct rusage usage {};
    wait4(pid, &status, 0, &usage);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const auto cpu = [](const timeval& t) {
        return t.tv_sec + t.tv_usec / 1e6;
    };
    return {seconds, cpu(usage.ru_utime) + cpu(usage.ru_stime), usage.ru_maxrss,
            WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

struct Contender {
    std::string name;
    std::vector<std::string> (*command)(const std::string& self, const std::string& archive,
                                        const std::string& dir);
};

const Contender kContenders[] = {
    {"ours (ExtractFiles, installer settings)",
     [](const std::string& self, const std::string& archive, const std::string& dir) {
         return std::vector<std::string>{self, "--extract", archive, dir};
     }},
    {"unzip -o -q",
     [](const std::string&, const std::string& archive, const std::string& dir) {
         return std::vector<std::string>{"unzip", "-o", "-q", archive, "-d", dir};
     }},
    {"bsdtar -xf",
     [](const std::string&, const std::string& archive, const std::string& dir) {
         return std::vector<std::string>{"bsdtar", "-xf", archive, "-C", dir};
     }},
    {"7zz x -y",
     [](const std::string&, const std::string& archive, const std::string& dir) {
         return std::vector<std::string>{"7zz", "x", "-y", "-bso0", "-bsp0", archive, "-o" + dir};
     }},
    {"python3 zipfile extractall",
     [](const std::string&, const std::string& archive, const std::string& dir) {
         return std::vector<std::string>{
             "python3", "-c",
             "import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])", archive,
             dir};
     }},
    {"zlib inflate + crc32 in memory (limit)",
     [](const std::string& self, const std::string& archive, const std::string&) {
         return std::vector<std::string>{self, "--inflate", archive};
     }},
};

// Rounds interleave the contenders, so that load from elsewhere falls on all of them alike.
void Compare(const std::string& self, const fsys::path& work, const fsys::path& archive, int rounds,
             std::size_t contenders) {
    std::printf("archive %s: %llu bytes, %d rounds\n", archive.filename().c_str(),
                static_cast<unsigned long long>(fsys::file_size(archive)), rounds);
    std::vector<std::vector<double>> times(contenders);
    std::vector<std::vector<double>> cpu(contenders);
    std::vector<long> rss(contenders, 0);
    for (int round = 0; round < rounds; ++round) {
        for (std::size_t c = 0; c < contenders; ++c) {
            const fsys::path dir = work / "out";
            fsys::remove_all(dir);
            fsys::create_directories(dir);
            sync();
            const Measure m = RunChild(
                kContenders[c].command(self, fsys::absolute(archive).string(), dir.string()));
            if (m.status != 0) {
                std::printf("  %s: exit status %d\n", kContenders[c].name.c_str(), m.status);
            }
            times[c].push_back(m.seconds);
            cpu[c].push_back(m.cpuSeconds);
            rss[c] = std::max(rss[c], m.maxRssKiB);
        }
    }
    fsys::remove_all(work / "out");
    for (std::size_t c = 0; c < contenders; ++c) {
        std::sort(times[c].begin(), times[c].end());
        std::sort(cpu[c].begin(), cpu[c].end());
        std::printf("  %-40s wall median %.3f s (min %.3f)  CPU median %.3f s  peak RSS %ld KiB\n",
                    kContenders[c].name.c_str(), times[c][times[c].size() / 2], times[c].front(),
                    cpu[c][cpu[c].size() / 2], rss[c]);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--extract") == 0) {
        return ExtractOnly(argv[2], argv[3]);
    }
    if (argc == 3 && std::strcmp(argv[1], "--inflate") == 0) {
        return InflateOnly(argv[2]);
    }
    if (argc == 3 && std::strcmp(argv[1], "--make-archive") == 0) {
        std::printf("%s\n", MakePayload(argv[2]).c_str());
        return 0;
    }
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s WORK_DIR [ROUNDS]\n", argv[0]);
        return 2;
    }
    const fsys::path work = fsys::absolute(argv[1]);
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
    fsys::create_directories(work);
    const std::string self = fsys::canonical("/proc/self/exe").string();
    // The archive is made by a child: a child's peak memory starts from its parent's at
    // the spawn, so the bench itself must never hold the archive.
    if (RunChild({self, "--make-archive", work.string()}).status != 0) {
        std::fprintf(stderr, "cannot make the archive in %s\n", work.c_str());
        return 1;
    }
    Compare(self, work, MakePayload(work), rounds, std::size(kContenders));
    Compare(self, work, MakeHuge(work), 1, 1);
    return 0;
}
