#pragma once
// The file-system and shell services the store needs, one backend per platform
// (store_files_win32.cpp, store_files_posix.cpp). Paths are wide text.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ludrin::store {

// A character that ends a folder name in a path.
bool IsPathDelimiter(wchar_t c);

// True when the path's attributes can be read and name a folder.
bool IsDirectoryExists(const std::wstring& path);
// Creates one folder; failures (it exists, a drive root) are the caller's to ignore.
void MakeFolder(const std::wstring& path);
// True when something exists at the path, links followed.
bool FileExists(const std::wstring& path);
// The 64-bit size of an existing file, or -1 when it cannot be opened.
std::int64_t ExtractFileSize(const std::wstring& path);
// Creates or truncates the file (others may read and write it meanwhile) and writes all of
// `data`; true only when every byte was written and the file was closed cleanly.
bool WriteWholeFile(const std::wstring& path, std::span<const std::uint8_t> data);
// The whole content of a file below 4 GiB; nothing when it cannot be opened or read.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::wstring& path);
bool DeleteFileAt(const std::wstring& path);
bool RemoveFolder(const std::wstring& path);
// True when the folder exists, can be listed and holds nothing.
bool IsDirectoryEmpty(const std::wstring& path);

// Base folders of the extraction destination, each ending in a delimiter; empty when the
// platform has no such folder or it cannot be read.
std::wstring GetWindowsDir();
std::wstring GetSystemDir();
std::wstring GetTempDir();
std::wstring ExecutableDir();
// The user's shell folder by its registry value name: "Desktop", "Personal",
// "My Pictures" or "AppData"; empty when missing.
std::wstring ShellFolder(std::wstring_view valueName);

// An error message to the user, captioned with the application's title.
void ShowErrorMessage(const std::wstring& text);

} // namespace ludrin::store
