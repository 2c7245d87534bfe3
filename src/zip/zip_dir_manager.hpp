#pragma once
// The loaded directory of one open archive: its entries with their name index, the end
// records as read, the archive comment, and where the archive really starts.

#include "zip/zip_name_index.hpp"
#include "zip/zip_records.hpp"

#include <cstdint>
#include <string>
#include <vector>

namespace ludrin::zip {

class ZipStream;

class TZipDirArray {
public:
    void Clear();
    void Reserve(std::size_t count);
    std::size_t Count() const { return FItems.size(); }
    const TDirItem& operator[](std::size_t index) const { return FItems[index]; }
    TDirItem& operator[](std::size_t index) { return FItems[index]; }
    // Appends an entry; its name goes into the index as it is.
    void Add(TDirItem item);
    // Renames an entry; raises native error 59 when the index disagrees with the entries.
    void SetItemName(std::size_t index, std::wstring name);
    // The first entry with this name, compared with ASCII letters lower-cased, or -1.
    std::int64_t FileExists(std::wstring_view name) const { return FItemNamesList.IndexOf(name); }

private:
    std::vector<TDirItem> FItems;
    TZipHashedStringList FItemNamesList;
};

struct TZipDirManager {
    explicit TZipDirManager(const ZipStream& stream) : FCompressedStream(stream) {}

    const ZipStream& FCompressedStream;
    TZipDirArray CDir;
    std::string ArchiveComment;
    TZipCentralDirEnd CentralDirEnd;
    TZip64CentralDirEndLocator Zip64CentralDirEndLocator;
    TZip64CentralDirEnd Zip64CentralDirEnd;
    bool FZip64 = false;
    std::int64_t StubSize = 0;
    std::int64_t CentralDirOffset = 0;
};

} // namespace ludrin::zip
