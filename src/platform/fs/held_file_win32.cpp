#include "platform/fs/held_file.hpp"

#include <windows.h>

#include <algorithm>

namespace ludrin::fs {

std::intptr_t HeldFile::OpenShared(const std::wstring& path) {
    // Read access and read sharing only: a writer, a rename or a delete needs a sharing
    // this handle does not grant, while the loader's read-only open is granted.
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    return file == INVALID_HANDLE_VALUE ? kClosed : reinterpret_cast<std::intptr_t>(file);
}

std::int64_t HeldFile::ReadNext(std::intptr_t handle, std::span<std::uint8_t> into) {
    DWORD got = 0;
    const auto want = static_cast<DWORD>(std::min<std::size_t>(into.size(), 1u << 20));
    if (!ReadFile(reinterpret_cast<HANDLE>(handle), into.data(), want, &got, nullptr)) {
        return -1;
    }
    return got;
}

void HeldFile::CloseHandle(std::intptr_t handle) {
    ::CloseHandle(reinterpret_cast<HANDLE>(handle));
}

} // namespace ludrin::fs
