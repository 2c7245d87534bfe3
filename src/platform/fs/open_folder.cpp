// What an open folder does the same on every platform: its path and ownership.

#include "platform/fs/open_folder.hpp"

#include "platform/fs/path_separator.hpp"

#include <utility>

namespace ludrin::fs {

OpenFolder::OpenFolder(OpenFolder&& other) noexcept
    : path_(std::move(other.path_)), handle_(std::exchange(other.handle_, -1)) {}

OpenFolder& OpenFolder::operator=(OpenFolder&& other) noexcept {
    if (this != &other) {
        Release(handle_);
        path_ = std::move(other.path_);
        handle_ = std::exchange(other.handle_, -1);
    }
    return *this;
}

OpenFolder::~OpenFolder() {
    Release(handle_);
}

bool OpenFolder::Holds(const std::wstring& path) const {
    return FolderPart(path) == path_;
}

const OpenFolder* RecentFolder::Of(const std::wstring& path) {
    if (!folder_ || !folder_->Holds(path)) {
        folder_ = OpenFolder::Open(std::wstring(FolderPart(path)));
    }
    return folder_ ? &*folder_ : nullptr;
}

} // namespace ludrin::fs
