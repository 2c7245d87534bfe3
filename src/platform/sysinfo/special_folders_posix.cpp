// The user's folders on a POSIX desktop, from the XDG base and user-directory rules.
// Folders without an equivalent give an empty path.

#include "platform/sysinfo/known_folders.hpp"
#include "platform/sysinfo/special_folders.hpp"
#include "platform/sysinfo/system_info.hpp"
#include "platform/text/utf.hpp"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace ludrin::sysinfo {
namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

std::string Home() {
    return Env("HOME");
}

// An XDG base variable, which counts only when it holds an absolute path.
std::string BaseDir(const char* variable, const char* fallbackBelowHome) {
    const auto value = Env(variable);
    if (value.starts_with('/')) {
        return value;
    }
    const auto home = Home();
    return home.empty() ? std::string() : home + "/" + fallbackBelowHome;
}

// XDG_<KEY>_DIR from user-dirs.dirs: "$HOME/..." or an absolute path, in double quotes.
std::string UserDir(const std::string& key, const char* fallbackBelowHome) {
    const auto home = Home();
    std::ifstream dirs(BaseDir("XDG_CONFIG_HOME", ".config") + "/user-dirs.dirs");
    const std::string prefix = "XDG_" + key + "_DIR=\"";
    for (std::string line; std::getline(dirs, line);) {
        if (!line.starts_with(prefix) || !line.ends_with('"')) {
            continue;
        }
        auto value = line.substr(prefix.size(), line.size() - prefix.size() - 1);
        if (value.starts_with("$HOME")) {
            if (home.empty()) {
                return {};
            }
            value = home + value.substr(5);
        }
        if (value.starts_with('/')) {
            while (value.size() > 1 && value.ends_with('/')) {
                value.pop_back();
            }
            return value;
        }
    }
    return home.empty() ? std::string() : home + "/" + fallbackBelowHome;
}

std::string FolderPath(TSystemFolder kind) {
    using enum TSystemFolder;
    switch (kind) {
    case sfDesktop:
    case sfDesktopDirectory:
        return UserDir("DESKTOP", "Desktop");
    case sfPersonal:
    case sfMyDocuments:
        return UserDir("DOCUMENTS", "Documents");
    case sfAppData:
        return BaseDir("XDG_DATA_HOME", ".local/share");
    case sfTemplates:
        return UserDir("TEMPLATES", "Templates");
    case sfMyMusic:
        return UserDir("MUSIC", "Music");
    case sfMyPictures:
        return UserDir("PICTURES", "Pictures");
    case sfMyVideo:
        return UserDir("VIDEOS", "Videos");
    case sfInternetCache:
        return BaseDir("XDG_CACHE_HOME", ".cache");
    case sfProfile:
        return Home();
    default:
        return {};
    }
}

} // namespace

std::wstring SIGetSpecialFolderPath(TSystemFolder kind) {
    return text::Utf8ToWide(FolderPath(kind));
}

std::optional<std::wstring> StoredNameOnDisk(const std::wstring& path) {
    // POSIX names are stored as written: an existing path keeps its last component.
    std::error_code error;
    const auto native = text::WideToUtf8(path);
    if (!std::filesystem::exists(std::filesystem::symlink_status(native, error))) {
        return std::nullopt;
    }
    return text::Utf8ToWide(std::filesystem::path(native).filename().string());
}

// POSIX paths have no short form: the long form is the folder as given.
std::wstring SITempPath() {
    return TempFolder();
}

} // namespace ludrin::sysinfo
