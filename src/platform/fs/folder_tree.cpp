// Folder chains, built from the one-level primitives of each platform.

#include "platform/fs/fs.hpp"
#include "platform/fs/path_separator.hpp"

namespace ludrin::fs {

bool CreateFolderTree(const std::wstring& path) {
    // Trailing separators go, but a drive root ("C:\\") keeps its own.
    std::wstring folder = path;
    while (folder.size() > 1 && IsPathSeparator(folder.back()) &&
           folder[folder.size() - 2] != L':') {
        folder.pop_back();
    }
    if (folder.empty()) {
        return false;
    }
    if (DirectoryExists(folder)) {
        return true;
    }
    const std::wstring_view parent = FolderPart(folder);
    if (!parent.empty() && parent.size() < folder.size() &&
        !CreateFolderTree(std::wstring(parent))) {
        return false;
    }
    return CreateFolder(folder) || DirectoryExists(folder);
}

} // namespace ludrin::fs
