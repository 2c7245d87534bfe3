#pragma once
// Errors of the payload store. Malformed stored data is always reported, never guessed at.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace ludrin::store {

// Damaged or inconsistent stored data (packed blocks, container, form stream).
class EStoreError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A read that needs more bytes than the stream still holds.
class EReadError : public EStoreError {
public:
    EReadError() : EStoreError("Stream read error") {}
};

// A record of the older layout cut short: still the plain read error, but it knows which.
class ERecordCutShort : public EReadError {
public:
    ERecordCutShort(std::uint32_t slot, std::size_t offset) : Slot(slot), Offset(offset) {}
    std::uint32_t Slot;
    std::size_t Offset;
};

// An index outside the list of stored files.
class EListError : public std::out_of_range {
public:
    explicit EListError(std::int64_t index)
        : std::out_of_range("List index out of bounds (" + std::to_string(index) + ")") {}
};

} // namespace ludrin::store
