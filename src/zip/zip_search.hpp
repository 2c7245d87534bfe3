#pragma once
// The search record of FindFirst / FindNext: the matching entry's fields and where the
// next search starts.

#include <array>
#include <cstdint>
#include <string>

namespace ludrin::zip {

struct TInternalSearchRec {
    std::int32_t ItemNo = 0;              // the current match; the next search starts after it
    std::array<wchar_t, 260> CFindMask{}; // zero-terminated, so at most 259 characters
    bool FWildCards = false;
    std::int32_t FFindAttr = 0;
    std::wstring ExclusionMask;
    bool UseProperties = false; // match against FileMasks / ExclusionMasks instead
};

struct TZipArchiveItem {
    std::wstring FileName;   // name part of the entry
    std::wstring StoredPath; // folder part, with a trailing backslash
    std::int64_t CompressedSize = 0;
    std::int64_t UncompressedSize = 0;
    double CompressionRate = 0;
    bool Encrypted = false;
    std::uint16_t LastModFileDate = 0;
    std::uint16_t LastModFileTime = 0;
    std::int32_t CRC = 0;
    std::uint32_t ExternalFileAttributes = 0;
    std::string Comment;
    TInternalSearchRec Handle;
};

// How the last extraction batch ended, so a caller can tell whether every entry arrived.
struct ZipBatchResult {
    std::size_t tagged = 0;    // entries selected
    std::size_t extracted = 0; // entries written and verified (folders included)
    std::size_t skipped = 0;   // entries left out: declined, not overwritten, read-only, Ignore
    std::size_t failed = 0;    // archive errors that reached the failure handler, per attempt
    bool aborted = false;      // Abort answered, or cancelled from a progress event
    bool Complete() const { return !aborted && skipped == 0 && failed == 0 && extracted == tagged; }
};

} // namespace ludrin::zip
