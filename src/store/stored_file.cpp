#include "store/stored_file.hpp"
#include "platform/text/utf.hpp"
#include "store/block_packer.hpp"
#include "store/container_layout.hpp"
#include "store/file_storage.hpp"
#include "store/store_files.hpp"

#include <limits>
#include <string_view>

namespace ludrin::store {
namespace {

std::string_view AsChars(std::span<const std::uint8_t> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// The text up to and including the last delimiter.
std::wstring FolderPart(const std::wstring& path) {
    for (std::size_t i = path.size(); i > 0; --i) {
        if (IsPathDelimiter(path[i - 1])) {
            return path.substr(0, i);
        }
    }
    return {};
}

std::wstring NamePart(const std::wstring& path) {
    return path.substr(FolderPart(path).size());
}

// Creates every folder along a file's path, left to right; failures are ignored (a folder
// that exists, a drive root): the file's creation reports what matters.
void CreateFoldersAlong(const std::wstring& filePath) {
    const std::wstring folder = FolderPart(filePath);
    for (std::size_t i = 0; i < folder.size(); ++i) {
        if (IsPathDelimiter(folder[i])) {
            MakeFolder(folder.substr(0, i + 1));
        }
    }
}

} // namespace

void TStoredFile::ReadData(ByteReader& stream) {
    const bool packed = Owner == nullptr || Owner->Compressed;
    ByteReader attempt = stream;
    const RecordView record = ReadRecord(attempt, packed);
    std::vector<std::uint8_t> data;
    if (packed) {
        UnpackRecord(record, data);
    } else {
        data.assign(record.body.begin(), record.body.end());
    }
    FileName = text::Utf8ToWide(AsChars(record.name));
    Size = record.size;
    Data = std::move(data);
    stream = attempt;
}

void TStoredFile::WriteData(std::vector<std::uint8_t>& stream) const {
    if (Data.size() != Size) {
        throw EStoreError("stored file \"" + text::WideToUtf8(FileName) + "\": its size " +
                          std::to_string(Size) + " does not match its " +
                          std::to_string(Data.size()) + " bytes of data");
    }
    const std::string name = text::WideToUtf8(FileName);
    AppendU32(stream, static_cast<std::uint32_t>(name.size()));
    AppendBytes(stream, {reinterpret_cast<const std::uint8_t*>(name.data()), name.size()});

    // Pack straight behind the packed-length field, then trim to what was used.
    const std::size_t lengthAt = stream.size();
    const std::size_t capacity = SFCalcTargetSz(Data.size());
    stream.resize(lengthAt + 4 + capacity);
    const std::size_t packed =
        SFPack(Data, std::span<std::uint8_t>(stream.data() + lengthAt + 4, capacity));
    if (packed > std::numeric_limits<std::uint32_t>::max()) {
        stream.resize(lengthAt);
        throw EStoreError("stored file \"" + name + "\" packs to more than 4 GiB");
    }
    stream.resize(lengthAt + 4 + packed);
    for (int i = 0; i < 4; ++i) {
        stream[lengthAt + static_cast<std::size_t>(i)] =
            static_cast<std::uint8_t>(packed >> (8 * i));
    }
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
    if (createPath && !IsDirectoryExists(FolderPart(outputFile))) {
        CreateFoldersAlong(outputFile);
    }
    const bool written = WriteWholeFile(outputFile, Data);
    if (written && Owner != nullptr && Owner->AutoExtract.RemoveOnTerminate) {
        Owner->ExtractedFilesList.push_back(outputFile);
    }
    if (Owner != nullptr && Owner->OnExtracted) {
        Owner->OnExtracted(sender, outputFile, fileSize, written);
    }
    return written;
}

bool TStoredFile::Upload(const std::wstring& fileName) {
    FileName = NamePart(fileName);
    auto content = ReadWholeFile(fileName);
    if (!content) {
        ShowErrorMessage(L"This file can not be uploaded.");
        return false;
    }
    Data = std::move(*content);
    Size = static_cast<std::uint32_t>(Data.size());
    return true;
}

void TStoredFile::ClearData() {
    FileName.clear();
    Size = 0;
    Data.clear();
}

} // namespace ludrin::store
