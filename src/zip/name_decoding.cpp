#include "zip/name_decoding.hpp"

#include "bytes/byte_reader.hpp"
#include "platform/text/code_pages.hpp"
#include "platform/text/utf.hpp"
#include "zip/zip_records.hpp"

namespace ludrin::zip {
namespace {

std::string_view UpToZero(std::string_view bytes) {
    return bytes.substr(0, bytes.find('\0'));
}

std::string_view AsChars(std::span<const std::uint8_t> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

} // namespace

bool IsMultiByteUtf8(std::string_view bytes) {
    bool multiByte = false;
    for (std::size_t i = 0; i < bytes.size();) {
        if (static_cast<std::uint8_t>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        const text::Utf8Sequence sequence = text::DecodeUtf8Sequence(bytes, i);
        if (!sequence.valid) {
            return false;
        }
        multiByte = true;
        i += sequence.length;
    }
    return multiByte;
}

std::wstring DecodeCentralName(std::span<const std::uint8_t> bytes, bool oemStep) {
    // The stored name stands for a C string: it ends at its first zero byte.
    std::string name(UpToZero(AsChars(bytes)));
    if (oemStep) {
        name = text::ConvertOemToAnsi(name);
    }
    if (IsMultiByteUtf8(name)) {
        return text::Utf8ToWide(name);
    }
    return text::AnsiToWide(name);
}

std::wstring DecodeLocalName(std::span<const std::uint8_t> bytes, bool oemStep) {
    std::string name(UpToZero(AsChars(bytes)));
    if (oemStep) {
        name = text::ConvertOemToAnsi(name);
    }
    return text::AnsiToWide(name);
}

std::optional<std::wstring> DecodeUnicodeNameBlock(std::span<const std::uint8_t> data) {
    bytes::ByteReader reader(data);
    if (!reader.Fits(0, 8) || reader.ReadU32("unicode name signature") != kUnicodeNameSignature) {
        return std::nullopt;
    }
    const auto count = static_cast<std::int32_t>(reader.ReadU32("unicode name length"));
    if (count < 0 || static_cast<std::uint64_t>(count) * 2 > reader.Remaining()) {
        return std::nullopt;
    }
    std::wstring name;
    name.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        char32_t unit = reader.ReadU16("unicode name unit");
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < count) {
            const char16_t low = reader.U16At(reader.Position(), "unicode name unit");
            if (low >= 0xDC00 && low <= 0xDFFF) {
                reader.Skip(2, "unicode name unit");
                ++i;
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
            }
        }
        if (unit >= 0xD800 && unit <= 0xDFFF) {
            unit = 0xFFFD; // an unpaired surrogate is no character
        }
        text::AppendCodePoint(name, unit);
    }
    return name;
}

} // namespace ludrin::zip
