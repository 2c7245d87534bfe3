// Writes the smallest shortcut that the shell resolves without help: the target as a
// local path in the link-info block (no item-id list, which would need the shell's own
// item encoding), the texts as counted UTF-16 strings.

#include "bytes/byte_writer.hpp"
#include "platform/shelllink/lnk_format.hpp"
#include "platform/text/utf16.hpp"

#include <algorithm>

namespace ludrin::shelllink::lnk {
namespace {

using namespace ludrin::bytes;

std::u16string StorableText(const std::wstring& text, const char* field) {
    if (text.find(L'\0') != std::wstring::npos) {
        throw LnkFormatError(std::string("the shortcut's ") + field + " holds a null character");
    }
    auto units = text::WideToUtf16(text);
    if (units.size() > kMaxStringUnits) {
        throw LnkFormatError(std::string("the shortcut's ") + field + " is longer than " +
                             std::to_string(kMaxStringUnits) + " characters");
    }
    return units;
}

// The ANSI twin of a path, for readers that know no other: Latin-1 letters (which the
// Western code page shares) kept, anything else a question mark.
void AppendAnsi(std::vector<std::uint8_t>& out, std::u16string_view units) {
    for (const char16_t unit : units) {
        const bool shared = unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF);
        AppendU8(out, shared ? static_cast<std::uint8_t>(unit) : std::uint8_t{'?'});
    }
    AppendU8(out, 0);
}

void AppendUnicode(std::vector<std::uint8_t>& out, std::u16string_view units) {
    for (const char16_t unit : units) {
        AppendU16(out, unit);
    }
}

void AppendLinkInfo(std::vector<std::uint8_t>& out, std::u16string_view path) {
    const std::size_t start = out.size();
    out.resize(start + link_info::kUnicodeHeaderSize, 0);
    const auto offset = [&] {
        return static_cast<std::uint32_t>(out.size() - start);
    };

    const std::uint32_t volumeId = offset();
    AppendU32(out, volume_id::kHeaderSize + 1);
    AppendU32(out, volume_id::kDriveFixed);
    AppendU32(out, 0); // serial number unknown
    AppendU32(out, volume_id::kHeaderSize);
    AppendU8(out, 0); // empty label

    const std::uint32_t basePath = offset();
    AppendAnsi(out, path);
    const std::uint32_t suffix = offset();
    AppendU8(out, 0);
    const std::uint32_t basePathUnicode = offset();
    AppendUnicode(out, path);
    AppendU16(out, 0);
    const std::uint32_t suffixUnicode = offset();
    AppendU16(out, 0);

    std::uint8_t* const block = out.data() + start;
    PutU32(block + link_info::kSize, offset());
    PutU32(block + link_info::kHeaderSize, link_info::kUnicodeHeaderSize);
    PutU32(block + link_info::kFlags, link_info::kVolumeIdAndLocalBasePath);
    PutU32(block + link_info::kVolumeIdOffset, volumeId);
    PutU32(block + link_info::kLocalBasePathOffset, basePath);
    PutU32(block + link_info::kNetworkLinkOffset, 0);
    PutU32(block + link_info::kCommonPathSuffixOffset, suffix);
    PutU32(block + link_info::kLocalBasePathOffsetUnicode, basePathUnicode);
    PutU32(block + link_info::kCommonPathSuffixOffsetUnicode, suffixUnicode);
}

void AppendCountedString(std::vector<std::uint8_t>& out, std::u16string_view units) {
    AppendU16(out, static_cast<std::uint16_t>(units.size()));
    AppendUnicode(out, units);
}

} // namespace

std::vector<std::uint8_t> WriteShellLink(const ShellLinkData& data) {
    const auto target = StorableText(data.target, "target");
    const auto description = StorableText(data.description, "description");
    const auto workingDirectory = StorableText(data.workingDirectory, "working folder");
    const auto arguments = StorableText(data.arguments, "arguments");
    const auto iconLocation = StorableText(data.iconLocation, "icon location");

    std::uint32_t flags = flag::kIsUnicode;
    const auto flagIf = [&flags](const std::u16string& text, std::uint32_t bit) {
        if (!text.empty()) {
            flags |= bit;
        }
    };
    flagIf(target, flag::kHasLinkInfo);
    flagIf(description, flag::kHasName);
    flagIf(workingDirectory, flag::kHasWorkingDir);
    flagIf(arguments, flag::kHasArguments);
    flagIf(iconLocation, flag::kHasIconLocation);

    // Room for the header and a typical path up front: besides saving regrowth, it keeps
    // GCC 12 at -O3 from a false out-of-bounds warning on the first regrowth.
    std::vector<std::uint8_t> out;
    out.reserve(kHeaderSize + 1024);
    out.resize(kHeaderSize, 0);
    PutU32(out.data() + header::kSize, kHeaderSize);
    std::copy(kLinkClsid.begin(), kLinkClsid.end(), out.begin() + header::kClsid);
    PutU32(out.data() + header::kLinkFlags, flags);
    PutU32(out.data() + header::kIconIndex, static_cast<std::uint32_t>(data.iconIndex));
    PutU32(out.data() + header::kShowCommand, data.showCommand);
    PutU16(out.data() + header::kHotKey, data.hotKey);

    if (!target.empty()) {
        AppendLinkInfo(out, target);
    }
    // The string data comes in this fixed order, each only when its flag is set.
    for (const auto* text : {&description, &workingDirectory, &arguments, &iconLocation}) {
        if (!text->empty()) {
            AppendCountedString(out, *text);
        }
    }
    AppendU32(out, 0); // no extra data blocks
    return out;
}

} // namespace ludrin::shelllink::lnk
