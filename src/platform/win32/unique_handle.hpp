#pragma once
// Owned Win32 handles: a kernel handle (file, process, snapshot) or a find handle, closed
// exactly once with the function its kind needs.

#include <windows.h>

#include <utility>

namespace ludrin::win32 {

template <BOOL(WINAPI* Close)(HANDLE)> class BasicHandle {
public:
    BasicHandle() = default;
    explicit BasicHandle(HANDLE handle) : handle_(handle) {}
    BasicHandle(const BasicHandle&) = delete;
    BasicHandle& operator=(const BasicHandle&) = delete;
    BasicHandle(BasicHandle&& other) noexcept : handle_(other.Release()) {}
    BasicHandle& operator=(BasicHandle&& other) noexcept {
        if (this != &other) {
            Reset(other.Release());
        }
        return *this;
    }
    ~BasicHandle() { Reset(); }

    // Both "no handle" values of the API count as empty.
    bool Valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    explicit operator bool() const { return Valid(); }
    HANDLE Get() const { return handle_; }
    HANDLE Release() { return std::exchange(handle_, INVALID_HANDLE_VALUE); }

    // Closes the handle held (if any) and answers whether closing succeeded.
    bool Reset(HANDLE handle = INVALID_HANDLE_VALUE) {
        const HANDLE old = std::exchange(handle_, handle);
        if (old == nullptr || old == INVALID_HANDLE_VALUE) {
            return true;
        }
        return Close(old) != FALSE;
    }

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

using UniqueHandle = BasicHandle<CloseHandle>;
using UniqueFindHandle = BasicHandle<FindClose>;

} // namespace ludrin::win32
