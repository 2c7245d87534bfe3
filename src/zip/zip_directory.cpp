#include "zip/zip_directory.hpp"

#include "bytes/byte_reader.hpp"
#include "zip/name_decoding.hpp"
#include "zip/zip_error.hpp"
#include "zip/zip_stream.hpp"

#include <algorithm>
#include <cstring>
#include <exception>
#include <vector>

namespace ludrin::zip {
namespace {

using bytes::ByteReader;

constexpr std::uint64_t kScanBlockSize = 65535;
constexpr std::size_t kCursorBlockSize = 65536;

// Sequential reads through one buffer: the central directory is read front to back, and
// one system read serves many headers.
class StreamCursor {
public:
    StreamCursor(const ZipStream& stream, std::uint64_t position)
        : stream_(stream), position_(position) {}

    std::uint64_t Position() const { return position_; }

    std::span<const std::uint8_t> Take(std::size_t count) {
        const std::uint64_t end = start_ + buffer_.size();
        if (position_ < start_ || position_ + count > end) {
            const std::uint64_t size = stream_.Size();
            if (position_ > size || count > size - position_) {
                throw fs::FileReadError("Stream read error");
            }
            const std::uint64_t want =
                std::min<std::uint64_t>(std::max(count, kCursorBlockSize), size - position_);
            buffer_.resize(static_cast<std::size_t>(want));
            stream_.ReadAt(position_, buffer_);
            start_ = position_;
        }
        const auto at = static_cast<std::size_t>(position_ - start_);
        position_ += count;
        return std::span<const std::uint8_t>(buffer_).subspan(at, count);
    }

private:
    const ZipStream& stream_;
    std::uint64_t position_;
    std::uint64_t start_ = 0;
    std::vector<std::uint8_t> buffer_;
};

// Forward searches for a signature through one reused window. The rebuild asks for the
// next header again and again, each time a little further on: reading a fresh block for
// every question would read the file once per header.
class SignatureScanner {
public:
    SignatureScanner(const ZipStream& stream, std::uint32_t signature, std::uint64_t minRemaining)
        : stream_(stream), size_(stream.Size()), minRemaining_(minRemaining) {
        for (int k = 0; k < 4; ++k) {
            pattern_[k] = static_cast<std::uint8_t>(signature >> (8 * k));
        }
    }

    // The first position from `from` on that holds the signature and leaves at least
    // minRemaining bytes to the end; -1 when there is none.
    std::int64_t Find(std::uint64_t from) {
        while (from < size_ && size_ - from >= minRemaining_ && size_ - from >= 4) {
            if (from < start_ || from + 4 > start_ + window_.size()) {
                window_.resize(static_cast<std::size_t>(
                    std::min<std::uint64_t>(kScanBlockSize, size_ - from)));
                stream_.ReadAt(from, window_);
                start_ = from;
            }
            for (auto i = static_cast<std::size_t>(from - start_); i + 4 <= window_.size(); ++i) {
                if (std::memcmp(window_.data() + i, pattern_, 4) == 0 &&
                    size_ - (start_ + i) >= minRemaining_) {
                    return static_cast<std::int64_t>(start_ + i);
                }
            }
            if (start_ + window_.size() >= size_) {
                break;
            }
            from = start_ + window_.size() - 3; // a signature across the border is seen
        }
        return -1;
    }

private:
    const ZipStream& stream_;
    std::uint64_t size_;
    std::uint64_t minRemaining_;
    std::uint8_t pattern_[4] = {};
    std::uint64_t start_ = 0;
    std::vector<std::uint8_t> window_;
};

// The first data descriptor from a position on. Positions only grow during the rebuild,
// so the last answer holds until the asking position passes it: each stretch of the file
// is searched once, however many headers announce a descriptor.
class DescriptorFinder {
public:
    explicit DescriptorFinder(const ZipStream& stream)
        : scanner_(stream, kDataDescriptorSignature, kDataDescriptorSize) {}

    std::int64_t Find(std::uint64_t from) {
        const bool answered = asked_ && from >= askedFrom_ &&
                              (found_ < 0 || static_cast<std::uint64_t>(found_) >= from);
        if (!answered) {
            asked_ = true;
            askedFrom_ = from;
            found_ = scanner_.Find(from);
        }
        return found_;
    }

private:
    SignatureScanner scanner_;
    bool asked_ = false;
    std::uint64_t askedFrom_ = 0;
    std::int64_t found_ = -1;
};

TZipCentralDirEnd ParseCentralDirEnd(ByteReader r) {
    TZipCentralDirEnd e;
    e.signature = r.ReadU32("end record signature");
    e.diskNumber = r.ReadU16("end record disk number");
    e.startDiskNumber = r.ReadU16("end record start disk");
    e.entriesOnDisk = r.ReadU16("end record entries on disk");
    e.entriesCentralDir = r.ReadU16("end record entries");
    e.centralDirSize = r.ReadU32("end record directory size");
    e.offsetStartDir = r.ReadU32("end record directory offset");
    e.commentLength = r.ReadU16("end record comment length");
    return e;
}

TZip64CentralDirEndLocator ParseZip64Locator(ByteReader r) {
    TZip64CentralDirEndLocator l;
    l.signature = r.ReadU32("zip64 locator signature");
    l.startDiskNumber = r.ReadU32("zip64 locator disk");
    l.offsetStartDirEnd = r.ReadU64("zip64 locator end record offset");
    l.totalNumberOfDisks = r.ReadU32("zip64 locator disk count");
    return l;
}

TZip64CentralDirEnd ParseZip64End(ByteReader r) {
    TZip64CentralDirEnd e;
    e.signature = r.ReadU32("zip64 end record signature");
    e.centralDirEndSize = r.ReadU64("zip64 end record size");
    e.versionMadeBy = r.ReadU16("zip64 end record version made by");
    e.versionNeededToExtract = r.ReadU16("zip64 end record version needed");
    e.diskNumber = r.ReadU32("zip64 end record disk number");
    e.startDiskNumber = r.ReadU32("zip64 end record start disk");
    e.entriesOnDisk = r.ReadU64("zip64 end record entries on disk");
    e.entriesCentralDir = r.ReadU64("zip64 end record entries");
    e.centralDirSize = r.ReadU64("zip64 end record directory size");
    e.offsetStartDir = r.ReadU64("zip64 end record directory offset");
    return e;
}

TZipCentralDir ParseCentralDir(ByteReader r) {
    TZipCentralDir c;
    c.signature = r.ReadU32("central header signature");
    c.versionMadeBy = r.ReadU16("central header version made by");
    c.extractVersion = r.ReadU16("central header extract version");
    c.genPurposeFlag = r.ReadU16("central header flags");
    c.compMethod = r.ReadU16("central header method");
    c.lastModTime = r.ReadU16("central header time");
    c.lastModDate = r.ReadU16("central header date");
    c.crc32 = r.ReadU32("central header crc32");
    c.compSize = r.ReadU32("central header compressed size");
    c.unCompSize = r.ReadU32("central header size");
    c.nameLength = r.ReadU16("central header name length");
    c.extraLength = r.ReadU16("central header extra length");
    c.commentLength = r.ReadU16("central header comment length");
    c.diskNumberStart = r.ReadU16("central header disk");
    c.internalAttr = r.ReadU16("central header internal attributes");
    c.externalAttr = r.ReadU32("central header external attributes");
    c.relOffsetLH = r.ReadU32("central header local header offset");
    return c;
}

// Zip64 values come in a fixed order, each only when its header field is escaped.
void ReadZip64Block(ByteReader r, TDirItem& item) {
    const TZipCentralDir& c = item.CentralDir;
    if (c.unCompSize == kZip64Escape32 && r.Remaining() >= 8) {
        item.Zip64ExtInfo.uncompSize = static_cast<std::int64_t>(r.ReadU64("zip64 size"));
    }
    if (c.compSize == kZip64Escape32 && r.Remaining() >= 8) {
        item.Zip64ExtInfo.compSize = static_cast<std::int64_t>(r.ReadU64("zip64 compressed size"));
    }
    if (c.relOffsetLH == kZip64Escape32 && r.Remaining() >= 8) {
        item.Zip64ExtInfo.relOffsetLH = static_cast<std::int64_t>(r.ReadU64("zip64 offset"));
    }
    if (c.diskNumberStart == kZip64Escape16 && r.Remaining() >= 4) {
        item.Zip64ExtInfo.diskNumberStart = r.ReadU32("zip64 disk") & 0xFFFF;
    }
    item.bHugeFile = true;
}

void ReadAesBlock(ByteReader r, TDirItem& item) {
    r.Skip(4, "aes vendor version and id");
    const std::uint8_t strength = r.ReadU8("aes strength");
    const std::uint16_t method = r.ReadU16("aes method");
    if (strength >= 1 && strength <= 3) {
        item.ZipEncryptionAlgorithm = static_cast<TZipCryptoAlgorithm>(strength);
    }
    item.CompressionMethod = method;
}

// Reads the blocks of an extra field into the entry; answers the Unicode name, if any.
std::optional<std::wstring> ReadExtraField(std::span<const std::uint8_t> field, TDirItem& item) {
    ByteReader r(field);
    std::optional<std::wstring> unicodeName;
    while (r.Remaining() >= 4) {
        TZipExtraFieldDataBlock block;
        block.headerID = r.ReadU16("extra block id");
        const std::uint16_t declared = r.ReadU16("extra block size");
        block.dataSize = static_cast<std::uint16_t>(std::min<std::size_t>(declared, r.Remaining()));
        const auto data = r.Take(block.dataSize, "extra block data");
        block.pData.assign(data.begin(), data.end());
        if (block.headerID == kExtraZip64) {
            ReadZip64Block(ByteReader(data), item);
        } else if (block.headerID == kExtraUnicodeName) {
            if (auto name = DecodeUnicodeNameBlock(data)) {
                unicodeName = std::move(name);
            }
        } else if (block.headerID == kExtraAes &&
                   item.CentralDir.extractVersion < kStrongEncryptionVersion &&
                   block.dataSize >= kAesBlockSize) {
            ReadAesBlock(ByteReader(data), item);
        }
        item.ExtraFields.push_back(std::move(block));
    }
    return unicodeName;
}

TDirItem ReadCentralEntry(StreamCursor& cursor, bool oemStep) {
    TDirItem item;
    item.CentralDir = ParseCentralDir(ByteReader(cursor.Take(kCentralDirHeaderSize)));
    const TZipCentralDir& c = item.CentralDir;
    // A header without its signature is not a header: whatever the count says, the
    // directory is damaged.
    if (c.signature != kCentralDirSignature) {
        throw EZipException(native::kArchiveDamaged);
    }
    item.CompressionMethod = c.compMethod;
    if (c.nameLength > 0) {
        item.Name = DecodeCentralName(cursor.Take(c.nameLength),
                                      oemStep && (c.genPurposeFlag & kFlagLanguageEncoding) == 0);
    }
    if (c.extraLength > 0) {
        if (auto unicodeName = ReadExtraField(cursor.Take(c.extraLength), item)) {
            item.Name = std::move(*unicodeName);
        }
    }
    if (c.commentLength > 0) {
        const auto comment = cursor.Take(c.commentLength);
        item.Comment.assign(comment.begin(), comment.end());
    }
    return item;
}

// The first local header from `start` on that agrees with the first central entry.
std::int64_t CalculateStubSize(const TZipDirManager& dm, std::int64_t endPosition) {
    if (dm.CDir.Count() == 0) {
        return endPosition;
    }
    const ZipStream& stream = dm.FCompressedStream;
    const TZipCentralDir& first = dm.CDir[0].CentralDir;
    SignatureScanner headers(stream, kLocalFileHeaderSignature, kLocalFileHeaderSize);
    std::uint64_t from = dm.CDir[0].LocalHeaderOffset();
    while (true) {
        const std::int64_t hit = headers.Find(from);
        if (hit < 0) {
            return 0;
        }
        const TZipFileHeader local = ReadLocalFileHeader(stream, static_cast<std::uint64_t>(hit));
        if (hit == 0 ||
            (local.extractVersion == first.extractVersion && local.compMethod == first.compMethod &&
             local.lastModTime == first.lastModTime && local.lastModDate == first.lastModDate &&
             local.crc32 == first.crc32 && local.compSize == first.compSize &&
             local.unCompSize == first.unCompSize)) {
            return hit;
        }
        from = static_cast<std::uint64_t>(hit) + 1;
    }
}

bool IsStubOffsetApplied(const TZipDirManager& dm) {
    for (std::size_t i = 0; i < dm.CDir.Count(); ++i) {
        if (dm.CDir[i].CompressedSize() != 0) {
            return dm.CDir[i].LocalHeaderOffset() >= static_cast<std::uint64_t>(dm.StubSize);
        }
    }
    return true;
}

void AddStubToOffsets(TZipDirManager& dm) {
    const auto stub = static_cast<std::uint64_t>(dm.StubSize);
    for (std::size_t i = 0; i < dm.CDir.Count(); ++i) {
        TDirItem& item = dm.CDir[i];
        if ((item.CentralDir.externalAttr & kAttrDirectory) != 0) {
            continue;
        }
        const std::uint64_t moved = item.LocalHeaderOffset() + stub;
        if (item.CentralDir.relOffsetLH != kZip64Escape32 && moved < kZip64Escape32) {
            item.CentralDir.relOffsetLH = static_cast<std::uint32_t>(moved);
        } else {
            // An offset pushed past 32 bits keeps its value in the Zip64 field.
            item.CentralDir.relOffsetLH = kZip64Escape32;
            item.Zip64ExtInfo.relOffsetLH = static_cast<std::int64_t>(moved);
        }
    }
}

void CheckIfCentralDirIsValid(const TZipDirManager& dm) {
    std::uint64_t total = 0;
    const std::uint64_t size = dm.FCompressedStream.Size();
    for (std::size_t i = 0; i < dm.CDir.Count(); ++i) {
        total += dm.CDir[i].CompressedSize();
        if (total > size || dm.CDir[i].CompressedSize() > size) {
            throw EZipException(native::kCompressedSizesTooLarge);
        }
    }
}

} // namespace

TZipFileHeader ParseLocalFileHeader(std::span<const std::uint8_t> bytes) {
    ByteReader r(bytes);
    TZipFileHeader h;
    h.signature = r.ReadU32("local header signature");
    h.extractVersion = r.ReadU16("local header extract version");
    h.genPurposeFlag = r.ReadU16("local header flags");
    h.compMethod = r.ReadU16("local header method");
    h.lastModTime = r.ReadU16("local header time");
    h.lastModDate = r.ReadU16("local header date");
    h.crc32 = r.ReadU32("local header crc32");
    h.compSize = r.ReadU32("local header compressed size");
    h.unCompSize = r.ReadU32("local header size");
    h.nameLength = r.ReadU16("local header name length");
    h.extraLength = r.ReadU16("local header extra length");
    return h;
}

TZipFileHeader ReadLocalFileHeader(const ZipStream& stream, std::uint64_t at) {
    std::uint8_t raw[kLocalFileHeaderSize];
    stream.ReadAt(at, raw);
    return ParseLocalFileHeader(raw);
}

bool CheckCDirEnd(const TZipCentralDirEnd& record, std::uint64_t position,
                  std::uint64_t streamSize) {
    if (position > streamSize || streamSize - position < kCentralDirEndSize) {
        return false;
    }
    const auto end = static_cast<std::int64_t>(position + kCentralDirEndSize);
    const auto size = static_cast<std::int64_t>(record.centralDirSize);
    if (record.startDiskNumber > record.diskNumber ||
        record.entriesOnDisk > record.entriesCentralDir) {
        return false;
    }
    if (record.centralDirSize != kZip64Escape32 && size >= end) {
        return false;
    }
    if (record.startDiskNumber == record.diskNumber && record.offsetStartDir != kZip64Escape32 &&
        static_cast<std::int64_t>(record.offsetStartDir) >= end - size) {
        return false;
    }
    return record.commentLength <= static_cast<std::int64_t>(streamSize) - end;
}

CentralDirEndSearch GetCentralDirEnd(const ZipStream& stream) {
    CentralDirEndSearch result;
    const std::uint64_t size = stream.Size();
    const std::uint64_t window = std::min<std::uint64_t>(size, kCentralDirEndSearchWindow);
    const std::uint64_t windowStart = size - window;
    std::vector<std::uint8_t> tail(static_cast<std::size_t>(window));
    stream.ReadAt(windowStart, tail);
    const ByteReader reader(tail);
    for (std::size_t i = tail.size(); i-- > 3;) {
        if (tail[i] != 0x06 || tail[i - 1] != 0x05 || tail[i - 2] != 0x4B || tail[i - 3] != 0x50) {
            continue;
        }
        const std::size_t at = i - 3;
        if (!reader.Fits(at, kCentralDirEndSize)) {
            continue;
        }
        const TZipCentralDirEnd record =
            ParseCentralDirEnd(reader.Sub(at, kCentralDirEndSize, "end record"));
        if (!CheckCDirEnd(record, windowStart + at, size)) {
            continue;
        }
        result.found = true;
        result.position = static_cast<std::int64_t>(windowStart + at);
        result.record = record;
        const auto comment =
            reader.At(at + kCentralDirEndSize, record.commentLength, "archive comment");
        result.comment.assign(comment.begin(), comment.end());
        return result;
    }
    return result;
}

namespace {

// The central record that a local header at `at` stands for; its name and extra block are
// read where the file holds them.
TDirItem ItemFromLocalHeader(const ZipStream& stream, std::uint64_t at, const TZipFileHeader& local,
                             bool oemStep) {
    const std::uint64_t size = stream.Size();
    TDirItem item;
    TZipCentralDir& c = item.CentralDir;
    c.signature = local.signature;
    c.versionMadeBy = local.extractVersion;
    c.extractVersion = local.extractVersion;
    c.genPurposeFlag = local.genPurposeFlag;
    c.compMethod = local.compMethod;
    c.lastModTime = local.lastModTime;
    c.lastModDate = local.lastModDate;
    c.crc32 = local.crc32;
    c.compSize = local.compSize;
    c.unCompSize = local.unCompSize;
    c.nameLength = local.nameLength;
    c.extraLength = local.extraLength;
    c.relOffsetLH = static_cast<std::uint32_t>(std::min<std::uint64_t>(at, kZip64Escape32));
    if (at >= kZip64Escape32) {
        item.Zip64ExtInfo.relOffsetLH = static_cast<std::int64_t>(at);
    }
    item.CompressionMethod = local.compMethod;
    const std::uint64_t nameAt = at + kLocalFileHeaderSize;
    if (local.nameLength <= size - nameAt) {
        std::vector<std::uint8_t> name(local.nameLength);
        stream.ReadAt(nameAt, name);
        item.Name = DecodeLocalName(name, oemStep);
    }
    const std::uint64_t extraAt = nameAt + local.nameLength;
    if (local.extraLength > 0 && extraAt < size) {
        std::vector<std::uint8_t> extra(
            static_cast<std::size_t>(std::min<std::uint64_t>(local.extraLength, size - extraAt)));
        stream.ReadAt(extraAt, extra);
        if (auto unicodeName = ReadExtraField(extra, item)) {
            item.Name = std::move(*unicodeName);
        }
    }
    return item;
}

// Sizes and CRC from the entry's data descriptor, the first one after its header.
void ReadDescriptor(const ZipStream& stream, DescriptorFinder& descriptors, std::uint64_t at,
                    TDirItem& item) {
    const std::int64_t found = descriptors.Find(at);
    if (found < 0) {
        item.DescriptorMissing = true;
        return;
    }
    std::uint8_t dd[kDataDescriptorSize];
    stream.ReadAt(static_cast<std::uint64_t>(found), dd);
    ByteReader r(dd);
    r.Skip(4, "data descriptor signature");
    item.CentralDir.crc32 = r.ReadU32("data descriptor crc32");
    item.CentralDir.compSize = r.ReadU32("data descriptor compressed size");
    item.CentralDir.unCompSize = r.ReadU32("data descriptor size");
}

} // namespace

void TryToBuildCentralDir(TZipDirManager& dm, bool endRecordFound, bool oemFileNames) {
    dm.CDir.Clear();
    const ZipStream& stream = dm.FCompressedStream;
    const std::uint64_t size = stream.Size();
    SignatureScanner headers(stream, kLocalFileHeaderSignature, kLocalFileHeaderSize);
    DescriptorFinder descriptors(stream);
    std::int64_t hit = headers.Find(0);
    if (hit < 0) {
        throw EZipException(native::kInvalidArchive);
    }
    const bool oemStep = endRecordFound && oemFileNames;
    for (; hit >= 0; hit = headers.Find(static_cast<std::uint64_t>(hit) + 4)) {
        const auto at = static_cast<std::uint64_t>(hit);
        const TZipFileHeader local = ReadLocalFileHeader(stream, at);
        if (local.compSize >= size || local.extraLength > 260) {
            continue;
        }
        TDirItem item = ItemFromLocalHeader(stream, at, local, oemStep);
        const bool descriptor = (local.genPurposeFlag & kFlagDataDescriptor) != 0;
        // Only a name ending in a separator makes a folder: an empty file stays a file.
        const bool folderName =
            !item.Name.empty() && (item.Name.back() == L'/' || item.Name.back() == L'\\');
        item.CentralDir.externalAttr =
            (local.unCompSize == 0 && !descriptor && folderName) ? kAttrDirectory : kAttrArchive;
        if (descriptor) {
            ReadDescriptor(stream, descriptors, at, item);
        }
        dm.CDir.Add(std::move(item));
    }
    dm.CentralDirOffset = static_cast<std::int64_t>(size);
}

namespace {

// The Zip64 locator and end record in front of the end record, when there are: answers
// where the directory ends.
std::int64_t ReadZip64Records(TZipDirManager& dm, std::int64_t endPosition) {
    const ZipStream& stream = dm.FCompressedStream;
    if (endPosition > kZip64CentralDirEndLocatorSize) {
        std::uint8_t raw[kZip64CentralDirEndLocatorSize];
        stream.ReadAt(static_cast<std::uint64_t>(endPosition) - kZip64CentralDirEndLocatorSize,
                      raw);
        const TZip64CentralDirEndLocator locator = ParseZip64Locator(ByteReader(raw));
        if (locator.signature == kZip64CentralDirEndLocatorSignature) {
            dm.FZip64 = true;
            dm.Zip64CentralDirEndLocator = locator;
            endPosition -= kZip64CentralDirEndLocatorSize;
        }
    }
    if (dm.FZip64) {
        bool found = false;
        if (endPosition > kZip64CentralDirEndSize) {
            std::uint8_t raw[kZip64CentralDirEndSize];
            stream.ReadAt(dm.Zip64CentralDirEndLocator.offsetStartDirEnd, raw);
            dm.Zip64CentralDirEnd = ParseZip64End(ByteReader(raw));
            found = dm.Zip64CentralDirEnd.signature == kZip64CentralDirEndSignature;
        }
        if (!found) {
            throw EZipException(native::kNoZip64DirEnd);
        }
        endPosition -= kZip64CentralDirEndSize;
    }
    return endPosition;
}

// The counted central headers, which must fill the directory's declared size exactly.
void ReadCentralEntries(TZipDirManager& dm, std::int64_t endPosition, bool oemFileNames) {
    const ZipStream& stream = dm.FCompressedStream;
    const std::uint64_t dirSize =
        dm.FZip64 ? dm.Zip64CentralDirEnd.centralDirSize : dm.CentralDirEnd.centralDirSize;
    const std::uint64_t count =
        dm.FZip64 ? dm.Zip64CentralDirEnd.entriesCentralDir : dm.CentralDirEnd.entriesCentralDir;
    if (dirSize > static_cast<std::uint64_t>(endPosition)) {
        throw fs::FileReadError("Stream read error");
    }
    const std::uint64_t dirStart = static_cast<std::uint64_t>(endPosition) - dirSize;
    dm.CentralDirOffset = static_cast<std::int64_t>(dirStart);
    // Room for the entries the stream can really hold, not what a record claims.
    dm.CDir.Reserve(static_cast<std::size_t>(
        std::min<std::uint64_t>(count, (stream.Size() - dirStart) / kCentralDirHeaderSize)));
    StreamCursor cursor(stream, dirStart);
    for (std::uint64_t i = 0; i < count; ++i) {
        dm.CDir.Add(ReadCentralEntry(cursor, oemFileNames));
    }
    // The counted entries must fill the directory exactly: a count that leaves headers
    // unread, or reads past them, lists what no peer lists.
    if (cursor.Position() != dirStart + dirSize) {
        throw EZipException(native::kArchiveDamaged);
    }
}

} // namespace

void LoadDir(TZipDirManager& dm, const DirectoryReadOptions& options,
             const CentralDirEndSearch* searched) {
    const ZipStream& stream = dm.FCompressedStream;
    dm.CDir.Clear();
    dm.CentralDirEnd = {};
    dm.ArchiveComment.clear();
    dm.FZip64 = false;
    dm.StubSize = 0;

    CentralDirEndSearch end = searched != nullptr ? *searched : GetCentralDirEnd(stream);
    if (!end.found) {
        TryToBuildCentralDir(dm, false, options.OEMFileNames);
        return;
    }
    dm.CentralDirEnd = end.record;
    dm.ArchiveComment = std::move(end.comment);
    std::int64_t endPosition = end.position;

    endPosition = ReadZip64Records(dm, endPosition);
    if (!dm.FZip64 && dm.CentralDirEnd.entriesCentralDir == kZip64Escape16) {
        TryToBuildCentralDir(dm, true, options.OEMFileNames);
        return;
    }

    const std::int64_t lastDisk =
        dm.CentralDirEnd.diskNumber != kZip64Escape16
            ? dm.CentralDirEnd.diskNumber
            : (dm.FZip64 ? std::int64_t{dm.Zip64CentralDirEndLocator.totalNumberOfDisks} - 1 : 0);
    if (lastDisk > 0) {
        // Multi-volume archives are not read by this installer.
        throw EZipException(native::kCannotOpenArchive);
    }

    try {
        ReadCentralEntries(dm, endPosition, options.OEMFileNames);
    } catch (const std::exception&) {
        if (!options.OpenCorruptedArchives) {
            throw;
        }
        TryToBuildCentralDir(dm, true, options.OEMFileNames);
        return;
    }

    if (!options.OpenCorruptedArchives) {
        CheckIfCentralDirIsValid(dm);
    }
    dm.StubSize = CalculateStubSize(dm, endPosition);
    if (!IsStubOffsetApplied(dm)) {
        AddStubToOffsets(dm);
    }
}

} // namespace ludrin::zip
