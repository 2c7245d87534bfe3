#include "e2e/wine_user_files.hpp"

#include <shlobj.h>

#include <stdexcept>

namespace ludrin::e2e {

namespace stdfs = std::filesystem;

stdfs::path ShellFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) {
        throw std::runtime_error("no shell folder " + std::to_string(csidl));
    }
    return path;
}

SetAside::SetAside(std::vector<stdfs::path> paths) : paths_(std::move(paths)) {
    for (const auto& path : paths_) {
        if (stdfs::exists(stdfs::symlink_status(path))) {
            stdfs::rename(path, Aside(path));
        }
    }
}

SetAside::~SetAside() {
    for (const auto& path : paths_) {
        std::error_code ignored;
        stdfs::permissions(path, stdfs::perms::owner_all, stdfs::perm_options::add, ignored);
        stdfs::remove_all(path, ignored);
        if (stdfs::exists(stdfs::symlink_status(Aside(path), ignored))) {
            stdfs::rename(Aside(path), path, ignored);
        }
    }
}

stdfs::path SetAside::Aside(const stdfs::path& path) {
    return path.wstring() + L".e2e-saved";
}

} // namespace ludrin::e2e
