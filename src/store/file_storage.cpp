#include "store/file_storage.hpp"
#include "store/container_layout.hpp"
#include "store/store_files.hpp"

#include <string>

namespace ludrin::store {

TstFileStorage::~TstFileStorage() {
    if (!AutoExtract.Enabled || !AutoExtract.RemoveOnTerminate || ExtractedFilesList.empty()) {
        return;
    }
    for (const auto& path : ExtractedFilesList) {
        DeleteFileAt(path);
    }
    // Only the first file's own folder, and only when nothing else is left in it.
    const std::wstring& first = ExtractedFilesList.front();
    std::size_t cut = first.size();
    while (cut > 0 && !IsPathDelimiter(first[cut - 1])) {
        --cut;
    }
    const std::wstring folder = first.substr(0, cut);
    if (!folder.empty() && IsDirectoryEmpty(folder)) {
        RemoveFolder(folder);
    }
}

std::uint32_t TstFileStorage::DataSize() const {
    std::uint32_t total = 0;
    for (const auto& file : Files) {
        total += file->Size; // wraps modulo 2^32 by design
    }
    return total;
}

void TstFileStorage::ReadData(ByteReader& stream) {
    ByteReader attempt = stream;
    const std::uint32_t first = attempt.ReadU32();
    const bool compressed = first == kContainerSignature;
    const std::uint32_t second = attempt.ReadU32();
    const std::uint32_t count = compressed ? second : first;

    // Records are read into a side list so that a damaged container changes nothing.
    const bool previous = Compressed;
    Compressed = compressed;
    std::vector<std::unique_ptr<TStoredFile>> read;
    try {
        for (std::uint32_t slot = 0; slot < count; ++slot) {
            const std::size_t offset = attempt.Position();
            auto file = std::make_unique<TStoredFile>(this);
            try {
                file->ReadData(attempt);
            } catch (const EReadError&) {
                throw;
            } catch (const EStoreError& error) {
                throw EStoreError("stored file " + std::to_string(slot) + " at offset " +
                                  std::to_string(offset) + ": " + error.what());
            }
            read.push_back(std::move(file));
        }
    } catch (...) {
        Compressed = previous;
        throw;
    }
    for (auto& file : read) {
        Files.push_back(std::move(file));
    }
    stream = attempt;
}

void TstFileStorage::ReadData(std::span<const std::uint8_t> container) {
    ByteReader reader(container);
    ReadData(reader);
}

void TstFileStorage::WriteData(std::vector<std::uint8_t>& stream) const {
    AppendU32(stream, kContainerSignature);
    AppendU32(stream, Count());
    for (const auto& file : Files) {
        file->WriteData(stream);
    }
}

bool TstFileStorage::Extract(std::int32_t fileIndex, const std::wstring& outputFile) {
    if (fileIndex < 0 || static_cast<std::size_t>(fileIndex) >= Files.size()) {
        throw EListError(fileIndex);
    }
    TStoredFile& file = *Files[static_cast<std::size_t>(fileIndex)];
    std::wstring output = outputFile;
    if (output.empty()) {
        const auto folder = AutoExtract.ExtractTo.ResolvedPath();
        if (!folder) {
            return false;
        }
        output = *folder + file.FileName;
    }
    return file.Extract(output, AutoExtract.ExtractTo.CreatePath);
}

bool TstFileStorage::Extract(const std::wstring& fileName, const std::wstring& outputFile) {
    std::wstring output = outputFile;
    if (output.empty()) {
        const auto folder = AutoExtract.ExtractTo.ResolvedPath();
        if (!folder) {
            return false;
        }
        output = *folder + fileName;
    }
    for (const auto& file : Files) {
        if (file->FileName == fileName) {
            return file->Extract(output, AutoExtract.ExtractTo.CreatePath);
        }
    }
    return false;
}

void TstFileStorage::Loaded() {
    if (!AutoExtract.Enabled) {
        return;
    }
    const auto folder = AutoExtract.ExtractTo.ResolvedPath();
    if (!folder) {
        return;
    }
    for (const auto& file : Files) {
        const std::wstring output = *folder + file->FileName;
        bool extract = true;
        switch (AutoExtract.Overwrite) {
        case TstFileStorageOverwrite::owIfSizeDifferent:
            // Full 64-bit compare: a file 4 GiB longer is different. An unreadable size
            // (-1) differs from every stored size.
            extract = !FileExists(output) ||
                      ExtractFileSize(output) != static_cast<std::int64_t>(file->Size);
            break;
        case TstFileStorageOverwrite::owNever:
            extract = !FileExists(output);
            break;
        case TstFileStorageOverwrite::owAlways:
            break;
        }
        if (extract) {
            file->Extract(output, AutoExtract.ExtractTo.CreatePath);
        }
    }
}

} // namespace ludrin::store
