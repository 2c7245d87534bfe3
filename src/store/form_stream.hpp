#pragma once
// The binary form stream ("TPF0") that carries the store inside the main window's form
// resource: the store component's record holds the container as the byte-block property
// "StoredData".

#include "store/file_storage.hpp"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace ludrin::store {

inline constexpr std::uint8_t kFormSignature[4] = {'T', 'P', 'F', '0'};

// The value of the first "StoredData" byte-block property of any component, whatever its
// class, in place; nothing when the form has none. Every other property of every value
// type is skipped. A stream that is not a well-formed form up to that point throws
// EStoreError.
std::optional<std::span<const std::uint8_t>> FindStoredData(std::span<const std::uint8_t> form);

// Fills the store from a form stream; a form without "StoredData" leaves it empty.
void ReadFormStream(std::span<const std::uint8_t> form, TstFileStorage& store);

// The main window's form with the store as its one component. "StoredData" is written only
// when the store holds files.
std::vector<std::uint8_t> WriteFormStream(const TstFileStorage& store);

} // namespace ludrin::store
