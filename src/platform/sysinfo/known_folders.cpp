#include "platform/sysinfo/known_folders.hpp"

#include "platform/fs/path_separator.hpp"

namespace ludrin::sysinfo {

std::wstring ExecutableFolder() {
    return std::wstring(fs::FolderPart(RunningExecutablePath()));
}

} // namespace ludrin::sysinfo
