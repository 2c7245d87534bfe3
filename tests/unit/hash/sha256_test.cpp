// SHA-256 held to the published test vectors, to sha256sum (run as a child process) on the
// lengths where the padding changes shape, and to itself when fed in pieces.

#include "hash/sha256.hpp"
#include "support/payload_generator.hpp"
#include "support/temp_dir.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace ludrin::hash {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes FromText(const std::string& text) {
    return {text.begin(), text.end()};
}

std::string HexOf(const Bytes& bytes) {
    return ToHex(Sha256Of(bytes));
}

TEST(Sha256, PublishedVectors) {
    struct Case {
        std::string input;
        const char* digest;
    };
    const Case cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {"abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqr"
         "lmnopqrsmnopqrstnopqrstu",
         "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
        {std::string(1000000, 'a'),
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HexOf(FromText(c.input)), c.digest) << c.input.size() << " bytes";
    }
}

std::string Sha256sumOf(const std::filesystem::path& file) {
    const std::string command = "sha256sum '" + file.string() + "'";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return {};
    }
    char line[128] = {};
    const bool read = std::fgets(line, sizeof line, pipe) != nullptr;
    pclose(pipe);
    return read ? std::string(line, 64) : std::string();
}

// 55 and 56 bytes left in the last block decide whether the length still fits in it.
TEST(Sha256, MatchesSha256sumAroundTheBlockAndPaddingEdges) {
    testing::TempDir temp;
    for (const std::size_t size : {1, 55, 56, 57, 63, 64, 65, 119, 120, 128, 4097}) {
        const Bytes data = testing::MachineCodeLike(size, size);
        const auto file = temp / ("data" + std::to_string(size));
        testing::WriteFile(file, std::string(data.begin(), data.end()));
        EXPECT_EQ(HexOf(data), Sha256sumOf(file)) << size << " bytes";
    }
}

TEST(Sha256, PiecesOfAnySizeGiveTheSameDigest) {
    const Bytes data = testing::TextLike(5000, 7);
    const std::string whole = HexOf(data);
    for (const std::size_t piece : {1, 3, 55, 63, 64, 65, 127, 4999}) {
        Sha256 hasher;
        hasher.Update({});
        for (std::size_t at = 0; at < data.size(); at += piece) {
            const std::size_t take = std::min(piece, data.size() - at);
            hasher.Update(std::span<const std::uint8_t>(data).subspan(at, take));
        }
        EXPECT_EQ(ToHex(hasher.Final()), whole) << "pieces of " << piece;
    }
}

TEST(Sha256, FinalStartsAfresh) {
    Sha256 hasher;
    hasher.Update(FromText("first file"));
    (void)hasher.Final();
    hasher.Update(FromText("abc"));
    EXPECT_EQ(ToHex(hasher.Final()), HexOf(FromText("abc")));
}

} // namespace
} // namespace ludrin::hash
