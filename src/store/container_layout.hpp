#pragma once
// The byte layout of the stored-data container: "SFP1", a count and one record per stored
// file (name, packed length, size, packed blocks), or the older layout without signature
// whose records hold the data unpacked. Records are walked in place, never copied.

#include "bytes/byte_reader.hpp"
#include "store/block_packer.hpp"
#include "store/store_error.hpp"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace ludrin::store {

// "SFP1" read as one little-endian word.
inline constexpr std::uint32_t kContainerSignature = 0x31504653;

// One record as it lies in the container.
struct RecordView {
    std::size_t offset = 0;             // of the record in the container
    std::span<const std::uint8_t> name; // raw name bytes (UTF-8 by intent, not validated)
    std::uint32_t length = 0;           // packed length P, or the data length of a legacy record
    std::uint32_t size = 0;             // unpacked size
    std::span<const std::uint8_t> body; // the block sequence (P - 4 bytes), or the legacy data
};

// Reads one record at the reader's position. A signature-layout record whose fields run
// past the end, or whose packed length is below 4, is an EStoreError naming the fault; a
// legacy record cut short is the plain EReadError ("Stream read error").
RecordView ReadRecord(bytes::ByteReader& reader, bool packed);

struct ContainerView {
    bool compressed = false; // had the signature
    std::uint32_t count = 0;
    std::vector<RecordView> records;
    std::size_t end = 0; // where the last record ends
};

// Walks a whole container without unpacking anything: the one reading of its layout. A
// header cut short is the plain EReadError; a damaged signature-layout record is an
// EStoreError carrying the record's slot and offset; a legacy record cut short is
// ERecordCutShort, whose text stays the plain "Stream read error".
ContainerView WalkContainer(std::span<const std::uint8_t> container);

// An error of the record at a slot, placed as the walk places its own.
EStoreError RecordError(std::size_t slot, std::size_t offset, const std::string& what);

// Stretches of packed blocks handed to a store's OnContainerRead hook, in bytes (at least).
inline constexpr std::size_t kContainerStretch = 4u << 20;

// Raises the store's error when the blocks unpacked to another size than the file's.
void CheckUnpackedSize(std::uint64_t size, std::uint64_t produced);

// Checks a signature-layout record's blocks completely, writing nothing: they must unpack to
// exactly its size. Memory stays constant whatever the size claims. With `done`, the blocks
// are checked in stretches of kContainerStretch bytes, each handed to it once checked.
void CheckRecord(const RecordView& record,
                 const std::function<void(std::span<const std::uint8_t>)>& done = nullptr);

// Unpacks a signature-layout record into `data` (resized to its size). The blocks are
// checked first, so a forged size cannot demand gigabytes from a few packed bytes; the
// blocks must unpack to exactly the size.
void UnpackRecord(const RecordView& record, std::vector<std::uint8_t>& data);

// Unpacks a signature-layout record piece by piece into `sink` (see SFUnpackPieces), never
// holding more than one chunk. Throws EStoreError when the blocks are damaged or do not
// come to exactly the size; the pieces before the fault have been delivered by then.
void UnpackRecordPieces(const RecordView& record, const UnpackSink& sink);

} // namespace ludrin::store
