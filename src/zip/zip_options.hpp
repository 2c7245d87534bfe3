#pragma once
// The option set of the archive component, with its defaults.

#include <cstdint>

namespace ludrin::zip {

enum class TZipStorePathMode : std::uint8_t {
    spNoPath,
    spRelativePath,
    spFullPath,
    spFullPathWithDrive
};
enum class TZipFileShareMode : std::uint8_t {
    smShareCompat,
    smShareExclusive,
    smShareDenyWrite,
    smShareDenyRead,
    smShareDenyNone
};
enum class TZipOverwriteMode : std::uint8_t { omPrompt, omAlways, omNever, omIfNewer, omIfOlder };
enum class TZipSpanningMode : std::uint8_t { smNone, smSpanning, smSplitting };

struct TZipOptions {
    TZipStorePathMode StorePath = TZipStorePathMode::spRelativePath;
    bool Recurse = true;
    TZipFileShareMode ShareMode = TZipFileShareMode::smShareDenyNone;
    TZipOverwriteMode OverwriteMode = TZipOverwriteMode::omAlways;
    bool CreateDirs = true;
    bool ReplaceReadOnly = true;
    bool SetAttributes = true;
    std::int32_t SearchAttr = 0x28BF;
    bool FlushBuffers = true;
    bool OEMFileNames = true;
};

} // namespace ludrin::zip
