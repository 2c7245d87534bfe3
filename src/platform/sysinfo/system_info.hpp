#pragma once
// The system information the installer reads at start-up: the special-folder list and
// the temporary folder of the Windows information object.

#include "platform/sysinfo/special_folder_list.hpp"

#include <memory>
#include <optional>
#include <string>

namespace ludrin::sysinfo {

// The user's temporary folder in long form, ending with a separator except at a drive
// root; empty when the platform cannot say (platform backend).
std::wstring SITempPath();

// The name under which the last component of an existing path is stored on disk
// (platform backend; the lookup behind the long form of the temporary folder).
std::optional<std::wstring> StoredNameOnDisk(const std::wstring& path);

class TSysWindowsObject {
public:
    // Made at the first read and kept for the object's life; each line is resolved at its
    // own first read and kept as resolved.
    const SpecialFolderList& SystemFolders();
    // Computed anew at every read.
    std::wstring TempDir() const { return SITempPath(); }
    void Refresh();

private:
    std::unique_ptr<SpecialFolderList> systemFolders_;
};

class TSysSystemInfo {
public:
    bool AutoRetrieve = false;
    TSysWindowsObject Windows;

    bool Retrieved() const { return retrieved_; }
    // Called once the owner has finished creating the component.
    void Loaded();
    void Refresh();

private:
    bool retrieved_ = false;
};

} // namespace ludrin::sysinfo
