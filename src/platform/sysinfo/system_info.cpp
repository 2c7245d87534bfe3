#include "platform/sysinfo/system_info.hpp"

#include "platform/sysinfo/special_folders.hpp"

namespace ludrin::sysinfo {

const NameValueList& TSysWindowsObject::SystemFolders() {
    if (!systemFolders_) {
        systemFolders_ = std::make_unique<NameValueList>();
        SISystemFolders(systemFolders_.get());
    }
    return *systemFolders_;
}

void TSysWindowsObject::Refresh() {
    // The only groups the installer reads: building the list once is the whole cost.
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
