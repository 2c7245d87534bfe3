#include "platform/sysinfo/name_value_list.hpp"

#include "platform/text/ascii_case.hpp"

namespace ludrin::sysinfo {

std::optional<std::wstring> ValueOfLine(std::wstring_view line, std::wstring_view name) {
    if (line.size() > name.size() && line[name.size()] == L'=' &&
        text::StartsWithAsciiNoCase(line, name)) {
        return std::wstring(line.substr(name.size() + 1));
    }
    return std::nullopt;
}

std::wstring NameValueList::Values(std::wstring_view name) const {
    for (const auto& line : lines_) {
        if (auto value = ValueOfLine(line, name)) {
            return std::move(*value);
        }
    }
    return {};
}

} // namespace ludrin::sysinfo
