#include "platform/fs/held_file.hpp"

#include <algorithm>
#include <array>
#include <utility>

namespace ludrin::fs {

std::optional<HeldFile> HeldFile::HoldWith(const std::wstring& path,
                                           std::span<const std::uint8_t> expected) {
    return HoldWith(path, [expected](const PieceSink& sink) { sink(expected); });
}

std::optional<HeldFile> HeldFile::HoldWith(const std::wstring& path,
                                           const std::function<void(const PieceSink&)>& expected) {
    if (path.empty()) {
        return std::nullopt;
    }
    const std::intptr_t handle = OpenShared(path);
    if (handle == kClosed) {
        return std::nullopt;
    }
    HeldFile held(handle);
    // The file is read exactly as far as each expected piece reaches and compared with it.
    struct Differs {};
    std::array<std::uint8_t, 64 * 1024> chunk{};
    try {
        expected([&](std::span<const std::uint8_t> piece) {
            while (!piece.empty()) {
                const std::size_t want = std::min(piece.size(), chunk.size());
                const std::int64_t got = ReadNext(handle, std::span(chunk).first(want));
                if (got <= 0) {
                    throw Differs{}; // shorter than expected, or unreadable
                }
                const auto count = static_cast<std::size_t>(got);
                if (!std::equal(chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(count),
                                piece.begin())) {
                    throw Differs{};
                }
                piece = piece.subspan(count);
            }
        });
    } catch (const Differs&) {
        return std::nullopt;
    }
    // Anything beyond the expected bytes is not our file either.
    if (ReadNext(handle, std::span(chunk).first(1)) != 0) {
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
