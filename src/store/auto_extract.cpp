#include "store/auto_extract.hpp"
#include "platform/fs/path_separator.hpp"
#include "store/store_files.hpp"

namespace ludrin::store {
namespace {

std::wstring WithDelimiter(std::wstring path) {
    if (path.empty() || !IsPathDelimiter(path.back())) {
        path.push_back(fs::kPathSeparator);
    }
    return path;
}

std::optional<std::wstring> Nonempty(std::wstring path) {
    if (path.empty()) {
        return std::nullopt;
    }
    return path;
}

// A folder below the Windows folder, which ends in a delimiter when known.
std::optional<std::wstring> BelowWindows(const wchar_t* name) {
    const std::wstring windows = GetWindowsDir();
    if (windows.empty()) {
        return std::nullopt;
    }
    return windows + name;
}

std::optional<std::wstring> BaseFolder(TstToplevelDir kind) {
    using enum TstToplevelDir;
    switch (kind) {
    case tdDesktop:
        return Nonempty(ShellFolder(L"Desktop"));
    case tdMyDocuments:
        return Nonempty(ShellFolder(L"Personal"));
    case tdMyPictures:
        return Nonempty(ShellFolder(L"My Pictures"));
    case tdAppData:
        return Nonempty(ShellFolder(L"AppData"));
    case tdWindowsDir:
        return Nonempty(GetWindowsDir());
    case tdTempDir:
        return Nonempty(GetTempDir());
    case tdSystemDir:
        return Nonempty(GetSystemDir());
    case tdMediaDir:
        return BelowWindows(L"MEDIA");
    case tdCursorsDir:
        return BelowWindows(L"CURSORS");
    case tdHelpDir:
        return BelowWindows(L"HELP");
    case tdSamplesDir:
        return BelowWindows(L"SAMPLES");
    case tdProgramFiles: {
        const std::wstring windows = GetWindowsDir();
        if (windows.size() < 3) {
            return std::nullopt;
        }
        return windows.substr(0, 3) + L"Program Files";
    }
    case tdCurrentDir:
    default:
        return Nonempty(ExecutableDir());
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
    std::wstring sub = WithDelimiter(Subdirectory);
    std::size_t leading = 0;
    while (leading < sub.size() && IsPathDelimiter(sub[leading])) {
        ++leading;
    }
    return WithDelimiter(*base) + sub.substr(leading);
}

std::wstring TExtractTo::Path() const {
    return ResolvedPath().value_or(std::wstring());
}

} // namespace ludrin::store
