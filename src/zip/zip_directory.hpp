#pragma once
// Reading an archive's directory: the end record search, the Zip64 records, the central
// directory with its names and extra fields, the stub in front of the archive, and the
// rebuild from local headers when the directory is missing or damaged.

#include "zip/zip_dir_manager.hpp"

#include <cstdint>
#include <span>
#include <string>

namespace ludrin::zip {

struct DirectoryReadOptions {
    bool OEMFileNames = true;
    bool OpenCorruptedArchives = true;
};

struct CentralDirEndSearch {
    bool found = false;
    std::int64_t position = -1;
    TZipCentralDirEnd record;
    std::string comment;
};

// Finds the end record nearest the end of the stream that passes CheckCDirEnd, with one
// read of at most kCentralDirEndSearchWindow bytes.
CentralDirEndSearch GetCentralDirEnd(const ZipStream& stream);

// Whether the 22 bytes at `position` of the stream (held in `record`) are a plausible
// end record of a stream of `streamSize` bytes.
bool CheckCDirEnd(const TZipCentralDirEnd& record, std::uint64_t position,
                  std::uint64_t streamSize);

// Loads the directory into `dm` (cleared first). Raises native 40, 44 or 57, native 35
// from a rebuild that finds nothing, or the stream's read error.
// `end` is the end record search already made on this stream, when there was one.
void LoadDir(TZipDirManager& dm, const DirectoryReadOptions& options,
             const CentralDirEndSearch* end = nullptr);

// Rebuilds the directory from the local headers; `endRecordFound` decides the OEM step
// of the names. Raises native 35 when the stream holds no local header.
void TryToBuildCentralDir(TZipDirManager& dm, bool endRecordFound, bool oemFileNames);

// Decodes the fixed part of a local file header (30 bytes).
TZipFileHeader ParseLocalFileHeader(std::span<const std::uint8_t> bytes);

// Reads and decodes the local header at `at`; a header cut off by the end of the stream is
// the stream's read error.
TZipFileHeader ReadLocalFileHeader(const ZipStream& stream, std::uint64_t at);

} // namespace ludrin::zip
