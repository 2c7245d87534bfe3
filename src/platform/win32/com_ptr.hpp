#pragma once
// An owned COM interface pointer, released exactly once on every path out of a call.

#include <unknwn.h>

#include <utility>

namespace ludrin::win32 {

template <typename Interface> class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            Reset();
            pointer_ = std::exchange(other.pointer_, nullptr);
        }
        return *this;
    }
    ~ComPtr() { Reset(); }

    Interface* operator->() const { return pointer_; }
    Interface* Get() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }

    // For functions that hand out a new reference; whatever was held is released first.
    Interface** Put() {
        Reset();
        return &pointer_;
    }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }

    void Reset() {
        if (Interface* old = std::exchange(pointer_, nullptr)) {
            old->Release();
        }
    }

private:
    Interface* pointer_ = nullptr;
};

} // namespace ludrin::win32
