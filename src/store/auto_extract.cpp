#include "store/auto_extract.hpp"
#include "platform/fs/path_separator.hpp"
#include "platform/sysinfo/known_folders.hpp"

namespace ludrin::store {
namespace {

std::optional<std::wstring> Nonempty(std::wstring path) {
    if (path.empty()) {
        return std::nullopt;
    }
    return path;
}

// A folder below the Windows folder, which ends in a delimiter when known.
std::optional<std::wstring> BelowWindows(const wchar_t* name) {
    const std::wstring windows = sysinfo::WindowsFolder();
    if (windows.empty()) {
        return std::nullopt;
    }
    return windows + name;
}

std::optional<std::wstring> BaseFolder(TstToplevelDir kind) {
    using enum TstToplevelDir;
    switch (kind) {
    case tdDesktop:
        return Nonempty(sysinfo::ShellFolder(L"Desktop"));
    case tdMyDocuments:
        return Nonempty(sysinfo::ShellFolder(L"Personal"));
    case tdMyPictures:
        return Nonempty(sysinfo::ShellFolder(L"My Pictures"));
    case tdAppData:
        return Nonempty(sysinfo::ShellFolder(L"AppData"));
    case tdWindowsDir:
        return Nonempty(sysinfo::WindowsFolder());
    case tdTempDir:
        return Nonempty(sysinfo::TempFolder());
    case tdSystemDir:
        return Nonempty(sysinfo::SystemFolder());
    case tdMediaDir:
        return BelowWindows(L"MEDIA");
    case tdCursorsDir:
        return BelowWindows(L"CURSORS");
    case tdHelpDir:
        return BelowWindows(L"HELP");
    case tdSamplesDir:
        return BelowWindows(L"SAMPLES");
    case tdProgramFiles: {
        const std::wstring windows = sysinfo::WindowsFolder();
        if (windows.size() < 3) {
            return std::nullopt;
        }
        return windows.substr(0, 3) + L"Program Files";
    }
    case tdCurrentDir:
    default:
        return Nonempty(sysinfo::ExecutableFolder());
    }
}

} // namespace

std::optional<std::wstring> TExtractTo::ResolvedPath() const {
    if (ToplevelDir == TstToplevelDir::tdNone) {
        return Subdirectory;
    }
    const auto base = BaseFolder(ToplevelDir);
    if (!base) {
        return std::nullopt;
    }
    // An empty Subdirectory adds nothing: its lone delimiter is stripped again.
    const std::wstring sub = fs::WithTrailingSeparator(Subdirectory);
    std::size_t leading = 0;
    while (leading < sub.size() && fs::IsPathSeparator(sub[leading])) {
        ++leading;
    }
    return fs::WithTrailingSeparator(*base) + sub.substr(leading);
}

std::wstring TExtractTo::Path() const {
    return ResolvedPath().value_or(std::wstring());
}

} // namespace ludrin::store
