#include "stored_digest.hpp"

#include "hash/sha256.hpp"

namespace ludrin::pack {

std::vector<std::uint8_t> StoredBytes(const store::RecordView& record, bool packed) {
    if (!packed) {
        return {record.body.begin(), record.body.end()};
    }
    std::vector<std::uint8_t> data;
    store::UnpackRecord(record, data);
    return data;
}

std::string StoredFileSha256(const store::RecordView& record, bool packed) {
    // Hashed as the blocks unpack: the whole file is never held at once.
    hash::Sha256 hasher;
    if (packed) {
        store::UnpackRecordPieces(
            record,
            [&hasher](std::size_t, std::span<const std::uint8_t> piece) { hasher.Update(piece); });
    } else {
        hasher.Update(record.body);
    }
    return hash::ToHex(hasher.Final());
}

} // namespace ludrin::pack
