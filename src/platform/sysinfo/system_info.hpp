#pragma once
// The system information the installer reads at start-up: the special-folder list and
// the temporary folder of the Windows information object.

#include "platform/sysinfo/name_value_list.hpp"

#include <memory>
#include <string>

namespace ludrin::sysinfo {

// The user's temporary folder in long form, ending with a separator except at a drive
// root; empty when the platform cannot say (platform backend).
std::wstring SITempPath();

class TSysWindowsObject {
public:
    // Built at the first read and kept as built for the object's life.
    const NameValueList& SystemFolders();
    // Computed anew at every read.
    std::wstring TempDir() const { return SITempPath(); }
    void Refresh();

private:
    std::unique_ptr<NameValueList> systemFolders_;
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
