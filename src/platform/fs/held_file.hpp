#pragma once
// A file held open, unchanged, while a program started from it runs.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

namespace ludrin::fs {

// Open for reading and, on Windows, shared for reading only: while it is held no other
// program can write, rename or delete the file, and the loader, which opens an image for
// reading, can still start it. (POSIX has no such sharing; there the hold only checks.)
class HeldFile {
public:
    // Opens `path` so and checks, through the held handle, that it holds exactly
    // `expected`. Nothing when it cannot be opened or holds anything else (it was changed
    // or replaced between being written and being held).
    static std::optional<HeldFile> HoldWith(const std::wstring& path,
                                            std::span<const std::uint8_t> expected);
    // The same, with the expected bytes handed to a sink in order, in pieces of any size,
    // so that a file unpacked as it is compared is never held whole.
    using PieceSink = std::function<void(std::span<const std::uint8_t>)>;
    static std::optional<HeldFile> HoldWith(const std::wstring& path,
                                            const std::function<void(const PieceSink&)>& expected);
    HeldFile(HeldFile&& other) noexcept;
    HeldFile& operator=(HeldFile&& other) noexcept;
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    ~HeldFile();

private:
    static constexpr std::intptr_t kClosed = -1;
    explicit HeldFile(std::intptr_t handle) : handle_(handle) {}
    // The platform's three steps: open shared for reading only, read the next bytes (0 at
    // the end or on an error, -1 on an error), close.
    static std::intptr_t OpenShared(const std::wstring& path);
    static std::int64_t ReadNext(std::intptr_t handle, std::span<std::uint8_t> into);
    static void CloseHandle(std::intptr_t handle);

    std::intptr_t handle_;
};

} // namespace ludrin::fs
