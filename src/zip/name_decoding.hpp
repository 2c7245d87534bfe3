#pragma once
// Entry names as stored bytes become text: the OEM step for names written by DOS-era tools,
// UTF-8 recognised by its content, the ANSI code page for everything else, and the UTF-16
// names of Unicode name blocks.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace ludrin::zip {

// True when the bytes are valid UTF-8 holding at least one multi-byte sequence.
bool IsMultiByteUtf8(std::string_view bytes);

// A central directory name. `oemStep`: convert from the OEM to the ANSI code page first.
std::wstring DecodeCentralName(std::span<const std::uint8_t> bytes, bool oemStep);

// A name rebuilt from a local header: no UTF-8 detection, ANSI up to the first zero byte.
std::wstring DecodeLocalName(std::span<const std::uint8_t> bytes, bool oemStep);

// The name of a Unicode name block ("NUCX", a count, UTF-16LE units); nothing when the
// block is not one or its count does not fit its data.
std::optional<std::wstring> DecodeUnicodeNameBlock(std::span<const std::uint8_t> data);

} // namespace ludrin::zip
