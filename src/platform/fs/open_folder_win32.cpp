#include "platform/fs/open_folder.hpp"

#include "platform/fs/path_separator.hpp"

namespace ludrin::fs {

// Windows names files by path alone: the folder is remembered, not opened.
std::optional<OpenFolder> OpenFolder::Open(const std::wstring& path) {
    if (path.empty()) {
        return std::nullopt;
    }
    return OpenFolder(WithTrailingSeparator(path), -1);
}

void OpenFolder::Release(std::intptr_t) noexcept {}

} // namespace ludrin::fs
