#include "platform/fs/open_folder_posix.hpp"

#include "platform/fs/path_separator.hpp"
#include "platform/text/utf.hpp"

#include <fcntl.h>
#include <unistd.h>

namespace ludrin::fs {

std::optional<OpenFolder> OpenFolder::Open(const std::wstring& path) {
#ifdef O_PATH
    constexpr int kFlags = O_PATH | O_DIRECTORY | O_CLOEXEC; // no read right needed
#else
    constexpr int kFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
#endif
    const int fd = path.empty() ? -1 : ::open(text::WideToUtf8(path).c_str(), kFlags);
    if (fd < 0) {
        return std::nullopt;
    }
    return OpenFolder(WithTrailingSeparator(path), fd);
}

NativeName NameFrom(const OpenFolder* folder, const std::wstring& path) {
    if (folder != nullptr && folder->Handle() >= 0 && folder->Holds(path)) {
        return {static_cast<int>(folder->Handle()), text::WideToUtf8(NamePart(path))};
    }
    return {AT_FDCWD, text::WideToUtf8(path)};
}

void OpenFolder::Release(std::intptr_t handle) noexcept {
    if (handle >= 0) {
        ::close(static_cast<int>(handle));
    }
}

} // namespace ludrin::fs
