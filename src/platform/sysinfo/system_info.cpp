#include "platform/sysinfo/system_info.hpp"

namespace ludrin::sysinfo {

const SpecialFolderList& TSysWindowsObject::SystemFolders() {
    if (!systemFolders_) {
        systemFolders_ = std::make_unique<SpecialFolderList>();
    }
    return *systemFolders_;
}

void TSysWindowsObject::Refresh() {
    // The only group the installer reads; its lines are resolved as they are read.
    SystemFolders();
}

void TSysSystemInfo::Loaded() {
    if (AutoRetrieve) {
        Refresh();
    }
}

void TSysSystemInfo::Refresh() {
    Windows.Refresh();
    retrieved_ = true;
}

} // namespace ludrin::sysinfo
