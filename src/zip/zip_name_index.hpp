#pragma once
// The entries' names, lower-cased (ASCII letters only), in entry order, hashed for exact
// lookup. The table holds entry numbers, not copies of the names.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ludrin::zip {

class TZipHashedStringList {
public:
    void Clear();
    void Reserve(std::size_t count);
    // Appends the name of the next entry.
    void Add(std::wstring_view name);
    // Replaces the name at `index`; false when the index holds no name.
    bool Replace(std::size_t index, std::wstring_view name);
    // The first entry with this name (compared lower-cased), or -1.
    std::int64_t IndexOf(std::wstring_view name) const;
    std::size_t Count() const { return names_.size(); }
    const std::wstring& operator[](std::size_t index) const { return names_[index]; }

private:
    static constexpr std::uint32_t kEmpty = 0xFFFFFFFF;
    std::size_t Slot(std::size_t hash) const { return hash & (slots_.size() - 1); }
    void Insert(std::uint32_t index);
    void Rehash(std::size_t slotCount);

    std::vector<std::wstring> names_;
    std::vector<std::size_t> hashes_;
    std::vector<std::uint32_t> slots_; // open addressing, linear probing, power-of-two size
};

} // namespace ludrin::zip
