#pragma once
// How the installer reads its payload archive. ludrin-pack checks archives exactly so,
// which is why both take these from here.

#include "zip/zip_reader.hpp"

#include <string>

namespace ludrin::zip {

// Error messages of the installer's reader start with this name.
inline constexpr const char* kInstallerReaderName = "Archiver";
// Every attribute the reader knows, so that every entry is selected (10431).
inline constexpr std::uint32_t kInstallerAttributes = 0x28BF;
inline constexpr const wchar_t* kInstallerMask = L"*.*";

// Names the reader and opens `archive` read-only, others may read but not write.
inline void OpenAsInstaller(TZipBaseArchiver& reader, const std::wstring& archive) {
    reader.Name = kInstallerReaderName;
    reader.FileName = archive;
    reader.OpenArchive(kOpenModeReadDenyWrite);
}

// Extracts every entry below reader.BaseDir.
inline void ExtractAsInstaller(TZipBaseArchiver& reader) {
    reader.ExtractFiles(kInstallerMask, kInstallerAttributes, L"");
}

} // namespace ludrin::zip
