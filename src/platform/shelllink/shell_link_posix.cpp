// Without the platform's shell-link object the component writes the shortcut file itself,
// in the format the shell reads, so that the file works where shortcuts are used.

#include "bytes/byte_reader.hpp"
#include "platform/fs/fs.hpp"
#include "platform/shelllink/lnk_format.hpp"
#include "platform/shelllink/shell_link.hpp"
#include "platform/text/utf.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <fstream>
#include <iterator>

namespace ludrin::shelllink {
namespace {

bool WriteAll(int fd, const std::vector<std::uint8_t>& bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        written += static_cast<std::size_t>(n);
    }
    return true;
}

// Written beside the destination, then renamed over it: a shortcut that exists is replaced
// whole or not at all.
bool ReplaceFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    static std::atomic<unsigned> counter{0};
    const std::string temporary =
        path + ".~" + std::to_string(::getpid()) + "-" + std::to_string(counter.fetch_add(1));
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        return false;
    }
    const bool written = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    if (::close(fd) != 0 || !written || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

} // namespace

void TIcon::DestroyIconHandle(void*) {}

bool TslShellLink::SaveToFile(const std::wstring& fileName) const {
    lnk::ShellLinkData data;
    data.target = LinkTarget;
    data.arguments = Parameters;
    data.workingDirectory = WorkingDirectory;
    data.description = ShortDescription;
    data.iconLocation = IconLocation;
    data.iconIndex = IconIndex;
    data.showCommand = ShowCommandOf(RunAs);
    data.hotKey = ShortCutToHotKey(HotKey);
    try {
        return !fileName.empty() &&
               ReplaceFile(text::WideToUtf8(fileName), lnk::WriteShellLink(data));
    } catch (const lnk::LnkFormatError&) {
        return false;
    }
}

bool TslShellLink::LoadFromFile(const std::wstring& fileName) {
    ResetFields();
    if (!fs::FileExists(fileName)) {
        return false;
    }
    std::ifstream in(text::WideToUtf8(fileName), std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>()};
    if (in.bad()) {
        return false;
    }
    lnk::ShellLinkData data;
    try {
        data = lnk::ReadShellLink(bytes);
    } catch (const lnk::LnkFormatError&) {
        return false;
    } catch (const bytes::ShortRead&) {
        return false;
    }
    LinkTarget = data.target;
    Parameters = data.arguments;
    WorkingDirectory = data.workingDirectory;
    RunAs = RunAsOf(data.showCommand);
    HotKey = HotKeyToShortCut(data.hotKey);
    ShortDescription = data.description;
    IconLocation = data.iconLocation;
    IconIndex = data.iconIndex;
    return true;
}

} // namespace ludrin::shelllink
