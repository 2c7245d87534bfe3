// Without version resources, the texts come from the project's own version.

#include "platform/exeinfo/exe_info.hpp"
#include "platform/sysinfo/known_folders.hpp"
#include "platform/text/utf.hpp"

#include <unistd.h>

#include <climits>
#include <filesystem>

#ifndef LUDRIN_FILE_VERSION
#error "LUDRIN_FILE_VERSION must be defined by the build"
#endif

namespace ludrin::exeinfo {

bool TExeInfo::GetVersionInfoOfApp(const std::wstring& appName) {
    if (appName != sysinfo::RunningExecutablePath()) {
        return false;
    }
    CompanyName = L"Suite Brenvoss";
    FileDescription = L"Installazione Ludrin";
    FileVersion = LUDRIN_FILE_VERSION;
    InternalName = L"InstallLudrin";
    LegalCopyright = L"Copyright \u00A9 Suite Brenvoss";
    LegalTradeMark.clear();
    OriginalFileName = L"InstallLudrin.exe";
    ProductName = L"Ludrin";
    ProductVersion = LUDRIN_FILE_VERSION;
    Comments.clear();
    return true;
}

std::wstring QueryComputerName() {
    char name[HOST_NAME_MAX + 1] = {};
    return gethostname(name, sizeof name) == 0 ? text::Utf8ToWide(name) : std::wstring();
}

} // namespace ludrin::exeinfo
