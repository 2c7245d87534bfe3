#pragma once
// A small ZIP writer for fixtures that need exact bytes: data descriptors, Zip64 records,
// stubs, comments, raw name bytes, extra blocks, encrypted entries and wrong fields. It is
// written from the format itself and shares no code with the reader it tests.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ludrin::testing {

struct ZipEntryPlan {
    std::string name;         // raw name bytes
    std::string data;         // the entry's content
    std::uint16_t method = 8; // 0 stored, 8 deflated; any other value is written as given
    std::uint16_t flags = 0;  // bit 0 and bit 3 are added by `password` / `dataDescriptor`
    std::uint32_t externalAttr = 0x20;
    std::uint16_t versionMadeBy = 20;
    std::uint16_t extractVersion = 20;
    std::uint16_t time = 0x6C21;
    std::uint16_t date = 0x5A8A;
    std::optional<std::uint32_t> crc;          // written instead of the real CRC-32
    std::optional<std::uint32_t> declaredSize; // central uncompressed size instead of the real
    std::optional<std::uint32_t> declaredCompressedSize;
    std::optional<std::string> compressedData; // stored bytes as given, no compression
    std::string centralExtra;                  // raw extra field bytes
    std::string localExtra;
    std::string comment;
    bool dataDescriptor = false;
    bool descriptorSignature = true;
    bool zip64 = false;   // sizes and offset escaped, their values in a Zip64 block
    std::string password; // traditional PKWARE encryption when not empty
};

struct ZipArchivePlan {
    std::vector<ZipEntryPlan> entries;
    std::string stub; // bytes in front of the archive
    bool offsetsIncludeStub = true;
    std::string comment;
    std::optional<std::uint16_t> declaredCommentLength;
    bool zip64EndRecords = false;    // Zip64 end record and locator, escaped end record fields
    bool omitZip64EndRecord = false; // the locator alone
};

// An entry with its name, content and method, every other field at its default.
ZipEntryPlan MakeEntry(const std::string& name, const std::string& data, std::uint16_t method = 8);

std::string WriteZip(const ZipArchivePlan& spec);

// Raw deflate of `data` (no zlib header).
std::string Deflate(const std::string& data, int level = 6);
std::uint32_t Crc32(const std::string& data);

// Extra blocks.
std::string ExtraBlock(std::uint16_t id, const std::string& data);
std::string UnicodeNameBlock(const std::u16string& name);
std::string AesBlock(std::uint8_t strength, std::uint16_t method);

// Little-endian bytes.
std::string Le16(std::uint16_t value);
std::string Le32(std::uint32_t value);
std::string Le64(std::uint64_t value);

// Bytes of pseudo-random content and of compressible text, the same for the same seed.
std::string RandomBytes(std::size_t size, std::uint32_t seed);
std::string TextBytes(std::size_t size, std::uint32_t seed);

} // namespace ludrin::testing
