#include "stored_digest.hpp"

#include "hash/sha256.hpp"
#include "store/stored_file.hpp"

namespace ludrin::pack {

void ReadStoredPieces(const store::RecordView& record, bool packed,
                      const std::function<void(std::span<const std::uint8_t>)>& sink) {
    store::TStoredFile stored;
    stored.InContainer = store::TStoredFile::ContainerBytes{record.body, packed};
    stored.Size = record.size;
    stored.ReadPieces(sink);
}

std::string StoredFileSha256(const store::RecordView& record, bool packed) {
    hash::Sha256 hasher;
    ReadStoredPieces(record, packed,
                     [&hasher](std::span<const std::uint8_t> piece) { hasher.Update(piece); });
    return hash::ToHex(hasher.Final());
}

} // namespace ludrin::pack
