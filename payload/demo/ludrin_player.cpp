// Ludrin.exe of the demo payload: a small player window that stays open until it is
// closed. On start it writes its settings file where the real player keeps it, so that the
// uninstallation has a real SettaggiLUD.ini to remove.

#include <windows.h>

#include <shlobj.h>

#include <string>

namespace {

constexpr const wchar_t* kTitle = L"Ludrin";

// %APPDATA%\brvdll\regset\SettaggiLUD.ini, its folders created on the way.
void WriteSettings() {
    wchar_t appData[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData))) {
        return;
    }
    std::wstring folder = appData;
    for (const wchar_t* part : {L"\\brvdll", L"\\regset"}) {
        folder += part;
        CreateDirectoryW(folder.c_str(), nullptr);
    }
    const HANDLE file =
        CreateFileW((folder + L"\\SettaggiLUD.ini").c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                    nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    static const char kSettings[] = "[Ludrin]\r\nVolume=80\r\nUltimaCartella=\r\n";
    DWORD written = 0;
    WriteFile(file, kSettings, sizeof kSettings - 1, &written, nullptr);
    CloseHandle(file);
}

LRESULT CALLBACK PlayerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        const HDC dc = BeginPaint(window, &paint);
        RECT client;
        GetClientRect(window, &client);
        DrawTextW(dc, L"Ludrin - lettore dimostrativo", -1, &client,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    WriteSettings();

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = PlayerProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = L"LudrinPlayer";
    if (RegisterClassW(&windowClass) == 0) {
        return 1;
    }
    const HWND window =
        CreateWindowExW(0, windowClass.lpszClassName, kTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                        CW_USEDEFAULT, 480, 320, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        return 1;
    }
    ShowWindow(window, showCommand);
    UpdateWindow(window);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
