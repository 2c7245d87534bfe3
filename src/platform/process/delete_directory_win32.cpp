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

// "link\\", "link\\." and "link\\sub\\.." all name the link itself, never its target: the full
// path is made as text, then loses any trailing separator, which would make the search
// below fail and let the link be walked into. A drive root keeps its separator.
std::wstring PlainPath(const std::wstring& name) {
    std::wstring full(MAX_PATH, L'\0');
    DWORD length =
        GetFullPathNameW(name.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length >= full.size()) {
        full.resize(length);
        length =
            GetFullPathNameW(name.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    }
    if (length == 0 || length >= full.size()) {
        return {};
    }
    full.resize(length);
    while (full.size() > 3 && (full.back() == L'\\' || full.back() == L'/')) {
        full.pop_back();
    }
    return full;
}

} // namespace

void DeleteDirectory(const std::wstring& Name) {
    // An empty name would search the root of the current drive.
    if (Name.empty()) {
        return;
    }
    const std::wstring path = PlainPath(Name);
    if (path.empty()) {
        return;
    }
    WIN32_FIND_DATAW self;
    if (win32::UniqueFindHandle(FindFirstFileW(path.c_str(), &self))) {
        if (IsFolderLink(self)) {
            RemoveDirectoryW(path.c_str());
            return;
        }
    }
    RemoveTree(path);
}

} // namespace ludrin::process
