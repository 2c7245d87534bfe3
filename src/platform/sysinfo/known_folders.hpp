#pragma once
// The folders a destination can be based on, each ending in a separator (empty when the
// platform has no such folder or it cannot be read). The temporary folder is the platform's
// raw text here; SITempPath (system_info.hpp) gives its long form.

#include <string>
#include <string_view>

namespace ludrin::sysinfo {

std::wstring WindowsFolder();
std::wstring SystemFolder();
std::wstring TempFolder();
// The running executable's full path, and its folder.
std::wstring RunningExecutablePath();
std::wstring ExecutableFolder();

// The user's shell folder by its registry value name ("Desktop", "Personal", "My Pictures"
// or "AppData"), as the user's Shell Folders key holds it: no trailing separator added.
std::wstring ShellFolder(std::wstring_view valueName);

} // namespace ludrin::sysinfo
