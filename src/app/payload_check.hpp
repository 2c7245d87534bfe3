#pragma once
// Whether the installer has its payload: checked once at start-up, so that a copy without
// it says so at once instead of failing later with a generic message.

#include "store/file_storage.hpp"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace ludrin::app {

// The reason the payload is missing, on one line, for the damaged-installer message:
// an empty form resource, a form without "StoredData", or a store with fewer files than
// the payload's slots. Nothing when the payload is all there.
std::optional<std::wstring> MissingPayload(std::span<const std::uint8_t> formResource,
                                           const store::TstFileStorage& store);

} // namespace ludrin::app
