#pragma once
// How the POSIX backend hands a path to the *at() calls: from an open folder that holds it,
// else whole.

#include "platform/fs/open_folder.hpp"

#include <string>

namespace ludrin::fs {

struct NativeName {
    int at;           // the folder's descriptor, or AT_FDCWD
    std::string name; // the name inside it, or the whole path
};

NativeName NameFrom(const OpenFolder* folder, const std::wstring& path);

} // namespace ludrin::fs
