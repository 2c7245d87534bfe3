#include "store/container_layout.hpp"
#include "store/block_packer.hpp"

#include <string>

namespace ludrin::store {
namespace {

std::uint32_t ReadField(ByteReader& reader, const char* what) {
    if (reader.Remaining() < 4) {
        throw EStoreError(std::string("the ") + what + " field runs past the end of the container");
    }
    return reader.ReadU32();
}

std::span<const std::uint8_t> TakeBytes(ByteReader& reader, std::uint32_t count, const char* what) {
    if (count > reader.Remaining()) {
        throw EStoreError(std::string("the ") + what + " of " + std::to_string(count) +
                          " bytes runs past the end of the container (" +
                          std::to_string(reader.Remaining()) + " bytes left)");
    }
    return reader.Take(count);
}

} // namespace

RecordView ReadRecord(ByteReader& reader, bool packed) {
    RecordView record;
    record.offset = reader.Position();
    if (!packed) {
        // The older layout keeps the stream's own read error.
        record.name = reader.Take(reader.ReadU32());
        record.length = reader.ReadU32();
        record.size = record.length;
        record.body = reader.Take(record.length);
        return record;
    }
    record.name = TakeBytes(reader, ReadField(reader, "name length"), "name");
    record.length = ReadField(reader, "packed length");
    if (record.length < 4) {
        throw EStoreError("the packed length " + std::to_string(record.length) +
                          " is below the 4 bytes of its size field");
    }
    const auto packedBytes = TakeBytes(reader, record.length, "packed data");
    ByteReader packedReader(packedBytes);
    record.size = packedReader.ReadU32();
    record.body = packedBytes.subspan(4);
    return record;
}

ContainerView WalkContainer(std::span<const std::uint8_t> container) {
    ByteReader reader(container);
    ContainerView view;
    const std::uint32_t first = reader.ReadU32();
    view.compressed = first == kContainerSignature;
    const std::uint32_t second = reader.ReadU32();
    view.count = view.compressed ? second : first;
    for (std::uint32_t slot = 0; slot < view.count; ++slot) {
        const std::size_t offset = reader.Position();
        try {
            view.records.push_back(ReadRecord(reader, view.compressed));
        } catch (const EReadError&) {
            throw EStoreError("stored file " + std::to_string(slot) + " at offset " +
                              std::to_string(offset) + ": Stream read error");
        } catch (const EStoreError& error) {
            throw EStoreError("stored file " + std::to_string(slot) + " at offset " +
                              std::to_string(offset) + ": " + error.what());
        }
    }
    view.end = reader.Position();
    return view;
}

void UnpackRecord(const RecordView& record, std::vector<std::uint8_t>& data) {
    const BlockCounts blocks = CountBlocks(record.body);
    if (record.size > blocks.Total() * kChunkSize) {
        throw EStoreError("a size of " + std::to_string(record.size) + " bytes cannot come from " +
                          std::to_string(blocks.Total()) + " packed blocks");
    }
    data.resize(record.size);
    const std::size_t produced = SFUnpack(record.body, data);
    if (produced != record.size) {
        throw EStoreError("the packed blocks unpack to " + std::to_string(produced) +
                          " bytes instead of the file's size of " + std::to_string(record.size));
    }
}

} // namespace ludrin::store
