#pragma once
// One stored file of the payload store: its name, size and bytes. A file read from a
// container keeps its packed bytes where they lie and unpacks them only while extracting,
// straight into the output file; a file loaded from disk or filled in holds them in Data.

#include "bytes/byte_reader.hpp"
#include "store/container_layout.hpp"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
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
    std::vector<std::uint8_t> Data; // all Size bytes, unpacked, unless InContainer is set

    // Where a file read from a container has its bytes: a view into the container (which
    // must stay in place while the file is used), packed blocks or, in the older layout,
    // the plain bytes. Already checked to unpack to exactly Size bytes; Data is empty.
    struct ContainerBytes {
        std::span<const std::uint8_t> bytes;
        bool packed = false;
    };
    std::optional<ContainerBytes> InContainer;

    // Hands all Size bytes to `sink` in order, in pieces of at most one packed chunk when
    // they come from packed blocks (see SFUnpackPieces). Exceptions of the sink pass through.
    void ReadPieces(const std::function<void(std::span<const std::uint8_t>)>& sink) const;
    // All Size bytes in one buffer.
    std::vector<std::uint8_t> Bytes() const;

    // Reads one container record: packed when the owner's container had the signature (or
    // there is no owner), otherwise the older unpacked layout. Damaged records throw
    // EStoreError; a cut-short older record throws EReadError. On error nothing changes.
    void ReadData(bytes::ByteReader& stream);
    // Takes a record already read, in place: checks that its blocks unpack to its size
    // (writing nothing) when it is in the signature layout.
    void Load(const RecordView& record, bool packed);
    // Appends one record in the signature layout.
    void WriteData(std::vector<std::uint8_t>& stream) const;

    // Writes the bytes to `outputFile` (creating its folders first when asked), reporting to
    // the owner's events. True when written, or when OnExtract vetoed the extraction. The
    // bytes go to a part file that replaces `outputFile` only once whole: a write that fails
    // or is cut short leaves whatever `outputFile` held before (or nothing).
    bool Extract(const std::wstring& outputFile, bool createPath);

    // Loads a disk file; reports "This file can not be uploaded." through the owner's
    // OnUploadError and answers false when it cannot be read. FileName takes the path's
    // name part in every case.
    bool Upload(const std::wstring& fileName);
    void ClearData();

private:
    bool WriteTo(const std::wstring& outputFile) const;
    // Appends the record's name length and UTF-8 name; answers the name for messages.
    std::string AppendRecordName(std::vector<std::uint8_t>& stream) const;
};

} // namespace ludrin::store
