#pragma once
// A stored file's bytes, read in pieces where they lie, and their SHA-256 as sha256sum
// prints it.

#include "store/container_layout.hpp"

#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace ludrin::pack {

// Hands the file, as the installer unpacks it (a legacy record's bytes as they lie), to
// `sink` piece by piece: the whole file is never held. Damaged blocks throw EStoreError.
void ReadStoredPieces(const store::RecordView& record, bool packed,
                      const std::function<void(std::span<const std::uint8_t>)>& sink);

std::string StoredFileSha256(const store::RecordView& record, bool packed);

} // namespace ludrin::pack
