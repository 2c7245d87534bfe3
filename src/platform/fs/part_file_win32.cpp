#include "platform/fs/fs.hpp"
#include "platform/fs/part_file.hpp"
#include "platform/fs/path_separator.hpp"

#include <windows.h>

namespace ludrin::fs {

std::optional<PartFile> PartFile::Create(const std::wstring& path, const OpenFolder* folder) {
    if (path.empty() || NamePart(path).empty()) {
        return std::nullopt;
    }
    std::wstring part = PartFileName(path);
    // Others may read it, and the move into place may rename it while it is held; no other
    // writer can open it, so a second writer of the same file fails instead of mixing in.
    const HANDLE file =
        CreateFileW(part.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    // A file made (or remade) this way carries the archive bit alone.
    return PartFile(path, std::move(part), OutputFile(reinterpret_cast<std::intptr_t>(file)),
                    FILE_ATTRIBUTE_ARCHIVE, folder);
}

bool Replaceable(const std::wstring& path) {
    // Replacing needs the right to delete the old file, which a holder may deny; a folder
    // opens only with backup semantics, so it answers false here too.
    const HANDLE file =
        CreateFileW(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    }
    CloseHandle(file);
    return true;
}

bool MoveIntoPlace(const std::wstring& part, const std::wstring& path, bool replacing,
                   const OpenFolder*) {
    if (part.empty() || path.empty()) {
        return false;
    }
    // Most files are new: a move that replaces nothing needs no look at the target first.
    if (!replacing) {
        if (MoveFileExW(part.c_str(), path.c_str(), 0) != FALSE) {
            return true;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) {
            return false;
        }
    }
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        return false;
    }
    return MoveFileExW(part.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
}

} // namespace ludrin::fs
