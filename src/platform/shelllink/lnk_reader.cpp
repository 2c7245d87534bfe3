// Reads the fields of a shortcut written by the shell or by us. Every read is bounded by
// the bytes really present: a declared size or offset beyond them is an error, never a read
// outside the input.

#include "bytes/byte_reader.hpp"
#include "platform/shelllink/lnk_format.hpp"
#include "platform/text/utf16.hpp"

#include <algorithm>

namespace ludrin::shelllink::lnk {
namespace {

using bytes::ByteReader;

// Texts end at their first null character, as the shell hands them out.
std::wstring UpToNull(std::wstring text) {
    text.resize(std::min(text.size(), text.find(L'\0')));
    return text;
}

std::wstring DecodeAnsi(std::span<const std::uint8_t> bytes) {
    // The code page of the writer is unknown; Latin-1 agrees with the Western one on letters.
    return UpToNull(std::wstring(bytes.begin(), bytes.end()));
}

std::u16string Utf16Units(std::span<const std::uint8_t> bytes) {
    std::u16string units(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i) {
        units[i] =
            static_cast<char16_t>(ByteReader::LittleEndian<std::uint16_t>(bytes.subspan(2 * i, 2)));
    }
    return units;
}

std::wstring DecodeUnicode(std::span<const std::uint8_t> bytes) {
    return UpToNull(text::Utf16ToWide(Utf16Units(bytes)));
}

// A null-terminated text inside the link-info block, of one- or two-byte characters, without
// its null.
std::span<const std::uint8_t> TerminatedBytes(const ByteReader& block, std::uint32_t offset,
                                              std::size_t unit, const char* field) {
    const auto rest =
        block.At(offset, block.Size() - std::min<std::size_t>(offset, block.Size()), field);
    for (std::size_t end = 0; end + unit <= rest.size(); end += unit) {
        if (rest[end] == 0 && (unit == 1 || rest[end + 1] == 0)) {
            return rest.first(end);
        }
    }
    throw LnkFormatError(std::string(field) + " at offset " + std::to_string(offset) +
                         " has no terminating null inside the link-info block");
}

// The target's local path: base path and common suffix, the UTF-16 pair when the block has
// one. A network-only target has no local path and gives an empty text.
std::wstring LinkInfoTarget(const ByteReader& block) {
    const std::uint32_t headerSize = block.U32At(link_info::kHeaderSize, "link-info header size");
    if (headerSize < link_info::kMinimalHeaderSize || headerSize > block.Size()) {
        throw LnkFormatError("link-info header size " + std::to_string(headerSize) +
                             " does not fit a block of " + std::to_string(block.Size()) + " bytes");
    }
    const std::uint32_t flags = block.U32At(link_info::kFlags, "link-info flags");
    if ((flags & link_info::kVolumeIdAndLocalBasePath) == 0) {
        return {};
    }
    if (headerSize >= link_info::kUnicodeHeaderSize) {
        const auto base =
            block.U32At(link_info::kLocalBasePathOffsetUnicode, "local base path offset (UTF-16)");
        const auto suffix = block.U32At(link_info::kCommonPathSuffixOffsetUnicode,
                                        "common path suffix offset (UTF-16)");
        if (base != 0) {
            // Joined as UTF-16 before decoding: a surrogate at the end of one half and its
            // pair at the start of the other are one character, as Windows reads them.
            std::u16string path =
                Utf16Units(TerminatedBytes(block, base, 2, "local base path (UTF-16)"));
            if (suffix != 0) {
                path +=
                    Utf16Units(TerminatedBytes(block, suffix, 2, "common path suffix (UTF-16)"));
            }
            return text::Utf16ToWide(path);
        }
    }
    const auto base = block.U32At(link_info::kLocalBasePathOffset, "local base path offset");
    const auto suffix =
        block.U32At(link_info::kCommonPathSuffixOffset, "common path suffix offset");
    return DecodeAnsi(TerminatedBytes(block, base, 1, "local base path")) +
           DecodeAnsi(TerminatedBytes(block, suffix, 1, "common path suffix"));
}

std::wstring CountedString(ByteReader& reader, bool unicode, const char* field) {
    const std::uint16_t count = reader.ReadU16(field);
    const auto text = reader.Take(unicode ? 2ull * count : count, field);
    return unicode ? DecodeUnicode(text) : DecodeAnsi(text);
}

} // namespace

ShellLinkData ReadShellLink(std::span<const std::uint8_t> bytes) {
    ByteReader reader(bytes);
    const std::uint32_t headerSize = reader.U32At(header::kSize, "header size");
    if (headerSize != kHeaderSize) {
        throw LnkFormatError("not a shortcut: header size " + std::to_string(headerSize) +
                             " instead of " + std::to_string(kHeaderSize));
    }
    const auto clsid = reader.At(header::kClsid, kLinkClsid.size(), "link class id");
    if (!std::equal(clsid.begin(), clsid.end(), kLinkClsid.begin())) {
        throw LnkFormatError("not a shortcut: the header names another class");
    }
    const std::uint32_t flags = reader.U32At(header::kLinkFlags, "link flags");

    ShellLinkData data;
    data.iconIndex = static_cast<std::int32_t>(reader.U32At(header::kIconIndex, "icon index"));
    data.showCommand = reader.U32At(header::kShowCommand, "show command");
    data.hotKey = reader.U16At(header::kHotKey, "hot key");
    reader.Seek(kHeaderSize, "header");

    if (flags & flag::kHasLinkTargetIdList) {
        const std::uint16_t size = reader.ReadU16("item-id list size");
        reader.Skip(size, "item-id list");
    }
    if (flags & flag::kHasLinkInfo) {
        const std::uint32_t size = reader.U32At(reader.Position(), "link-info size");
        if (size < link_info::kMinimalHeaderSize) {
            throw LnkFormatError("link-info size " + std::to_string(size) +
                                 " is smaller than its header");
        }
        const auto block = reader.Sub(reader.Position(), size, "link-info block");
        reader.Skip(size, "link-info block");
        if ((flags & flag::kForceNoLinkInfo) == 0) {
            data.target = LinkInfoTarget(block);
        }
    }

    const bool unicode = (flags & flag::kIsUnicode) != 0;
    if (flags & flag::kHasName) {
        data.description = CountedString(reader, unicode, "description");
    }
    if (flags & flag::kHasRelativePath) {
        CountedString(reader, unicode, "relative path");
    }
    if (flags & flag::kHasWorkingDir) {
        data.workingDirectory = CountedString(reader, unicode, "working folder");
    }
    if (flags & flag::kHasArguments) {
        data.arguments = CountedString(reader, unicode, "arguments");
    }
    if (flags & flag::kHasIconLocation) {
        data.iconLocation = CountedString(reader, unicode, "icon location");
    }
    return data;
}

} // namespace ludrin::shelllink::lnk
