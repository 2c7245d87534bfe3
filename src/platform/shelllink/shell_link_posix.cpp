// Without the platform's shell-link object the component writes the shortcut file itself,
// in the format the shell reads, so that the file works where shortcuts are used.

#include "bytes/byte_reader.hpp"
#include "platform/fs/fs.hpp"
#include "platform/fs/part_file.hpp"
#include "platform/shelllink/lnk_format.hpp"
#include "platform/shelllink/shell_link.hpp"
#include "platform/text/utf.hpp"

#include <fstream>
#include <iterator>

namespace ludrin::shelllink {
namespace {

// Written beside the destination, then moved over it: a shortcut that exists is replaced
// whole or not at all.
bool ReplaceFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
    auto part = fs::PartFile::Create(path);
    return part && part->Output().Write(bytes) == bytes.size() && part->Output().Flush() &&
           part->Commit();
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
        return !fileName.empty() && ReplaceFile(fileName, lnk::WriteShellLink(data));
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
