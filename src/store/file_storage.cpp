#include "store/file_storage.hpp"
#include "bytes/byte_writer.hpp"
#include "platform/fs/fs.hpp"
#include "platform/fs/path_separator.hpp"
#include "store/container_layout.hpp"

#include <string>

namespace ludrin::store {
namespace {

// Automatic extraction never writes over a folder either: anything at the path counts.
bool PresentForOverwrite(const std::wstring& path) {
    return fs::FileExists(path) || fs::DirectoryExists(path);
}

// A stored name joined to the destination folder must stay in it: only a plain file name
// will do, never "..", a separator, a drive, a stream (":") or a NUL.
bool IsPlainFileName(const std::wstring& name) {
    return !name.empty() && name != L"." && name != L".." &&
           name.find_first_of(std::wstring_view(L"/\\:\0", 4)) == std::wstring::npos;
}

} // namespace

TstFileStorage::~TstFileStorage() {
    if (!AutoExtract.Enabled || !AutoExtract.RemoveOnTerminate || ExtractedFilesList.empty()) {
        return;
    }
    for (const auto& path : ExtractedFilesList) {
        fs::RemoveFile(path);
    }
    // Only the first file's own folder, and only when nothing else is left in it.
    const std::wstring folder(fs::FolderPart(ExtractedFilesList.front()));
    if (fs::IsFolderEmpty(folder)) {
        fs::RemoveFolder(folder);
    }
}

std::uint32_t TstFileStorage::DataSize() const {
    std::uint32_t total = 0;
    for (const auto& file : Files) {
        total += file->Size; // wraps modulo 2^32 by design
    }
    return total;
}

void TstFileStorage::ReadData(std::span<const std::uint8_t> container) {
    const ContainerView view = WalkContainer(container);
    // Records are unpacked into a side list so that a damaged container changes nothing.
    std::vector<std::unique_ptr<TStoredFile>> read;
    for (std::size_t slot = 0; slot < view.records.size(); ++slot) {
        const RecordView& record = view.records[slot];
        auto file = std::make_unique<TStoredFile>(this);
        try {
            file->Load(record, view.compressed);
        } catch (const EStoreError& error) {
            throw RecordError(slot, record.offset, error.what());
        }
        read.push_back(std::move(file));
    }
    Compressed = view.compressed;
    for (auto& file : read) {
        Files.push_back(std::move(file));
    }
}

void TstFileStorage::WriteData(std::vector<std::uint8_t>& stream) const {
    bytes::AppendU32(stream, kContainerSignature);
    bytes::AppendU32(stream, Count());
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
        if (!folder || !IsPlainFileName(file.FileName)) {
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
        if (!folder || !IsPlainFileName(fileName)) {
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
        if (!IsPlainFileName(file->FileName)) {
            continue; // refused: it would land outside the folder
        }
        const std::wstring output = *folder + file->FileName;
        bool extract = true;
        switch (AutoExtract.Overwrite) {
        case TstFileStorageOverwrite::owIfSizeDifferent:
            // Full 64-bit compare: a file 4 GiB longer is different. An unreadable size
            // (-1) differs from every stored size.
            extract = !PresentForOverwrite(output) ||
                      fs::FileSize(output) != static_cast<std::int64_t>(file->Size);
            break;
        case TstFileStorageOverwrite::owNever:
            extract = !PresentForOverwrite(output);
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
