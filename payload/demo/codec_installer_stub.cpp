// Stand-in for the three codec installers of the demo payload (one program copied under the
// three slot names). It installs nothing: it appends its own file name and its whole
// command line, as one UTF-8 line, to %APPDATA%\ludrin-demo-installers.log and ends with
// exit code 0, so that tests can see which installer ran with which switches.

#include <windows.h>

#include <shlobj.h>

#include <string>

namespace {

std::string Utf8(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) {
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(),
                            size, nullptr, nullptr);
    }
    return out;
}

std::wstring OwnFileName() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring full(path, length < MAX_PATH ? length : 0);
    return full.substr(full.find_last_of(L"\\/") + 1);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t appData[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData))) {
        return 1;
    }
    const std::wstring log = std::wstring(appData) + L"\\ludrin-demo-installers.log";
    // Appends only, shared: the three installers may run at the same time.
    const HANDLE file =
        CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return 1;
    }
    // One write per line, so that lines of installers running together never interleave.
    std::string line = Utf8(OwnFileName());
    line.append("\t").append(Utf8(GetCommandLineW())).append("\r\n");
    DWORD written = 0;
    const BOOL ok =
        WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == line.size() ? 0 : 1;
}
