#pragma once
// One window class per C++ class: `this` is stored at WM_NCCREATE and every message goes
// to the derived class's HandleMessage.

#include <windows.h>

namespace ludrin::ui::win32 {

template <typename Derived> class BaseWindow {
public:
    HWND Handle() const { return hwnd_; }

protected:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        Derived* self = nullptr;
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            self = static_cast<Derived*>(create->lpCreateParams);
            self->hwnd_ = hwnd;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        } else {
            self = reinterpret_cast<Derived*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        }
        if (self == nullptr) {
            return DefWindowProcW(hwnd, message, wParam, lParam);
        }
        LRESULT result = 0;
        try {
            result = self->HandleMessage(message, wParam, lParam);
        } catch (...) {
            // Unwinding through the system's frames would end the process: the message gets
            // its default handling and the window lives on. (Operations catch their own
            // exceptions and say so; this is the last line.)
            result = DefWindowProcW(hwnd, message, wParam, lParam);
        }
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
        }
        return result;
    }

    // Registers the class once per process.
    static void Register(const wchar_t* className, UINT style = CS_HREDRAW | CS_VREDRAW) {
        WNDCLASSEXW existing{};
        existing.cbSize = sizeof existing;
        const HINSTANCE instance = GetModuleHandleW(nullptr);
        if (GetClassInfoExW(instance, className, &existing)) {
            return;
        }
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.style = style;
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = className;
        wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
        RegisterClassExW(&wc);
    }

    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) {
        return DefWindowProcW(hwnd_, message, wParam, lParam);
    }

    HWND hwnd_ = nullptr;
};

} // namespace ludrin::ui::win32
