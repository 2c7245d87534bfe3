#include "app/win32/form_resource_win32.hpp"

namespace ludrin::win32 {

std::optional<std::span<const std::uint8_t>> FindFormResource(HMODULE module) {
    const HRSRC info = FindResourceExW(module, RT_RCDATA, L"TFORMMAIN", kFormLanguage);
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

} // namespace ludrin::win32
