// The real ludrin-pack on containers whose declared sizes are far beyond what a few packed
// bytes hold: its peak memory, as the kernel measured it for the child process, follows
// the data really there, never the size a record declares.

#include "support/temp_dir.hpp"
#include "unit/store/store_test_util.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

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

struct ToolRun {
    int code = -1;
    long peakKiB = 0;
    std::string output;
};

// Runs the tool with its output in a file and takes its peak resident size from wait4.
ToolRun RunTool(const std::vector<std::string>& args, const std::filesystem::path& log) {
    std::vector<char*> argv{const_cast<char*>(LUDRIN_PACK_EXE)};
    for (const auto& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        const int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(fd, 1);
        dup2(fd, 2);
        execv(argv[0], argv.data());
        _exit(127);
    }
    ToolRun run;
    int status = 0;
    rusage usage{};
    if (child > 0 && wait4(child, &status, 0, &usage) == child && WIFEXITED(status)) {
        run.code = WEXITSTATUS(status);
        run.peakKiB = usage.ru_maxrss;
    }
    run.output = ReadFile(log);
    return run;
}

// A container of one stored file whose blocks are `blocks`, declaring `size` bytes.
Bytes Container(std::uint32_t size, const Bytes& blocks) {
    return Cat({Text("SFP1"), U32(1), U32(8), Text("bomb.bin"),
                U32(static_cast<std::uint32_t>(4 + blocks.size())), U32(size), blocks});
}

Bytes Repeat(const Bytes& block, std::size_t times) {
    Bytes out;
    out.reserve(block.size() * times);
    for (std::size_t i = 0; i < times; ++i) {
        out.insert(out.end(), block.begin(), block.end());
    }
    return out;
}

// Far below what holding the declared bytes would take, far above the tool's own needs
// (an address-sanitizer build included).
constexpr long kBoundKiB = 200 * 1024;

class LudrinPackMemory : public ::testing::Test {
protected:
    std::string P(const char* name) const { return (temp / name).string(); }
    TempDir temp;
};

TEST_F(LudrinPackMemory, AForgedSizeOverEmptyBlocksFailsWithoutTakingIt) {
    // 65,540 blocks that unpack to nothing, declaring nearly 4 GiB: the count of blocks
    // allows the size, the blocks do not produce it.
    const Bytes empty = Cat({U16(2), Hex({0x00, 0x00})});
    const Bytes forged = Container(0xFFFFFFF0, Repeat(empty, 65540));
    WriteFile(temp / "forged.bin", std::string(forged.begin(), forged.end()));
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"verify", P("forged.bin")},
          std::vector<std::string>{"extract", P("forged.bin"), "0", P("out.bin")}}) {
        const ToolRun run = RunTool(args, temp / "log.txt");
        EXPECT_EQ(run.code, 1) << run.output;
        EXPECT_THAT(run.output,
                    HasSubstr("unpack to 0 bytes instead of the file's size of 4294967280"));
        EXPECT_LT(run.peakKiB, kBoundKiB) << args[0];
    }
    EXPECT_FALSE(std::filesystem::exists(temp / "out.bin")) << "no partial file";
}

TEST_F(LudrinPackMemory, VerifyingARunLengthBombHoldsOneBlockAtATime) {
    // 4,097 blocks of one 65,533-byte run each: 36 KiB packed, 256 MiB unpacked, and a
    // genuine packing of it, so it verifies.
    const Bytes zeros = Cat({U16(7), Hex({0x01, 0x00, 0x01, 0x00, 0x00}), U16(kChunkSize - 1)});
    const std::uint32_t size = 4097 * kChunkSize;
    const Bytes c = Container(size, Repeat(zeros, 4097));
    WriteFile(temp / "bomb.bin", std::string(c.begin(), c.end()));
    const ToolRun run = RunTool({"verify", P("bomb.bin")}, temp / "log.txt");
    EXPECT_EQ(run.code, 0) << run.output;
    EXPECT_THAT(run.output, HasSubstr("re-packs identically"));
    EXPECT_LT(run.peakKiB, kBoundKiB);
}

} // namespace
} // namespace ludrin::store
