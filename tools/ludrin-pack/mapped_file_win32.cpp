#include "mapped_file.hpp"

#include <windows.h>

#include <stdexcept>

namespace ludrin::pack {

MappedFile::MappedFile(const std::filesystem::path& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        throw std::runtime_error("cannot open " + path.string());
    }
    LARGE_INTEGER size{};
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileSizeEx(file, &size)) {
        CloseHandle(file);
        throw std::runtime_error(path.string() + " is not a regular file");
    }
    size_ = static_cast<std::size_t>(size.QuadPart);
    if (size_ > 0) {
        HANDLE mapping = CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
        const void* view =
            mapping != nullptr ? MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0) : nullptr;
        if (view == nullptr) {
            if (mapping != nullptr) {
                CloseHandle(mapping);
            }
            CloseHandle(file);
            throw std::runtime_error("cannot map " + path.string());
        }
        mapping_ = reinterpret_cast<std::intptr_t>(mapping);
        data_ = static_cast<const std::uint8_t*>(view);
    }
    CloseHandle(file);
}

MappedFile::~MappedFile() {
    if (data_ != nullptr) {
        UnmapViewOfFile(data_);
        CloseHandle(reinterpret_cast<HANDLE>(mapping_));
    }
}

// Windows trims a mapped view's pages from the working set itself when memory is short.
void MappedFile::Done(std::span<const std::uint8_t>) const {}

} // namespace ludrin::pack
