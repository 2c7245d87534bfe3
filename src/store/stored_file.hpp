#pragma once
// One stored file of the payload store: its name, size and unpacked bytes.

#include "bytes/byte_reader.hpp"
#include "store/container_layout.hpp"

#include <cstdint>
#include <string>
#include <vector>

namespace ludrin::store {

class TstFileStorage;

class TStoredFile {
public:
    explicit TStoredFile(TstFileStorage* owner = nullptr) : Owner(owner) {}

    TstFileStorage* Owner;
    bool Enabled = false;  // kept for the form's sake; has no effect
    std::wstring FileName; // without folder
    std::uint32_t Size = 0;
    std::vector<std::uint8_t> Data; // all Size bytes, unpacked

    // Reads one container record: packed when the owner's container had the signature (or
    // there is no owner), otherwise the older unpacked layout. Damaged records throw
    // EStoreError; a cut-short older record throws EReadError. On error nothing changes.
    void ReadData(bytes::ByteReader& stream);
    // Takes a record already read: unpacks it when it is in the signature layout.
    void Load(const RecordView& record, bool packed);
    // Appends one record in the signature layout.
    void WriteData(std::vector<std::uint8_t>& stream) const;

    // Writes Data to `outputFile` (creating its folders first when asked), reporting to
    // the owner's events. True when written, or when OnExtract vetoed the extraction.
    bool Extract(const std::wstring& outputFile, bool createPath);

    // Loads a disk file; reports "This file can not be uploaded." through the owner's
    // OnUploadError and answers false when it cannot be read. FileName takes the path's
    // name part in every case.
    bool Upload(const std::wstring& fileName);
    void ClearData();
};

} // namespace ludrin::store
