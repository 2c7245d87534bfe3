#pragma once
// Where the fields of a Windows executable's headers and resource tree lie: offsets within
// their records and the constants the resource walk compares against.

#include <cstddef>
#include <cstdint>

namespace ludrin::pack::pe {

// DOS header.
inline constexpr std::uint64_t kNewHeaderOffsetAt = 0x3C;

// "PE\0\0", then the COFF header.
inline constexpr std::uint32_t kPeSignature = 0x00004550;
inline constexpr std::uint64_t kCoffAfterSignature = 4;
inline constexpr std::uint64_t kCoffSectionCount = 2;
inline constexpr std::uint64_t kCoffOptionalSize = 16;
inline constexpr std::uint64_t kCoffSize = 20;

// Optional header: magic, then where the data directory count and table lie per kind.
inline constexpr std::uint16_t kMagicPe32 = 0x10B;
inline constexpr std::uint16_t kMagicPe32Plus = 0x20B;
struct DirectoryTableAt {
    std::uint64_t count;
    std::uint64_t table;
};
inline constexpr DirectoryTableAt kPe32Directories{92, 96};
inline constexpr DirectoryTableAt kPe32PlusDirectories{108, 112};
inline constexpr std::uint64_t kDirectoryEntrySize = 8;
inline constexpr std::uint32_t kResourceDirectoryIndex = 2;

// Section header.
inline constexpr std::uint64_t kSectionHeaderSize = 40;
inline constexpr std::uint64_t kSectionVirtualAddress = 12;
inline constexpr std::uint64_t kSectionRawSize = 16;
inline constexpr std::uint64_t kSectionRawOffset = 20;

// Resource directory: counts of named and numbered entries, then 8-byte entries.
inline constexpr std::uint64_t kDirectoryNamedCount = 12;
inline constexpr std::uint64_t kDirectoryIdCount = 14;
inline constexpr std::uint64_t kDirectoryEntries = 16;
inline constexpr std::uint64_t kResourceEntrySize = 8;
// Set in an entry's name: it points at a counted UTF-16 name; in its target: a subdirectory.
inline constexpr std::uint32_t kHighBit = 0x80000000u;
// Resource data entry: address and size of the data.
inline constexpr std::uint64_t kDataRva = 0;
inline constexpr std::uint64_t kDataSize = 4;

inline constexpr std::uint32_t kRtRcData = 10;
inline constexpr std::uint32_t kRtVersion = 16;

} // namespace ludrin::pack::pe
