#pragma once
// An owned icon of the platform (an HICON on Windows), or none. The component fills it
// when it reads a shortcut; elsewhere it stays empty.

#include <cstdint>
#include <utility>

namespace ludrin::shelllink {

class TIcon {
public:
    TIcon() = default;
    TIcon(const TIcon&) = delete;
    TIcon& operator=(const TIcon&) = delete;
    ~TIcon() { Reset(); }

    bool Empty() const { return handle_ == nullptr; }
    void* Handle() const { return handle_; }

    // Takes ownership of `handle`, destroying the icon held before.
    void Reset(void* handle = nullptr) {
        if (void* old = std::exchange(handle_, handle)) {
            DestroyIconHandle(old);
        }
    }

private:
    // Backend: gives the platform icon back.
    static void DestroyIconHandle(void* handle);

    void* handle_ = nullptr;
};

} // namespace ludrin::shelllink
