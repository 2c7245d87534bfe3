#include "app/win32/form_resource_win32.hpp"

namespace ludrin::win32 {

std::optional<std::span<const std::uint8_t>> FindFormResource(HMODULE module) {
    const HRSRC info = FindResourceW(module, L"TFORMMAIN", RT_RCDATA);
    if (info == nullptr) {
        return std::nullopt;
    }
    const DWORD size = SizeofResource(module, info);
    const HGLOBAL loaded = LoadResource(module, info);
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr) {
        return std::nullopt;
    }
    return std::span<const std::uint8_t>(static_cast<const std::uint8_t*>(bytes), size);
}

std::wstring DamagedInstallerText(const std::wstring& reason) {
    std::wstring line = reason;
    // One line: the box lays out the fixed text, the reason must not break it up.
    for (wchar_t& c : line) {
        if (c == L'\r' || c == L'\n') {
            c = L' ';
        }
    }
    std::wstring text = L"ERRORE- Il programma di installazione \u00E8 danneggiato.\r\n\r\n";
    text.append(line);
    return text;
}

} // namespace ludrin::win32
