#pragma once
// The Wine user's own folders as the installer finds them, and a way to work in them
// without losing what was there before.

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

namespace ludrin::e2e {

// A shell folder of the Wine user (CSIDL_PERSONAL, CSIDL_APPDATA, ...); throws when the
// shell does not know it.
std::filesystem::path ShellFolder(int csidl);

// Puts whatever lies at these paths aside and, when the object goes, removes what the test
// left there and brings the old entries back.
class SetAside {
public:
    explicit SetAside(std::vector<std::filesystem::path> paths);
    ~SetAside();
    SetAside(const SetAside&) = delete;
    SetAside& operator=(const SetAside&) = delete;

private:
    static std::filesystem::path Aside(const std::filesystem::path& path);
    std::vector<std::filesystem::path> paths_;
};

} // namespace ludrin::e2e
