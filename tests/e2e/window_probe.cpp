#include "e2e/window_probe.hpp"

#include "ui/controls/glow_button_protocol.hpp"

#include <commctrl.h>

#include <thread>

namespace ludrin::e2e {
namespace {

struct ToolTipSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindToolTip(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<ToolTipSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (pid == search->processId && IsWindowVisible(window) &&
        lstrcmpiW(name, TOOLTIPS_CLASSW) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

LPARAM KeyParam(UINT virtualKey, bool up) {
    const UINT scan = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
    LPARAM param = 1 | static_cast<LPARAM>(scan) << 16;
    if (up) {
        param |= static_cast<LPARAM>(3) << 30; // previous state down, transition up
    }
    return param;
}

} // namespace

std::uint32_t GlowButtonState(HWND button) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(button, ui::kGlowGetStateMessage, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
    return static_cast<std::uint32_t>(result);
}

HWND FocusedControl(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) {
        return nullptr;
    }
    return info.hwndFocus;
}

void PressKey(HWND target, UINT virtualKey) {
    PostMessageW(target, WM_KEYDOWN, virtualKey, KeyParam(virtualKey, false));
    PostMessageW(target, WM_KEYUP, virtualKey, KeyParam(virtualKey, true));
}

void HoverOver(HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    const POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    SetCursorPos(centre.x, centre.y);
    PostMessageW(control, WM_MOUSEMOVE, 0,
                 MAKELPARAM((rect.right - rect.left) / 2, (rect.bottom - rect.top) / 2));
}

void MovePointerAway() {
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 2, GetSystemMetrics(SM_CYSCREEN) - 2);
}

HWND WaitForToolTip(DWORD processId, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    do {
        ToolTipSearch search{processId, nullptr};
        EnumWindows(FindToolTip, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) {
            return search.found;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    } while (std::chrono::steady_clock::now() < deadline);
    return nullptr;
}

COLORREF ScreenPixel(POINT point) {
    const HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, point.x, point.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

bool Eventually(std::chrono::milliseconds timeout, bool (*probe)(void*), void* context) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!probe(context)) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

} // namespace ludrin::e2e
