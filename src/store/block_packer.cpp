// Packing into blocks: escape mode for text-like data, a position table of runs for the rest.

#include "store/block_packer.hpp"
#include "store/store_error.hpp"

#include "bytes/byte_writer.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

// Escape-mode packing compares 16 positions at a time where the target has SSE2 (every
// x86-64); elsewhere the same rounds run on 64-bit words.
#if defined(__SSE2__) || defined(_M_X64) || defined(_M_AMD64)
#include <emmintrin.h>
#define LUDRIN_PACKER_SSE2 1
#endif

namespace ludrin::store {
namespace {

constexpr std::size_t kMinEscapeRun = 4;
constexpr std::size_t kMinTableRun = 5;
constexpr std::size_t kMaxShortCount = 255;
// Every position-table run covers at least five bytes.
constexpr std::size_t kMaxRunsPerChunk = kChunkSize / kMinTableRun + 1;

constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
// Archives and machine code show every byte value within their first kilobyte.
constexpr std::size_t kPrefix = 1024;
constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;

std::uint64_t Load64(const std::uint8_t* p) {
    std::uint64_t value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

// The high bit of every byte of `x` that is zero, exactly (no borrow between bytes).
std::uint64_t ZeroByteFlags(std::uint64_t x) {
    return ~(((x & kLow7) + kLow7) | x | kLow7);
}

// Index, in memory order, of the first byte whose bits are set in `mask` (mask != 0).
std::size_t FirstMarkedByte(std::uint64_t mask) {
    if constexpr (std::endian::native == std::endian::little) {
        return static_cast<std::size_t>(std::countr_zero(mask)) / 8;
    } else {
        return static_cast<std::size_t>(std::countl_zero(mask)) / 8;
    }
}

// Moves each byte's flag to the byte one lower in memory.
std::uint64_t FlagsOfNextByte(std::uint64_t flags) {
    if constexpr (std::endian::native == std::endian::little) {
        return flags >> 8;
    } else {
        return flags << 8;
    }
}

// First position at or after `p` where `MinRun` equal bytes start, or `end`. Word-wise,
// eight neighbour comparisons at a time, because literal stretches are the common case in
// machine code, archives and text alike.
template <std::size_t MinRun>
const std::uint8_t* FindRunStart(const std::uint8_t* p, const std::uint8_t* end) {
    // A window of 9 bytes gives 8 neighbour flags; a run start needs MinRun - 1 of them, so
    // only the first 10 - MinRun positions of a window are decided by it.
    constexpr std::size_t kDecided = 10 - MinRun;
    while (end - p >= 9) {
        const std::uint64_t pairs = ZeroByteFlags(Load64(p) ^ Load64(p + 1));
        // Archives and machine code rarely have equal neighbours: skip such windows whole.
        // Text has them everywhere, where the branch would only mispredict.
        if (MinRun == kMinTableRun && pairs == 0) {
            p += 8;
            continue;
        }
        std::uint64_t starts = pairs;
        std::uint64_t next = pairs;
        for (std::size_t k = 2; k < MinRun; ++k) {
            next = FlagsOfNextByte(next);
            starts &= next;
        }
        if (starts != 0) {
            return p + FirstMarkedByte(starts);
        }
        p += kDecided;
    }
    for (; static_cast<std::size_t>(end - p) >= MinRun; ++p) {
        std::size_t k = 1;
        while (k < MinRun && p[k] == p[0]) {
            ++k;
        }
        if (k == MinRun) {
            return p;
        }
    }
    return end;
}

// Length of the run of *p that starts at p, never past `end`.
std::size_t RunLength(const std::uint8_t* p, const std::uint8_t* end) {
    const std::uint64_t pattern = kOnes * *p;
    const std::uint8_t* q = p + 1;
    while (end - q >= 8) {
        const std::uint64_t diff = Load64(q) ^ pattern;
        if (diff != 0) {
            return static_cast<std::size_t>(q - p) + FirstMarkedByte(diff);
        }
        q += 8;
    }
    while (q < end && *q == *p) {
        ++q;
    }
    return static_cast<std::size_t>(q - p);
}

// Bytes that one round of the escape-mode scan decides, and the input it reads.
constexpr std::size_t kRound = 32;
constexpr std::size_t kRoundInput = kRound + kMinEscapeRun - 1;

// Result of one round of the escape-mode scan: bit i (0 to 31) for each position p[i] where
// four equal bytes start, and kEscapeSeen when the escape byte occurs among p[0, kRound).
constexpr std::uint64_t kEscapeSeen = std::uint64_t{1} << 32;

// Whether byte i, in memory order, of a word is marked in `flags`.
bool ByteMarked(std::uint64_t flags, std::size_t i) {
    const std::size_t shift = std::endian::native == std::endian::little ? 8 * i : 8 * (7 - i);
    return ((flags >> (shift + 7)) & 1) != 0;
}

// One round of the escape-mode scan over p[0, kRoundInput): copies p[0, kRound) to `out`.
// Portable 64-bit words; the SSE2 round below replaces it where the target has SSE2.
[[maybe_unused]] std::uint64_t EscapeRoundWords(const std::uint8_t* p, std::uint8_t* out,
                                                std::uint8_t escape) {
    std::memcpy(out, p, kRound);
    std::uint64_t result = 0;
    for (std::size_t word = 0; word < kRound; word += 8) {
        const std::uint8_t* q = p + word;
        const std::uint64_t starts =
            ZeroByteFlags((Load64(q) ^ Load64(q + 1)) | (Load64(q + 1) ^ Load64(q + 2)) |
                          (Load64(q + 2) ^ Load64(q + 3)));
        for (std::size_t i = 0; starts != 0 && i < 8; ++i) {
            result |= ByteMarked(starts, i) ? std::uint64_t{1} << (word + i) : 0;
        }
        if (ZeroByteFlags(Load64(q) ^ (kOnes * escape)) != 0) {
            result |= kEscapeSeen;
        }
    }
    return result;
}

#ifdef LUDRIN_PACKER_SSE2
// Run starts among p[0, 16) as bits, the escape byte's occurrences added to `seen`; copies
// the 16 bytes to `out`.
unsigned RunStarts16(const std::uint8_t* p, std::uint8_t* out, __m128i escape, __m128i& seen) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
    const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 2));
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 3));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), a);
    seen = _mm_or_si128(seen, _mm_cmpeq_epi8(a, escape));
    const __m128i equal = _mm_and_si128(_mm_and_si128(_mm_cmpeq_epi8(a, b), _mm_cmpeq_epi8(b, c)),
                                        _mm_cmpeq_epi8(c, d));
    return static_cast<unsigned>(_mm_movemask_epi8(equal));
}

std::uint64_t EscapeRound(const std::uint8_t* p, std::uint8_t* out, std::uint8_t escape) {
    const __m128i wanted = _mm_set1_epi8(static_cast<char>(escape));
    __m128i seen = _mm_setzero_si128();
    const std::uint32_t starts =
        RunStarts16(p, out, wanted, seen) | (RunStarts16(p + 16, out + 16, wanted, seen) << 16);
    return starts | (_mm_movemask_epi8(seen) != 0 ? kEscapeSeen : 0);
}
#else
std::uint64_t EscapeRound(const std::uint8_t* p, std::uint8_t* out, std::uint8_t escape) {
    return EscapeRoundWords(p, out, escape);
}
#endif

// Escape mode: copies the literals from p up to the next start of four equal bytes to
// `out` and answers that start, or `end`; nullptr when the escape byte turns out to occur
// among the bytes looked at. Each round copies kRound bytes before it knows how many are
// literals; the surplus lies beyond the block's output so far and is overwritten by what
// follows, and it stays inside the block's room, because escape-mode output never runs
// ahead of its input (a run of 4 or more bytes becomes 3 or 5) and a round reads
// kRound + 3 input bytes.
const std::uint8_t* CopyEscapeLiterals(const std::uint8_t* p, const std::uint8_t* end,
                                       std::uint8_t escape, std::uint8_t*& out) {
    while (static_cast<std::size_t>(end - p) >= kRoundInput) {
        // Constant steps while no run starts: the next round's loads need not wait for
        // this round's result.
        const std::uint64_t round = EscapeRound(p, out, escape);
        if (round != 0) {
            if ((round & kEscapeSeen) != 0) {
                return nullptr;
            }
            const auto literals = static_cast<std::size_t>(std::countr_zero(round));
            out += literals;
            return p + literals;
        }
        out += kRound;
        p += kRound;
    }
    if (std::memchr(p, escape, static_cast<std::size_t>(end - p)) != nullptr) {
        return nullptr;
    }
    const std::uint8_t* const start = FindRunStart<kMinEscapeRun>(p, end);
    std::memcpy(out, p, static_cast<std::size_t>(start - p));
    out += start - p;
    return start;
}

// Block lengths, counts and positions all fit 16 bits by construction.
void Put16(std::uint8_t* p, std::size_t value) {
    bytes::PutU16(p, static_cast<std::uint16_t>(value));
}

// Run count: L - 1 in one byte, or a 0 byte and L - 1 in 16 bits.
std::uint8_t* PutCount(std::uint8_t* out, std::size_t length) {
    const std::size_t count = length - 1;
    if (count <= kMaxShortCount) {
        *out++ = static_cast<std::uint8_t>(count);
    } else {
        *out++ = 0;
        Put16(out, count);
        out += 2;
    }
    return out;
}

// Marks the values of p[from, to) in `seen`, in strides without branches, and stops early
// once every value has been seen. True when all 256 values occur.
bool MarkValues(const std::uint8_t* p, std::size_t from, std::size_t to,
                std::array<std::uint8_t, 256>& seen) {
    constexpr std::size_t kStride = 1024;
    for (std::size_t start = from; start < to; start += kStride) {
        const std::size_t stop = std::min(to, start + kStride);
        for (std::size_t i = start; i < stop; ++i) {
            seen[p[i]] = 1;
        }
        std::uint64_t all = ~0ULL;
        for (std::size_t i = 0; i < seen.size(); i += 8) {
            all &= Load64(seen.data() + i);
        }
        if (all == kOnes) {
            return true;
        }
    }
    return false;
}

int LowestUnseen(const std::array<std::uint8_t, 256>& seen) {
    for (int value = 0; value < 256; ++value) {
        if (seen[static_cast<std::size_t>(value)] == 0) {
            return value;
        }
    }
    return -1;
}

// The lowest byte value absent from the chunk, or -1 when all 256 occur. On archives and
// machine code every value shows up within the first few kilobytes. Otherwise the values
// missing from that prefix are tried lowest first with memchr over the rest, which runs at
// memory speed: in text the first candidate (0) is usually absent, and one pass decides.
// Values that only turn up late fall back to marking the rest byte by byte.
int LowestAbsentByte(const std::uint8_t* p, std::size_t size) {
    alignas(8) std::array<std::uint8_t, 256> seen{};
    constexpr int kMaxProbes = 8;
    const std::size_t prefix = std::min(size, kPrefix);
    if (MarkValues(p, 0, prefix, seen)) {
        return -1;
    }
    if (prefix == size) {
        return LowestUnseen(seen);
    }
    int probes = 0;
    for (int value = 0; value < 256; ++value) {
        if (seen[static_cast<std::size_t>(value)] != 0) {
            continue;
        }
        if (std::memchr(p + prefix, value, size - prefix) == nullptr) {
            return value; // every lower value occurs
        }
        seen[static_cast<std::size_t>(value)] = 1;
        if (++probes == kMaxProbes) {
            return MarkValues(p, prefix, size, seen) ? -1 : LowestUnseen(seen);
        }
    }
    return -1;
}

// An escape-mode block: literals copied while the run starts are searched. Every byte of
// the chunk is looked at by a round or by the short tail's memchr (a run's first byte lies
// in the round or tail that found it, the rest equal it), so the block also learns whether
// the escape byte occurs in the chunk: then it answers 0 and the block is unusable.
std::size_t PackEscapeChunk(const std::uint8_t* chunk, const std::uint8_t* end, std::uint8_t escape,
                            std::uint8_t* block) {
    std::uint8_t* out = block + 2;
    const std::uint8_t* p = chunk;
    while ((p = CopyEscapeLiterals(p, end, escape, out)) != end) {
        if (p == nullptr) {
            return 0;
        }
        // Runs are maximal, so the byte before a run start never continues it.
        const std::size_t length = RunLength(p, end);
        *out++ = escape;
        *out++ = *p;
        out = PutCount(out, length);
        p += length;
    }
    Put16(block, escape);
    return static_cast<std::size_t>(out - block);
}

// Packs one chunk at `block` and returns the block's length (at most size + 2).
std::size_t PackChunk(const std::uint8_t* chunk, std::size_t size, std::uint8_t* block) {
    const std::uint8_t* const end = chunk + size;
    alignas(8) std::array<std::uint8_t, 256> seen{};
    const std::size_t prefix = std::min(size, kPrefix);
    if (!MarkValues(chunk, 0, prefix, seen)) {
        // In text the lowest value missing from the first kilobyte is nearly always missing
        // from the whole chunk: pack with it, and the packing itself tells whether it was.
        const std::size_t length =
            PackEscapeChunk(chunk, end, static_cast<std::uint8_t>(LowestUnseen(seen)), block);
        if (length != 0) {
            return length;
        }
        const int escape = LowestAbsentByte(chunk, size);
        if (escape >= 0) {
            return PackEscapeChunk(chunk, end, static_cast<std::uint8_t>(escape), block);
        }
    }

    // Position-table mode: every byte value occurs, so runs are located by a table.
    std::array<std::uint16_t, kMaxRunsPerChunk> positions;
    std::size_t runs = 0;
    std::uint8_t* out = block + 2;
    const std::uint8_t* literals = chunk;
    const std::uint8_t* p = chunk;
    while ((p = FindRunStart<kMinTableRun>(p, end)) != end) {
        const std::size_t length = RunLength(p, end);
        std::memcpy(out, literals, static_cast<std::size_t>(p - literals));
        out += p - literals;
        *out++ = *p;
        positions[runs++] = static_cast<std::uint16_t>(out - block);
        out = PutCount(out, length);
        p += length;
        literals = p;
    }
    std::memcpy(out, literals, static_cast<std::size_t>(end - literals));
    out += end - literals;

    Put16(block, static_cast<std::size_t>(out - block));
    // The last run's entry comes first.
    for (std::size_t i = runs; i > 0; --i) {
        Put16(out, positions[i - 1]);
        out += 2;
    }
    return static_cast<std::size_t>(out - block);
}
} // namespace

std::size_t SFCalcTargetSz(std::size_t count) {
    if (count == 0) {
        return 263;
    }
    const std::size_t chunks = (count + kChunkSize - 1) / kChunkSize;
    const std::size_t last = count - (chunks - 1) * kChunkSize;
    // Packing a chunk of c bytes needs max(257, c + 2) bytes behind its 2-byte length.
    const std::size_t shortfall = last + 2 < 257 ? 257 - (last + 2) : 0;
    return 4 + count + 4 * chunks + shortfall;
}

std::size_t SFPack(std::span<const std::uint8_t> source, std::span<std::uint8_t> destination) {
    if (source.size() > std::numeric_limits<std::uint32_t>::max()) {
        throw std::invalid_argument("SFPack: input of 4 GiB or more");
    }
    if (destination.size() < SFCalcTargetSz(source.size())) {
        throw std::invalid_argument("SFPack: destination smaller than SFCalcTargetSz");
    }
    std::uint8_t* const out = destination.data();
    bytes::PutU32(out, static_cast<std::uint32_t>(source.size()));
    std::size_t at = 4;
    for (std::size_t offset = 0; offset < source.size(); offset += kChunkSize) {
        const std::size_t chunk = std::min(kChunkSize, source.size() - offset);
        const std::size_t length = PackChunk(source.data() + offset, chunk, out + at + 2);
        Put16(out + at, length);
        at += 2 + length;
    }
    return at;
}

} // namespace ludrin::store
