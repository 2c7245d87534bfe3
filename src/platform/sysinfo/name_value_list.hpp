#pragma once
// An ordered list of "Name=Value" lines: unsorted, duplicates allowed, looked up by name
// without regard to (ASCII) case, first match wins.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ludrin::sysinfo {

// The lookup rule for one line: everything after the first "=" that follows `name` when
// the line starts with `name` and "=", else nothing.
std::optional<std::wstring> ValueOfLine(std::wstring_view line, std::wstring_view name);

class NameValueList {
public:
    void Add(std::wstring line) { lines_.push_back(std::move(line)); }
    std::size_t Count() const { return lines_.size(); }
    const std::wstring& operator[](std::size_t index) const { return lines_.at(index); }
    const std::vector<std::wstring>& Lines() const { return lines_; }

    // Everything after the first "=" of the first line whose name matches; a missing
    // name gives an empty text, so a value that itself holds "=" comes back whole.
    std::wstring Values(std::wstring_view name) const;

private:
    std::vector<std::wstring> lines_;
};

} // namespace ludrin::sysinfo
