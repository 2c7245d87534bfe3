#pragma once
// A stored file's bytes and their SHA-256, as sha256sum prints it.

#include "store/container_layout.hpp"

#include <cstdint>
#include <string>
#include <vector>

namespace ludrin::pack {

// The file as the installer unpacks it (a legacy record's bytes as they lie); damaged blocks
// throw EStoreError.
std::vector<std::uint8_t> StoredBytes(const store::RecordView& record, bool packed);

std::string StoredFileSha256(const store::RecordView& record, bool packed);

} // namespace ludrin::pack
