#pragma once
// The installer's file primitives, one answer per question on each platform. Presence
// tests follow links to their targets, as the operations decide from what a path leads
// to, not from what the link itself is. The POSIX backend keeps the Windows rules where
// they differ (a read-only file cannot be deleted).

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace ludrin::fs {

// True for an existing file (not a folder), following links. An empty path is absent.
bool FileExists(const std::wstring& path);

// True for an existing folder, following links. An empty path is absent.
bool DirectoryExists(const std::wstring& path);

// Deletes one file (or a link to a file, never its target). A read-only file stays:
// on POSIX a regular file without any write permission bit counts as read-only, as it
// does for the folder removal. Answers whether the file is gone.
bool RemoveFile(const std::wstring& path);

// Creates one folder level. Answers whether it was created.
bool CreateFolder(const std::wstring& path);

// Removes one empty folder. Answers whether it is gone.
bool RemoveFolder(const std::wstring& path);

// True when the folder exists, can be listed and holds nothing.
bool IsFolderEmpty(const std::wstring& path);

// The 64-bit size of an existing file, or nothing when it cannot be opened (a file held
// open by another program still answers on Windows: asking needs no access rights).
std::optional<std::int64_t> FileSize(const std::wstring& path);

// Creates or truncates the file (others may read and write it meanwhile) and writes all of
// `data`; true only when every byte was written and the file was closed cleanly.
bool WriteWholeFile(const std::wstring& path, std::span<const std::uint8_t> data);

// The whole content of a regular file below 4 GiB; nothing when it cannot be opened or read.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::wstring& path);

} // namespace ludrin::fs
