#include "platform/process/delete_directory.hpp"

#include "platform/win32/unique_handle.hpp"

#include <windows.h>

namespace ludrin::process {
namespace {

// The search admits every entry: read-only, hidden, system, volume label, directory,
// archive, device, normal and temporary. An entry carrying a hidden, system, volume or
// directory bit outside this mask would be skipped.
constexpr DWORD kSearchAttributes = 0x1FF;
constexpr DWORD kExcludedAttributes =
    ~kSearchAttributes &
    (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | 0x8 /* volume */ | FILE_ATTRIBUTE_DIRECTORY);

// Any folder that is a reparse point counts as a link and is never entered: the tag cannot
// be trusted to tell (Wine shows a Unix folder link with the attribute and a tag of 0), and
// walking into a link would delete what lies at its target.
bool IsFolderLink(const WIN32_FIND_DATAW& data) {
    return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
           (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

void RemoveTree(const std::wstring& name) {
    WIN32_FIND_DATAW data;
    {
        const win32::UniqueFindHandle search(FindFirstFileExW(
            (name + L"\\*").c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0));
        if (!search) {
            return; // the folder stays, as when it cannot be read
        }
        do {
            if ((data.dwFileAttributes & kExcludedAttributes) != 0) {
                continue;
            }
            const std::wstring entry = data.cFileName;
            const std::wstring path = name + L"\\" + entry;
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
                DeleteFileW(path.c_str()); // a link to a file goes, its target stays
            } else if (entry == L"." || entry == L"..") {
                continue;
            } else if (IsFolderLink(data)) {
                RemoveDirectoryW(path.c_str()); // removes the link, never the target
            } else {
                RemoveTree(path);
            }
        } while (FindNextFileW(search.Get(), &data));
    }
    RemoveDirectoryW(name.c_str());
}

} // namespace

void DeleteDirectory(const std::wstring& Name) {
    // An empty name would search the root of the current drive.
    if (Name.empty()) {
        return;
    }
    WIN32_FIND_DATAW self;
    if (win32::UniqueFindHandle(FindFirstFileW(Name.c_str(), &self))) {
        if (IsFolderLink(self)) {
            RemoveDirectoryW(Name.c_str());
            return;
        }
    }
    RemoveTree(Name);
}

} // namespace ludrin::process
