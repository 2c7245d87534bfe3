#include "store/container_layout.hpp"
#include "store/block_packer.hpp"

namespace ludrin::store {
namespace {

using bytes::ByteReader;

std::uint32_t ReadField(ByteReader& reader, const char* what) {
    if (reader.Remaining() < 4) {
        throw EStoreError(std::string("the ") + what + " field runs past the end of the container");
    }
    return reader.ReadU32(what);
}

std::span<const std::uint8_t> TakeBytes(ByteReader& reader, std::uint32_t count, const char* what) {
    if (count > reader.Remaining()) {
        throw EStoreError(std::string("the ") + what + " of " + std::to_string(count) +
                          " bytes runs past the end of the container (" +
                          std::to_string(reader.Remaining()) + " bytes left)");
    }
    return reader.Take(count, what);
}

} // namespace

RecordView ReadRecord(ByteReader& reader, bool packed) {
    RecordView record;
    record.offset = reader.Position();
    if (!packed) {
        // The older layout keeps the stream's own read error.
        try {
            record.name = reader.Take(reader.ReadU32("name length"), "name");
            record.length = reader.ReadU32("data length");
            record.size = record.length;
            record.body = reader.Take(record.length, "data");
        } catch (const bytes::ShortRead&) {
            throw EReadError();
        }
        return record;
    }
    record.name = TakeBytes(reader, ReadField(reader, "name length"), "name");
    record.length = ReadField(reader, "packed length");
    if (record.length < 4) {
        throw EStoreError("the packed length " + std::to_string(record.length) +
                          " is below the 4 bytes of its size field");
    }
    const auto packedBytes = TakeBytes(reader, record.length, "packed data");
    record.size = ByteReader::LittleEndian<std::uint32_t>(packedBytes.first(4));
    record.body = packedBytes.subspan(4);
    return record;
}

EStoreError RecordError(std::size_t slot, std::size_t offset, const std::string& what) {
    return EStoreError("stored file " + std::to_string(slot) + " at offset " +
                       std::to_string(offset) + ": " + what);
}

ContainerView WalkContainer(std::span<const std::uint8_t> container) {
    ByteReader reader(container);
    ContainerView view;
    if (reader.Remaining() < 8) {
        throw EReadError();
    }
    const std::uint32_t first = reader.ReadU32("signature or count");
    view.compressed = first == kContainerSignature;
    const std::uint32_t second = reader.ReadU32("count or unused word");
    view.count = view.compressed ? second : first;
    for (std::uint32_t slot = 0; slot < view.count; ++slot) {
        const std::size_t offset = reader.Position();
        try {
            view.records.push_back(ReadRecord(reader, view.compressed));
        } catch (const EReadError&) {
            throw ERecordCutShort(slot, offset);
        } catch (const EStoreError& error) {
            throw RecordError(slot, offset, error.what());
        }
    }
    view.end = reader.Position();
    return view;
}

namespace {

void CheckBlockTotal(std::uint64_t size, std::size_t blocks) {
    if (size > blocks * kChunkSize) {
        throw EStoreError("a size of " + std::to_string(size) + " bytes cannot come from " +
                          std::to_string(blocks) + " packed blocks");
    }
}

void CheckBlockCount(const RecordView& record) {
    CheckBlockTotal(record.size, CountBlocks(record.body).Total());
}

} // namespace

void CheckUnpackedSize(std::uint64_t size, std::uint64_t produced) {
    if (produced != size) {
        throw EStoreError("the packed blocks unpack to " + std::to_string(produced) +
                          " bytes instead of the file's size of " + std::to_string(size));
    }
}

void CheckRecord(const RecordView& record,
                 const std::function<void(std::span<const std::uint8_t>)>& done) {
    if (!done) {
        CheckBlockCount(record);
        CheckUnpackedSize(record.size, SFMeasure(record.body, record.size));
        return;
    }
    // One pass, stretch by stretch, with the same checks in the same order of precedence.
    std::size_t blocks = 0;
    std::uint64_t produced = 0;
    ForEachStretch(record.body, kContainerStretch, [&](std::span<const std::uint8_t> stretch) {
        blocks += CountBlocks(stretch).Total();
        produced += SFMeasure(stretch, record.size - produced);
        done(stretch);
    });
    CheckBlockTotal(record.size, blocks);
    CheckUnpackedSize(record.size, produced);
}

void UnpackRecord(const RecordView& record, std::vector<std::uint8_t>& data) {
    CheckRecord(record);
    data.resize(record.size);
    SFUnpack(record.body, data);
}

void UnpackRecordPieces(const RecordView& record, const UnpackSink& sink) {
    CheckBlockCount(record);
    CheckUnpackedSize(record.size, SFUnpackPieces(record.body, record.size, sink));
}

} // namespace ludrin::store
