#pragma once
// A system control (a "Button", a "Static") with one C++ object attached for the life of
// its window: the object sees every message first, and goes when the window goes.

#include <windows.h>

#include <commctrl.h>

#include <utility>

namespace ludrin::ui::win32 {

// Control: a class with a constructor (HWND, Args...) and
// LRESULT HandleMessage(UINT, WPARAM, LPARAM), which passes on what it does not handle with
// DefSubclassProc. It befriends Subclassed<Control> when those are private.
template <typename Control> class Subclassed {
public:
    template <typename... Args>
    static HWND Create(const wchar_t* className, const wchar_t* text, DWORD style, HWND parent,
                       int id, Args&&... args) {
        const HWND window = CreateWindowExW(0, className, text, style, 0, 0, 0, 0, parent,
                                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                            GetModuleHandleW(nullptr), nullptr);
        if (window != nullptr) {
            auto* control = new Control(window, std::forward<Args>(args)...);
            SetWindowSubclass(window, Proc, kSubclassId, reinterpret_cast<DWORD_PTR>(control));
        }
        return window;
    }

private:
    static constexpr UINT_PTR kSubclassId = 1;

    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                 DWORD_PTR self) {
        auto* control = reinterpret_cast<Control*>(self);
        if (message == WM_NCDESTROY) {
            RemoveWindowSubclass(window, Proc, kSubclassId);
            delete control;
            return DefSubclassProc(window, message, wParam, lParam);
        }
        return control->HandleMessage(message, wParam, lParam);
    }
};

} // namespace ludrin::ui::win32
