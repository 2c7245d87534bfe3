#include "store/stored_file.hpp"
#include "bytes/byte_writer.hpp"
#include "platform/fs/fs.hpp"
#include "platform/fs/part_file.hpp"
#include "platform/fs/path_separator.hpp"
#include "platform/text/utf.hpp"
#include "store/block_packer.hpp"
#include "store/container_layout.hpp"
#include "store/file_storage.hpp"

#include <limits>
#include <string_view>

namespace ludrin::store {
namespace {

std::string_view AsChars(std::span<const std::uint8_t> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// Creates every folder along a file's path, left to right; failures are ignored (a folder
// that exists, a drive root): the file's creation reports what matters.
void CreateFoldersAlong(const std::wstring& filePath) {
    const std::wstring_view folder = fs::FolderPart(filePath);
    for (std::size_t i = 0; i < folder.size(); ++i) {
        if (fs::IsPathSeparator(folder[i])) {
            fs::CreateFolder(std::wstring(folder.substr(0, i + 1)));
        }
    }
}

} // namespace

void TStoredFile::ReadData(bytes::ByteReader& stream) {
    const bool packed = Owner == nullptr || Owner->Compressed;
    bytes::ByteReader attempt = stream;
    Load(ReadRecord(attempt, packed), packed);
    stream = attempt;
}

void TStoredFile::Load(const RecordView& record, bool packed) {
    if (packed) {
        CheckRecord(record, Owner != nullptr ? Owner->OnContainerRead : nullptr);
    }
    FileName = text::Utf8ToWide(AsChars(record.name));
    Size = record.size;
    Data.clear();
    Data.shrink_to_fit();
    InContainer = ContainerBytes{record.body, packed};
}

void TStoredFile::ReadPieces(const std::function<void(std::span<const std::uint8_t>)>& sink) const {
    if (!InContainer) {
        sink(Data);
        return;
    }
    if (!InContainer->packed) {
        sink(InContainer->bytes);
        return;
    }
    const auto& done = Owner != nullptr ? Owner->OnContainerRead : nullptr;
    if (!done) {
        RecordView record;
        record.size = Size;
        record.body = InContainer->bytes;
        UnpackRecordPieces(record,
                           [&](std::size_t, std::span<const std::uint8_t> piece) { sink(piece); });
        return;
    }
    // In stretches of whole blocks, each handed to `done` once unpacked.
    const auto body = InContainer->bytes;
    std::uint64_t produced = 0;
    ForEachStretch(body, kContainerStretch, [&](std::span<const std::uint8_t> stretch) {
        produced +=
            SFUnpackPieces(stretch, Size - produced,
                           [&](std::size_t, std::span<const std::uint8_t> piece) { sink(piece); });
        done(stretch);
    });
    CheckUnpackedSize(Size, produced);
}

std::vector<std::uint8_t> TStoredFile::Bytes() const {
    std::vector<std::uint8_t> all;
    all.reserve(Size);
    ReadPieces([&](std::span<const std::uint8_t> piece) {
        all.insert(all.end(), piece.begin(), piece.end());
    });
    return all;
}

std::string TStoredFile::AppendRecordName(std::vector<std::uint8_t>& stream) const {
    const std::string name = text::WideToUtf8(FileName);
    bytes::AppendU32(stream, static_cast<std::uint32_t>(name.size()));
    bytes::AppendBytes(stream, {reinterpret_cast<const std::uint8_t*>(name.data()), name.size()});
    return name;
}

void TStoredFile::WriteData(std::vector<std::uint8_t>& stream) const {
    if (InContainer && InContainer->packed) {
        // Checked blocks are written back as they are: no unpacking and packing again.
        const std::string name = AppendRecordName(stream);
        bytes::LengthField packedLength(stream);
        bytes::AppendU32(stream, Size);
        bytes::AppendBytes(stream, InContainer->bytes);
        if (!packedLength.Close()) {
            stream.resize(packedLength.BodyStart() - 4);
            throw EStoreError("stored file \"" + name + "\" packs to more than 4 GiB");
        }
        return;
    }
    if (InContainer) {
        TStoredFile unpacked(Owner);
        unpacked.FileName = FileName;
        unpacked.Size = Size;
        unpacked.Data = Bytes();
        unpacked.WriteData(stream);
        return;
    }
    if (Data.size() != Size) {
        throw EStoreError("stored file \"" + text::WideToUtf8(FileName) + "\": its size " +
                          std::to_string(Size) + " does not match its " +
                          std::to_string(Data.size()) + " bytes of data");
    }
    const std::string name = AppendRecordName(stream);

    // Pack straight behind the packed-length field, then trim to what was used.
    bytes::LengthField packedLength(stream);
    const std::size_t start = packedLength.BodyStart();
    const std::size_t capacity = SFCalcTargetSz(Data.size());
    stream.resize(start + capacity);
    stream.resize(start + SFPack(Data, std::span<std::uint8_t>(stream.data() + start, capacity)));
    if (!packedLength.Close()) {
        stream.resize(start - 4);
        throw EStoreError("stored file \"" + name + "\" packs to more than 4 GiB");
    }
}

bool TStoredFile::WriteTo(const std::wstring& outputFile) const {
    // Written beside the destination and moved over it only once whole: a run that ends
    // half-way leaves the old file (or none), never a part of this one under its name.
    auto part = fs::PartFile::Create(outputFile);
    if (!part) {
        return false;
    }
    struct WriteFailed {};
    std::uint64_t written = 0;
    try {
        ReadPieces([&](std::span<const std::uint8_t> piece) {
            if (part->Output().Write(piece) != piece.size()) {
                throw WriteFailed{};
            }
            written += piece.size();
        });
    } catch (const WriteFailed&) {
        return false;
    } catch (const EStoreError&) {
        // Cannot happen for blocks checked when read, unless the container changed since.
        return false;
    }
    return written == Size && part->Commit();
}

bool TStoredFile::Extract(const std::wstring& outputFile, bool createPath) {
    void* sender = Owner != nullptr ? Owner->Owner : nullptr;
    const auto fileSize = static_cast<std::int32_t>(Size);
    bool allow = true;
    if (Owner != nullptr && Owner->OnExtract) {
        Owner->OnExtract(sender, outputFile, fileSize, allow);
    }
    if (!allow) {
        return true;
    }
    if (createPath && !fs::DirectoryExists(std::wstring(fs::FolderPart(outputFile)))) {
        CreateFoldersAlong(outputFile);
    }
    const bool written = WriteTo(outputFile);
    if (written && Owner != nullptr && Owner->AutoExtract.RemoveOnTerminate) {
        Owner->ExtractedFilesList.push_back(outputFile);
    }
    if (Owner != nullptr && Owner->OnExtracted) {
        Owner->OnExtracted(sender, outputFile, fileSize, written);
    }
    return written;
}

bool TStoredFile::Upload(const std::wstring& fileName) {
    FileName = fs::NamePart(fileName);
    auto content = fs::ReadWholeFile(fileName);
    if (!content) {
        if (Owner != nullptr && Owner->OnUploadError) {
            Owner->OnUploadError(L"This file can not be uploaded.");
        }
        return false;
    }
    Data = std::move(*content);
    InContainer.reset();
    Size = static_cast<std::uint32_t>(Data.size());
    return true;
}

void TStoredFile::ClearData() {
    FileName.clear();
    Size = 0;
    Data.clear();
    InContainer.reset();
}

} // namespace ludrin::store
