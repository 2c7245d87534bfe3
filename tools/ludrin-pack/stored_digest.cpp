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
    // The hasher takes pieces: an unpacker that hands over one block at a time feeds it as
    // each block comes out, and the whole file is never needed at once.
    hash::Sha256 hasher;
    if (packed) {
        hasher.Update(StoredBytes(record, packed));
    } else {
        hasher.Update(record.body);
    }
    return hash::ToHex(hasher.Final());
}

} // namespace ludrin::pack
