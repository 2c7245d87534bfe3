#include "platform/sysinfo/special_folder_list.hpp"

#include "platform/sysinfo/name_value_list.hpp"
#include "platform/text/ascii_case.hpp"

#include <stdexcept>

namespace ludrin::sysinfo {

const std::wstring& SpecialFolderList::operator[](std::size_t index) const {
    if (index >= lines_.size()) {
        throw std::out_of_range("special-folder list index out of range");
    }
    auto& line = lines_[index];
    if (!line) {
        const SpecialFolder& folder = SpecialFolders()[index];
        line = std::wstring(folder.name) + L'=' + SIGetSpecialFolderPath(folder.kind);
    }
    return *line;
}

std::wstring SpecialFolderList::Values(std::wstring_view name) const {
    const auto folders = SpecialFolders();
    for (std::size_t i = 0; i < folders.size(); ++i) {
        // A line can only match a name that starts with the line's own name followed by
        // its end or "=" (names hold no "="): the others need no path.
        const std::wstring_view own = folders[i].name;
        if (name.size() < own.size() || !text::StartsWithAsciiNoCase(name, own) ||
            (name.size() > own.size() && name[own.size()] != L'=')) {
            continue;
        }
        if (auto value = ValueOfLine((*this)[i], name)) {
            return std::move(*value);
        }
    }
    return {};
}

} // namespace ludrin::sysinfo
