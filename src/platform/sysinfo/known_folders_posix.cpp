// No Windows or system folder here; the shell folders are the XDG folders of the special-
// folder list, and the temporary folder is TMPDIR (when absolute) or /tmp.

#include "platform/sysinfo/known_folders.hpp"

#include "platform/sysinfo/special_folders.hpp"
#include "platform/text/utf.hpp"

#include <cstdlib>
#include <filesystem>

namespace ludrin::sysinfo {

std::wstring WindowsFolder() {
    return {};
}

std::wstring SystemFolder() {
    return {};
}

std::wstring TempFolder() {
    const char* variable = std::getenv("TMPDIR");
    std::string dir = variable != nullptr ? variable : "";
    if (!dir.starts_with('/')) {
        dir = "/tmp";
    }
    if (!dir.ends_with('/')) {
        dir += '/';
    }
    return text::Utf8ToWide(dir);
}

std::wstring RunningExecutablePath() {
    std::error_code error;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::wstring() : text::Utf8ToWide(path.string());
}

std::wstring ShellFolder(std::wstring_view valueName) {
    using enum TSystemFolder;
    if (valueName == L"Desktop") {
        return SIGetSpecialFolderPath(sfDesktopDirectory);
    }
    if (valueName == L"Personal") {
        return SIGetSpecialFolderPath(sfPersonal);
    }
    if (valueName == L"My Pictures") {
        return SIGetSpecialFolderPath(sfMyPictures);
    }
    if (valueName == L"AppData") {
        return SIGetSpecialFolderPath(sfAppData);
    }
    return {};
}

} // namespace ludrin::sysinfo
