#include "platform/text/code_pages.hpp"

#include <windows.h>

namespace ludrin::text {
namespace {

std::string_view UpToZero(std::string_view bytes) {
    return bytes.substr(0, bytes.find('\0'));
}

std::wstring ToWide(UINT codePage, std::string_view bytes) {
    if (bytes.empty()) {
        return {};
    }
    const int length = static_cast<int>(bytes.size());
    const int count = MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(count > 0 ? count : 0), L'\0');
    if (count > 0) {
        MultiByteToWideChar(codePage, 0, bytes.data(), length, out.data(), count);
    }
    return out;
}

} // namespace

std::string ConvertOemToAnsi(std::string_view oem) {
    return WideToAnsi(ToWide(CP_OEMCP, UpToZero(oem)));
}

std::wstring AnsiToWide(std::string_view ansi) {
    return ToWide(CP_ACP, UpToZero(ansi));
}

std::string WideToAnsi(std::wstring_view wide) {
    if (wide.empty()) {
        return {};
    }
    const int length = static_cast<int>(wide.size());
    const int count =
        WideCharToMultiByte(CP_ACP, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(count > 0 ? count : 0), '\0');
    if (count > 0) {
        WideCharToMultiByte(CP_ACP, 0, wide.data(), length, out.data(), count, nullptr, nullptr);
    }
    return out;
}

} // namespace ludrin::text
