#pragma once
// The container of a loaded payload, walked, with its errors worded for the tool's user.

#include "payload_input.hpp"
#include "store/container_layout.hpp"

namespace ludrin::pack {

store::ContainerView WalkPayload(const PayloadInput& input);

// Damage inside one record's blocks, placed like the walk's own errors.
[[noreturn]] void RecordDamaged(const PayloadInput& input, std::size_t slot,
                                const store::RecordView& record, const store::EStoreError& error);

} // namespace ludrin::pack
