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

// The names of what the folder holds, without "." and ".."; none when it cannot be listed.
std::vector<std::wstring> FolderEntries(const std::wstring& path);

// The 64-bit size of an existing file, or nothing when it cannot be opened (a file held
// open by another program still answers on Windows: asking needs no access rights).
std::optional<std::int64_t> FileSize(const std::wstring& path);

// Creates or truncates the file (others may read and write it meanwhile) and writes all of
// `data`; true only when every byte was written and the file was closed cleanly.
bool WriteWholeFile(const std::wstring& path, std::span<const std::uint8_t> data);

// The whole content of a regular file below 4 GiB; nothing when it cannot be opened or read.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::wstring& path);

// Attributes in the Windows encoding (read-only 0x1, hidden 0x2, system 0x4, directory 0x10,
// archive 0x20, ...); nothing when the path does not exist. POSIX reports read-only (no write
// permission bit) and directory only.
std::optional<std::uint32_t> GetAttributes(const std::wstring& path);

// Applies the DOS bits read-only 0x1, hidden 0x2, system 0x4 and archive 0x20 (others are
// not attributes a file can be given); 0 clears them. POSIX applies read-only alone, as a
// file without write permission (and clearing it gives the owner write permission back).
bool SetAttributes(const std::wstring& path, std::uint32_t attributes);

// Whether SetAttributes(…, attributes) would change a file whose attributes are `current`
// (as GetAttributes reports them): a caller that knows what a file has skips a call that
// would leave it as it is.
bool SetAttributesChanges(std::uint32_t current, std::uint32_t attributes);

// Creates the folder and every missing parent; true when the folder exists afterwards.
bool CreateFolderTree(const std::wstring& path);

// True when the path lies on a drive the platform reports as removable (A: and B: always):
// IsRemovableVolume(VolumeOf(path)).
bool IsOnRemovableDrive(const std::wstring& path);
// The volume the path (or its nearest existing folder) lies on, as a key that two paths on
// one volume share: Windows' volume path (mount points included), POSIX's device number.
// Empty when unknown.
std::wstring VolumeOf(const std::wstring& path);
// Whether the volume of that key is removable; asking costs a device probe.
bool IsRemovableVolume(const std::wstring& volume);

// The last-write time as a local DOS date-time (date in the high 16 bits); nothing when
// absent or not representable.
std::optional<std::uint32_t> LastWriteDosDateTime(const std::wstring& path);

// The process's working folder.
std::wstring CurrentFolder();

} // namespace ludrin::fs
