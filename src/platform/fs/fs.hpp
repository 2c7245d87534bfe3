#pragma once
// The installer's file primitives. Presence tests follow links to their targets, as the
// operations decide from what a path leads to, not from what the link itself is.

#include <string>

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

} // namespace ludrin::fs
