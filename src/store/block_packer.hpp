#pragma once
// The run-length block packer of stored files. Input is cut into chunks of 65,533 bytes,
// each packed into one self-contained block: escape mode when some byte value is absent
// from the chunk (the lowest absent value marks the runs), position-table mode when all 256
// values occur (the runs are located by a table at the block's end).

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

namespace ludrin::store {

// The largest chunk whose block length always fits the 16-bit length field.
inline constexpr std::size_t kChunkSize = 65533;

// Destination capacity SFPack needs for `count` input bytes.
std::size_t SFCalcTargetSz(std::size_t count);

// Packs all of `source` (below 4 GiB) into `destination`, which must hold at least
// SFCalcTargetSz(source.size()) bytes. Returns the packed length: the 4-byte size field
// plus the block sequence. Throws std::invalid_argument for a too small destination.
std::size_t SFPack(std::span<const std::uint8_t> source, std::span<std::uint8_t> destination);

// Unpacks a block sequence (without the leading size field) into `destination` and
// returns the number of bytes produced. Damaged input (a block running past the sequence,
// a run record cut short, a bad position table, more output than `destination` holds)
// throws EStoreError; nothing outside the two buffers is ever touched.
std::size_t SFUnpack(std::span<const std::uint8_t> source, std::span<std::uint8_t> destination);

// Checks a block sequence completely, as SFUnpack would, and answers how many bytes it
// unpacks to, without writing them anywhere. Damage, or more than `limit` bytes of output,
// throws EStoreError as SFUnpack does.
std::uint64_t SFMeasure(std::span<const std::uint8_t> source, std::uint64_t limit);

// Receives unpacked bytes in order: `bytes` come from block number `block` and stay valid
// only during the call. A block's bytes arrive in one piece of at most kChunkSize bytes
// (one chunk, as the packer makes them), or in several when a block unpacks to more; no
// piece holds bytes of two blocks.
using UnpackSink = std::function<void(std::size_t block, std::span<const std::uint8_t> bytes)>;

// Unpacks a block sequence piece by piece into `sink` (a file, a checksum, a compare),
// holding one chunk of output at a time. Damage throws EStoreError as SFUnpack does, after
// the pieces before it were delivered; so does output beyond `limit` bytes, before any of
// the excess is delivered. Returns the number of bytes produced. Exceptions thrown by the
// sink pass through.
std::uint64_t SFUnpackPieces(std::span<const std::uint8_t> source, std::uint64_t limit,
                             const UnpackSink& sink);

// Where a stretch of whole blocks of at least `bytes` packed bytes (or up to the end)
// starting at `start` ends, following the blocks' length fields. A field running past the
// end ends the stretch at the end, where unpacking or counting reports it.
std::size_t BlockStretchEnd(std::span<const std::uint8_t> source, std::size_t start,
                            std::size_t bytes);

// Hands `source` to `visit` stretch by stretch, as BlockStretchEnd cuts it, in order.
void ForEachStretch(std::span<const std::uint8_t> source, std::size_t bytes,
                    const std::function<void(std::span<const std::uint8_t>)>& visit);

// How the blocks of a sequence are coded; checks the framing only.
struct BlockCounts {
    std::size_t escape = 0;
    std::size_t positionTable = 0;
    std::size_t Total() const { return escape + positionTable; }
};
BlockCounts CountBlocks(std::span<const std::uint8_t> source);

} // namespace ludrin::store
