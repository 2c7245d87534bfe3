#pragma once
// The shell-link (.lnk) file format: record layouts and constants, and the fields this
// program writes and reads. A file holds a fixed header, an optional item-id list, an
// optional link-info block with the target's path, counted strings, and extra blocks.

#include <array>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace ludrin::shelllink::lnk {

// Header: 0x4C bytes, little-endian.
inline constexpr std::uint32_t kHeaderSize = 0x4C;
inline constexpr std::array<std::uint8_t, 16> kLinkClsid = {
    0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,  // {00021401-0000-0000-
    0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}; //  C000-000000000046}
namespace header {
inline constexpr std::size_t kSize = 0x00;
inline constexpr std::size_t kClsid = 0x04;
inline constexpr std::size_t kLinkFlags = 0x14;
inline constexpr std::size_t kFileAttributes = 0x18;
inline constexpr std::size_t kCreationTime = 0x1C;
inline constexpr std::size_t kAccessTime = 0x24;
inline constexpr std::size_t kWriteTime = 0x2C;
inline constexpr std::size_t kFileSize = 0x34;
inline constexpr std::size_t kIconIndex = 0x38;
inline constexpr std::size_t kShowCommand = 0x3C;
inline constexpr std::size_t kHotKey = 0x40;
// 0x42: two reserved bytes, then two reserved 32-bit words, all zero.
} // namespace header

// Link flags: which optional parts follow the header.
namespace flag {
inline constexpr std::uint32_t kHasLinkTargetIdList = 0x0001;
inline constexpr std::uint32_t kHasLinkInfo = 0x0002;
inline constexpr std::uint32_t kHasName = 0x0004;
inline constexpr std::uint32_t kHasRelativePath = 0x0008;
inline constexpr std::uint32_t kHasWorkingDir = 0x0010;
inline constexpr std::uint32_t kHasArguments = 0x0020;
inline constexpr std::uint32_t kHasIconLocation = 0x0040;
inline constexpr std::uint32_t kIsUnicode = 0x0080;
inline constexpr std::uint32_t kForceNoLinkInfo = 0x0100;
} // namespace flag

// Link-info block: a 32-bit total size, then its header and the data its offsets point into.
// Offsets are from the start of the block.
namespace link_info {
inline constexpr std::size_t kSize = 0x00;
inline constexpr std::size_t kHeaderSize = 0x04;
inline constexpr std::size_t kFlags = 0x08;
inline constexpr std::size_t kVolumeIdOffset = 0x0C;
inline constexpr std::size_t kLocalBasePathOffset = 0x10;
inline constexpr std::size_t kNetworkLinkOffset = 0x14;
inline constexpr std::size_t kCommonPathSuffixOffset = 0x18;
// Present when the header is at least 0x24 bytes long: the UTF-16 twins of the two paths.
inline constexpr std::size_t kLocalBasePathOffsetUnicode = 0x1C;
inline constexpr std::size_t kCommonPathSuffixOffsetUnicode = 0x20;
inline constexpr std::uint32_t kMinimalHeaderSize = 0x1C;
inline constexpr std::uint32_t kUnicodeHeaderSize = 0x24;
// Flags of the block.
inline constexpr std::uint32_t kVolumeIdAndLocalBasePath = 0x1;
inline constexpr std::uint32_t kCommonNetworkRelativeLink = 0x2;
} // namespace link_info

// Volume id inside the link-info block: size, drive type, serial number, label offset, label.
namespace volume_id {
inline constexpr std::size_t kSize = 0x00;
inline constexpr std::size_t kDriveType = 0x04;
inline constexpr std::size_t kSerialNumber = 0x08;
inline constexpr std::size_t kLabelOffset = 0x0C;
inline constexpr std::uint32_t kHeaderSize = 0x10;
inline constexpr std::uint32_t kDriveFixed = 3;
} // namespace volume_id

// A string-data entry counts its characters in 16 bits.
inline constexpr std::size_t kMaxStringUnits = 0xFFFF;

// The fields of a shortcut that this program keeps.
struct ShellLinkData {
    std::wstring target; // the local path the shortcut starts
    std::wstring arguments;
    std::wstring workingDirectory;
    std::wstring description;
    std::wstring iconLocation;
    std::int32_t iconIndex = 0;
    std::uint32_t showCommand = 1;
    std::uint16_t hotKey = 0; // key code low byte, modifier flags high byte

    bool operator==(const ShellLinkData&) const = default;
};

// A shortcut file that cannot be read, or fields that cannot be stored in one. Input cut
// short raises bytes::ShortRead instead, naming the field.
class LnkFormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The bytes of a shortcut file holding `data`. Raises LnkFormatError for a text that a
// shortcut cannot hold (a null character inside it, or more than 0xFFFF UTF-16 units).
std::vector<std::uint8_t> WriteShellLink(const ShellLinkData& data);

// The fields of a shortcut file. Raises LnkFormatError or bytes::ShortRead.
ShellLinkData ReadShellLink(std::span<const std::uint8_t> bytes);

} // namespace ludrin::shelllink::lnk
