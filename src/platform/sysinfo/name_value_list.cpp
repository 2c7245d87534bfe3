#include "platform/sysinfo/name_value_list.hpp"

#include "platform/text/ascii_case.hpp"

namespace ludrin::sysinfo {

std::wstring NameValueList::Values(std::wstring_view name) const {
    for (const auto& line : lines_) {
        if (line.size() > name.size() && line[name.size()] == L'=' &&
            text::StartsWithAsciiNoCase(line, name)) {
            return line.substr(name.size() + 1);
        }
    }
    return {};
}

} // namespace ludrin::sysinfo
