#pragma once
// Settings of automatic extraction and of the destination used by every Extract.

#include <cstdint>
#include <optional>
#include <string>

namespace ludrin::store {

enum class TstFileStorageOverwrite : std::uint8_t { owIfSizeDifferent, owNever, owAlways };

enum class TstToplevelDir : std::uint8_t {
    tdCurrentDir,
    tdWindowsDir,
    tdTempDir,
    tdSystemDir,
    tdMediaDir,
    tdCursorsDir,
    tdHelpDir,
    tdSamplesDir,
    tdDesktop,
    tdProgramFiles,
    tdMyDocuments,
    tdMyPictures,
    tdAppData,
    tdNone,
};

class TExtractTo {
public:
    bool CreatePath = true;
    TstToplevelDir ToplevelDir = TstToplevelDir::tdCurrentDir;
    std::wstring Subdirectory;

    // The destination folder: base folder, then Subdirectory, each with a trailing
    // delimiter. Empty when the base folder cannot be resolved.
    std::wstring Path() const;
    // As Path, but nothing when the base folder cannot be resolved, so that no caller
    // mistakes the drive root (or the current folder) for the folder it asked for.
    std::optional<std::wstring> ResolvedPath() const;
};

class TAutoExtract {
public:
    bool Enabled = false;
    TExtractTo ExtractTo;
    TstFileStorageOverwrite Overwrite = TstFileStorageOverwrite::owIfSizeDifferent;
    bool RemoveOnTerminate = false;
};

} // namespace ludrin::store
