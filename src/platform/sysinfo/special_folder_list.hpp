#pragma once
// The special-folder list: the 46 "Name=Path" lines of the fixed table, in its order, with
// the lookup rules of NameValueList. Each path is asked of the platform at the first read
// of its line and kept from then on: resolving all 46 cost about 70 ms of the installer's
// start under Wine, where the window reads three of them.

#include "platform/sysinfo/special_folders.hpp"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace ludrin::sysinfo {

class SpecialFolderList {
public:
    std::size_t Count() const { return kSpecialFolderCount; }
    const std::wstring& operator[](std::size_t index) const;

    // The value of the first line whose name matches, as NameValueList::Values; only the
    // lines that could match are resolved.
    std::wstring Values(std::wstring_view name) const;

private:
    // Filled in on reading: the list is a view of the platform's answers, not of state.
    mutable std::array<std::optional<std::wstring>, kSpecialFolderCount> lines_;
};

} // namespace ludrin::sysinfo
