#include "platform/fs/held_file.hpp"

#include <algorithm>
#include <array>
#include <utility>

namespace ludrin::fs {

std::optional<HeldFile> HeldFile::HoldWith(const std::wstring& path,
                                           std::span<const std::uint8_t> expected) {
    if (path.empty()) {
        return std::nullopt;
    }
    const std::intptr_t handle = OpenShared(path);
    if (handle == kClosed) {
        return std::nullopt;
    }
    HeldFile held(handle);
    std::array<std::uint8_t, 64 * 1024> chunk{};
    std::size_t compared = 0;
    for (;;) {
        const std::int64_t got = ReadNext(handle, chunk);
        if (got < 0) {
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        const auto count = static_cast<std::size_t>(got);
        // Anything beyond the expected bytes, or different from them, is not our file.
        if (count > expected.size() - compared ||
            !std::equal(chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(count),
                        expected.begin() + static_cast<std::ptrdiff_t>(compared))) {
            return std::nullopt;
        }
        compared += count;
    }
    if (compared != expected.size()) {
        return std::nullopt;
    }
    return held;
}

HeldFile::HeldFile(HeldFile&& other) noexcept : handle_(std::exchange(other.handle_, kClosed)) {}

HeldFile& HeldFile::operator=(HeldFile&& other) noexcept {
    if (this != &other) {
        if (handle_ != kClosed) {
            CloseHandle(handle_);
        }
        handle_ = std::exchange(other.handle_, kClosed);
    }
    return *this;
}

HeldFile::~HeldFile() {
    if (handle_ != kClosed) {
        CloseHandle(handle_);
    }
}

} // namespace ludrin::fs
