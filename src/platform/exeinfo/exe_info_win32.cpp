#include "platform/exeinfo/exe_info.hpp"
#include "platform/sysinfo/known_folders.hpp"
#include "platform/win32/system_library.hpp"

#include <windows.h>

#include <vector>

namespace ludrin::exeinfo {
namespace {

using SizeFn = DWORD(WINAPI*)(LPCWSTR, LPDWORD);
using InfoFn = BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID);
using QueryFn = BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT);

struct VersionApi {
    SizeFn size = SystemFunction<SizeFn>("GetFileVersionInfoSizeW");
    InfoFn info = SystemFunction<InfoFn>("GetFileVersionInfoW");
    QueryFn query = SystemFunction<QueryFn>("VerQueryValueW");
    bool Loaded() const { return size != nullptr && info != nullptr && query != nullptr; }

    template <typename Function> static Function SystemFunction(const char* name) {
        return win32::SystemFunction<Function>(L"version.dll", name);
    }
};

const void* Query(const VersionApi& api, const std::vector<BYTE>& block, const wchar_t* path,
                  UINT minimumLength) {
    void* value = nullptr;
    UINT length = 0;
    if (!api.query(block.data(), path, &value, &length) || value == nullptr ||
        length < minimumLength) {
        return nullptr;
    }
    return value;
}

std::uint64_t LastWriteTime(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        return 0;
    }
    return (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
           data.ftLastWriteTime.dwLowDateTime;
}

} // namespace

bool TExeInfo::GetVersionInfoOfApp(const std::wstring& appName) {
    static const VersionApi api;
    if (!api.Loaded()) {
        return false;
    }
    DWORD handle = 0;
    const DWORD size = api.size(appName.c_str(), &handle);
    if (size == 0) {
        return false;
    }
    std::vector<BYTE> block(size);
    if (!api.info(appName.c_str(), 0, size, block.data())) {
        return false;
    }

    if (const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(
            Query(api, block, L"\\", sizeof(VS_FIXEDFILEINFO)))) {
        FileFlags = static_cast<std::int32_t>(fixed->dwFileFlags & fixed->dwFileFlagsMask);
        FileOS = static_cast<std::int32_t>(fixed->dwFileOS);
        FileType = static_cast<std::int32_t>(fixed->dwFileType);
        const std::uint64_t date = (std::uint64_t{fixed->dwFileDateMS} << 32) | fixed->dwFileDateLS;
        FileCreation =
            FileTimeToDateTime(date != 0 ? date : LastWriteTime(sysinfo::RunningExecutablePath()));
    }

    // Only the first translation counts; without one no string can be found.
    std::wstring key;
    if (const auto* translation = static_cast<const WORD*>(
            Query(api, block, L"\\VarFileInfo\\Translation", 2 * sizeof(WORD)))) {
        key = TranslationKey(translation[0], translation[1]);
    }
    for (int i = 0; i < 10; ++i) {
        std::wstring& field = *VersionString(i);
        field.clear();
        if (key.empty()) {
            continue;
        }
        const auto path = StringQueryPath(key, kVersionStringNames[i]);
        void* value = nullptr;
        UINT length = 0;
        if (api.query(block.data(), path.c_str(), &value, &length) && value != nullptr) {
            // Up to the first NUL, but never past the end of the copied block.
            const auto* text = static_cast<const wchar_t*>(value);
            const auto* end = reinterpret_cast<const wchar_t*>(block.data() + block.size());
            std::size_t n = 0;
            while (text + n < end && text[n] != L'\0') {
                ++n;
            }
            field.assign(text, n);
        }
    }
    return true;
}

std::wstring QueryComputerName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    return GetComputerNameW(name, &size) ? std::wstring(name, size) : std::wstring();
}

} // namespace ludrin::exeinfo
