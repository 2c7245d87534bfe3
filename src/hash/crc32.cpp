#include "hash/crc32.hpp"

#include <zlib.h>

#include <algorithm>
#include <cstddef>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define LUDRIN_CRC32_FOLDING 1
#include <immintrin.h>
#endif

namespace ludrin::hash {
namespace {

std::uint32_t TableCrc32(std::uint32_t crc, std::span<const std::uint8_t> bytes) {
    // zlib takes at most 4 GiB minus one per call.
    while (!bytes.empty()) {
        const std::size_t piece = std::min<std::size_t>(bytes.size(), 0x40000000);
        crc = static_cast<std::uint32_t>(crc32(crc, bytes.data(), static_cast<uInt>(piece)));
        bytes = bytes.subspan(piece);
    }
    return crc;
}

#if LUDRIN_CRC32_FOLDING

// Folding by carry-less multiplication, in the bit-reflected domain: four 128-bit lanes
// take 64 bytes a step, are folded into one, and the last 128 bits are reduced to 32 by
// Barrett's method. Each constant is x^n mod P for the distance it folds across.
constexpr std::size_t kFoldBlock = 64;
alignas(16) constexpr std::uint64_t kFold512[2] = {0x0154442bd4, 0x01c6e41596};
alignas(16) constexpr std::uint64_t kFold128[2] = {0x01751997d0, 0x00ccaa009e};
alignas(16) constexpr std::uint64_t kFold64[2] = {0x0163cd6124, 0x0000000000};
alignas(16) constexpr std::uint64_t kBarrett[2] = {0x01db710641, 0x01f7011641};

__attribute__((target("pclmul,sse4.1"))) __m128i Fold(__m128i sum, __m128i constants,
                                                      __m128i next) {
    const __m128i low = _mm_clmulepi64_si128(sum, constants, 0x00);
    const __m128i high = _mm_clmulepi64_si128(sum, constants, 0x11);
    return _mm_xor_si128(_mm_xor_si128(high, low), next);
}

__m128i Load(const std::uint8_t* at) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
}

// `size` is at least 64 and a multiple of 16; `crc` and the answer are the inverted
// register, as the folding works on it.
__attribute__((target("pclmul,sse4.1"))) std::uint32_t
FoldedCrc32(std::uint32_t crc, const std::uint8_t* at, std::size_t size) {
    __m128i x1 = _mm_xor_si128(Load(at), _mm_cvtsi32_si128(static_cast<int>(crc)));
    __m128i x2 = Load(at + 16);
    __m128i x3 = Load(at + 32);
    __m128i x4 = Load(at + 48);
    at += kFoldBlock;
    size -= kFoldBlock;
    const __m128i fold512 = _mm_load_si128(reinterpret_cast<const __m128i*>(kFold512));
    for (; size >= kFoldBlock; at += kFoldBlock, size -= kFoldBlock) {
        x1 = Fold(x1, fold512, Load(at));
        x2 = Fold(x2, fold512, Load(at + 16));
        x3 = Fold(x3, fold512, Load(at + 32));
        x4 = Fold(x4, fold512, Load(at + 48));
    }
    const __m128i fold128 = _mm_load_si128(reinterpret_cast<const __m128i*>(kFold128));
    x1 = Fold(x1, fold128, x2);
    x1 = Fold(x1, fold128, x3);
    x1 = Fold(x1, fold128, x4);
    for (; size >= 16; at += 16, size -= 16) {
        x1 = Fold(x1, fold128, Load(at));
    }
    // 128 bits to 64.
    const __m128i low32 = _mm_setr_epi32(~0, 0, ~0, 0);
    x1 = _mm_xor_si128(_mm_clmulepi64_si128(x1, fold128, 0x10), _mm_srli_si128(x1, 8));
    const __m128i fold64 = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(kFold64));
    x1 = _mm_xor_si128(_mm_clmulepi64_si128(_mm_and_si128(x1, low32), fold64, 0x00),
                       _mm_srli_si128(x1, 4));
    // Barrett reduction to 32 bits.
    const __m128i barrett = _mm_load_si128(reinterpret_cast<const __m128i*>(kBarrett));
    __m128i t = _mm_clmulepi64_si128(_mm_and_si128(x1, low32), barrett, 0x10);
    t = _mm_clmulepi64_si128(_mm_and_si128(t, low32), barrett, 0x00);
    return static_cast<std::uint32_t>(_mm_extract_epi32(_mm_xor_si128(x1, t), 1));
}

bool CanFold() {
    static const bool can = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse4.1");
    }();
    return can;
}

#endif

} // namespace

std::uint32_t Crc32(std::uint32_t crc, std::span<const std::uint8_t> bytes) {
#if LUDRIN_CRC32_FOLDING
    if (bytes.size() >= kFoldBlock && CanFold()) {
        const std::size_t folded = bytes.size() & ~std::size_t{15};
        crc = ~FoldedCrc32(~crc, bytes.data(), folded);
        bytes = bytes.subspan(folded);
    }
#endif
    return TableCrc32(crc, bytes);
}

} // namespace ludrin::hash
