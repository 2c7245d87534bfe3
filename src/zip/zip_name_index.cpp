#include "zip/zip_name_index.hpp"

#include "platform/text/ascii_case.hpp"

#include <algorithm>
#include <functional>

namespace ludrin::zip {
namespace {

std::size_t HashOf(const std::wstring& lowered) {
    return std::hash<std::wstring>{}(lowered);
}

} // namespace

void TZipHashedStringList::Clear() {
    names_.clear();
    hashes_.clear();
    slots_.clear();
}

void TZipHashedStringList::Reserve(std::size_t count) {
    names_.reserve(count);
    hashes_.reserve(count);
    // Sized once for the whole directory: growing a large table step by step costs a
    // scattered pass over it at each step.
    std::size_t slots = 64;
    while (slots < 2 * count) {
        slots *= 2;
    }
    if (slots > slots_.size()) {
        Rehash(slots);
    }
}

void TZipHashedStringList::Add(std::wstring_view name) {
    names_.push_back(text::AsciiLowered(name));
    hashes_.push_back(HashOf(names_.back()));
    // Keep the table at most half full so that probes stay short.
    if (slots_.size() < 2 * names_.size()) {
        Rehash(slots_.empty() ? 64 : 2 * slots_.size());
    } else {
        Insert(static_cast<std::uint32_t>(names_.size() - 1));
    }
}

bool TZipHashedStringList::Replace(std::size_t index, std::wstring_view name) {
    if (index >= names_.size()) {
        return false;
    }
    // Rebuilding the probe chains is simplest and keeps every lookup exact; names change
    // only while the directory loads, once per entry with a Unicode name block at most.
    names_[index] = text::AsciiLowered(name);
    hashes_[index] = HashOf(names_[index]);
    Rehash(slots_.size());
    return true;
}

std::int64_t TZipHashedStringList::IndexOf(std::wstring_view name) const {
    if (slots_.empty()) {
        return -1;
    }
    const std::wstring lowered = text::AsciiLowered(name);
    const std::size_t hash = HashOf(lowered);
    for (std::size_t slot = Slot(hash); slots_[slot] != kEmpty; slot = Slot(slot + 1)) {
        const std::uint32_t index = slots_[slot];
        if (hashes_[index] == hash && names_[index] == lowered) {
            return index;
        }
    }
    return -1;
}

void TZipHashedStringList::Insert(std::uint32_t index) {
    // Each name has one slot, holding its first entry: equal names would otherwise pile
    // into one probe chain, and every insert and lookup would walk all of them.
    std::size_t slot = Slot(hashes_[index]);
    for (; slots_[slot] != kEmpty; slot = Slot(slot + 1)) {
        const std::uint32_t other = slots_[slot];
        if (hashes_[other] == hashes_[index] && names_[other] == names_[index]) {
            slots_[slot] = std::min(other, index);
            return;
        }
    }
    slots_[slot] = index;
}

void TZipHashedStringList::Rehash(std::size_t slotCount) {
    slots_.assign(slotCount, kEmpty);
    for (std::uint32_t i = 0; i < names_.size(); ++i) {
        Insert(i);
    }
}

} // namespace ludrin::zip
