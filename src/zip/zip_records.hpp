#pragma once
// Record layouts, signatures and constants of the ZIP format as this reader uses them.
// The parsing lives in zip_directory.cpp; nothing here reads bytes.

#include <cstdint>
#include <string>
#include <vector>

namespace ludrin::zip {

inline constexpr std::uint32_t kLocalFileHeaderSignature = 0x04034B50;
inline constexpr std::uint32_t kCentralDirSignature = 0x02014B50;
inline constexpr std::uint32_t kCentralDirEndSignature = 0x06054B50;
inline constexpr std::uint32_t kZip64CentralDirEndSignature = 0x06064B50;
inline constexpr std::uint32_t kZip64CentralDirEndLocatorSignature = 0x07064B50;
inline constexpr std::uint32_t kDataDescriptorSignature = 0x08074B50;

inline constexpr std::uint32_t kLocalFileHeaderSize = 30;
// One central header's fixed part; the directory's whole size is centralDirSize.
inline constexpr std::uint32_t kCentralDirHeaderSize = 46;
inline constexpr std::uint32_t kCentralDirEndSize = 22;
inline constexpr std::uint32_t kZip64CentralDirEndSize = 56;
inline constexpr std::uint32_t kZip64CentralDirEndLocatorSize = 20;
inline constexpr std::uint32_t kDataDescriptorSize = 16;
inline constexpr std::uint32_t kMaxArchiveCommentLength = 0xFFFF;
// The end record and the longest comment, with a little room: one read finds the record.
inline constexpr std::uint32_t kCentralDirEndSearchWindow = 0x10040;

// Where the lengths of the variable part sit in a local file header.
inline constexpr std::uint32_t kLocalNameLengthOffset = 26;
inline constexpr std::uint32_t kLocalExtraLengthOffset = 28;

// Values meaning "see the Zip64 records".
inline constexpr std::uint32_t kZip64Escape32 = 0xFFFFFFFF;
inline constexpr std::uint16_t kZip64Escape16 = 0xFFFF;

// General purpose flag bits.
inline constexpr std::uint16_t kFlagEncrypted = 0x0001;
inline constexpr std::uint16_t kFlagDataDescriptor = 0x0008;
inline constexpr std::uint16_t kFlagLanguageEncoding = 0x0800;

// Compression methods.
inline constexpr std::uint16_t kMethodStored = 0;
inline constexpr std::uint16_t kMethodDeflated = 8;
inline constexpr std::uint16_t kMethodDeflate64 = 9;

// From this extract version on, entries carry no CRC to compare and no AES block to read.
inline constexpr std::uint16_t kStrongEncryptionVersion = 0x4114;

// DOS attribute bits of externalAttr.
inline constexpr std::uint32_t kAttrReadOnly = 0x01;
inline constexpr std::uint32_t kAttrHidden = 0x02;
inline constexpr std::uint32_t kAttrSystem = 0x04;
inline constexpr std::uint32_t kAttrVolumeLabel = 0x08;
inline constexpr std::uint32_t kAttrDirectory = 0x10;
inline constexpr std::uint32_t kAttrArchive = 0x20;

// Extra field blocks the reader interprets.
inline constexpr std::uint16_t kExtraZip64 = 0x0001;
inline constexpr std::uint16_t kExtraUnicodeName = 0x554E;
inline constexpr std::uint16_t kExtraAes = 0x9901;
inline constexpr std::uint32_t kUnicodeNameSignature = 0x5843554E; // "NUCX"
inline constexpr std::uint16_t kAesBlockSize = 7;

// The central directory file header without its variable part, as stored.
struct TZipCentralDir {
    std::uint32_t signature = 0;
    std::uint16_t versionMadeBy = 0;
    std::uint16_t extractVersion = 0;
    std::uint16_t genPurposeFlag = 0;
    std::uint16_t compMethod = 0;
    std::uint16_t lastModTime = 0;
    std::uint16_t lastModDate = 0;
    std::uint32_t crc32 = 0;
    std::uint32_t compSize = 0;
    std::uint32_t unCompSize = 0;
    std::uint16_t nameLength = 0;
    std::uint16_t extraLength = 0;
    std::uint16_t commentLength = 0;
    std::uint16_t diskNumberStart = 0;
    std::uint16_t internalAttr = 0;
    std::uint32_t externalAttr = 0;
    std::uint32_t relOffsetLH = 0;
};

// The local file header without its name and extra field.
struct TZipFileHeader {
    std::uint32_t signature = 0;
    std::uint16_t extractVersion = 0;
    std::uint16_t genPurposeFlag = 0;
    std::uint16_t compMethod = 0;
    std::uint16_t lastModTime = 0;
    std::uint16_t lastModDate = 0;
    std::uint32_t crc32 = 0;
    std::uint32_t compSize = 0;
    std::uint32_t unCompSize = 0;
    std::uint16_t nameLength = 0;
    std::uint16_t extraLength = 0;
};

struct TZipCentralDirEnd {
    std::uint32_t signature = 0;
    std::uint16_t diskNumber = 0;
    std::uint16_t startDiskNumber = 0;
    std::uint16_t entriesOnDisk = 0;
    std::uint16_t entriesCentralDir = 0;
    std::uint32_t centralDirSize = 0;
    std::uint32_t offsetStartDir = 0;
    std::uint16_t commentLength = 0;
};

struct TZip64CentralDirEndLocator {
    std::uint32_t signature = 0;
    std::uint32_t startDiskNumber = 0;
    std::uint64_t offsetStartDirEnd = 0;
    std::uint32_t totalNumberOfDisks = 0;
};

struct TZip64CentralDirEnd {
    std::uint32_t signature = 0;
    std::uint64_t centralDirEndSize = 0;
    std::uint16_t versionMadeBy = 0;
    std::uint16_t versionNeededToExtract = 0;
    std::uint32_t diskNumber = 0;
    std::uint32_t startDiskNumber = 0;
    std::uint64_t entriesOnDisk = 0;
    std::uint64_t entriesCentralDir = 0;
    std::uint64_t centralDirSize = 0;
    std::uint64_t offsetStartDir = 0;
};

struct TZipDataDescriptor {
    std::uint32_t signature = 0;
    std::uint32_t crc32 = 0;
    std::uint32_t compressedSize = 0;
    std::uint32_t uncompressedSize = 0;
};

struct TZipExtraFieldDataBlock {
    std::uint16_t headerID = 0;
    std::uint16_t dataSize = 0;
    std::vector<std::uint8_t> pData;
};

struct TZip64ExtendedInfo {
    std::int64_t uncompSize = 0;
    std::int64_t compSize = 0;
    std::int64_t relOffsetLH = 0;
    std::uint32_t diskNumberStart = 0;
};

enum class TZipCryptoAlgorithm : std::uint8_t { caPkzipClassic, caAES_128, caAES_192, caAES_256 };

enum class TZipProcessOperation : std::uint8_t {
    poAdd,
    poMove,
    poDelete,
    poUpdate,
    poExtract,
    poTest,
    poRename,
    poChangeAttr,
    poChangeComment,
    poMakeSFX,
    poMerge
};

// One entry of the loaded directory.
struct TDirItem {
    TZipCentralDir CentralDir;
    std::wstring Name;
    std::string Comment;
    std::vector<TZipExtraFieldDataBlock> ExtraFields;
    TZipCryptoAlgorithm ZipEncryptionAlgorithm = TZipCryptoAlgorithm::caPkzipClassic;
    bool bHugeFile = false;
    TZip64ExtendedInfo Zip64ExtInfo;
    bool Tagged = false;
    std::uint16_t CompressionMethod = 0;
    TZipProcessOperation Operation = TZipProcessOperation::poAdd;
    // Rebuilt from a local header whose data descriptor was not found: its sizes and CRC are
    // the header's zeros and say nothing about the data.
    bool DescriptorMissing = false;

    // The sizes and offset, taking the Zip64 value where the header holds its escape.
    std::uint64_t CompressedSize() const {
        return CentralDir.compSize == kZip64Escape32
                   ? static_cast<std::uint64_t>(Zip64ExtInfo.compSize)
                   : CentralDir.compSize;
    }
    std::uint64_t UncompressedSize() const {
        return CentralDir.unCompSize == kZip64Escape32
                   ? static_cast<std::uint64_t>(Zip64ExtInfo.uncompSize)
                   : CentralDir.unCompSize;
    }
    std::uint64_t LocalHeaderOffset() const {
        return CentralDir.relOffsetLH == kZip64Escape32
                   ? static_cast<std::uint64_t>(Zip64ExtInfo.relOffsetLH)
                   : CentralDir.relOffsetLH;
    }
    bool Encrypted() const { return (CentralDir.genPurposeFlag & kFlagEncrypted) != 0; }
};

} // namespace ludrin::zip
