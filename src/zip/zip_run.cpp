#include "zip/zip_run.hpp"

#include "platform/fs/fs.hpp"
#include "platform/fs/path_separator.hpp"
#include "zip/windows_names.hpp"
#include "zip/zip_error.hpp"
#include "zip/zip_target_path.hpp"

namespace ludrin::zip {

ZipDecodeResult TZipBaseArchiver::ZipRun::Decode(std::size_t index, ZipOutput& out) {
    if (!owner_.FActive || index >= owner_.FDMHandle->CDir.Count()) {
        throw EZipException(native::kEntryIndexOutOfBounds, owner_.Name);
    }
    const TDirItem& item = owner_.FDMHandle->CDir[index];
    currentItem_ = &item;
    skipFile = false;
    struct Reset {
        const TDirItem*& item;
        ~Reset() { item = nullptr; }
    } reset{currentItem_};
    return InternalDecompressFile(*owner_.FDMHandle, item, out, *this, buffers_);
}

bool TZipBaseArchiver::ZipRun::Extract(std::size_t index, ZipOutput& out) {
    const ZipDecodeResult result = Decode(index, out);
    if (!result.ok && !cancel && !owner_.ExtractCorruptedFiles && !skipFile) {
        throw EZipException(native::kDecodeFailed, owner_.Name);
    }
    return result.ok;
}

bool TZipBaseArchiver::ZipRun::Progress(std::int64_t progress) {
    if (progressEnabled_ && currentItem_ != nullptr) {
        const double fileShare = static_cast<double>(progress) / static_cast<double>(progressMax_);
        const double count = processedFileCount_ > 0 ? processedFileCount_ : 1;
        owner_.DoOnFileProgress(WithBackslashes(currentItem_->Name), fileShare * 100,
                                currentItem_->Operation, TZipProgressPhase::ppProcess, cancel);
        owner_.DoOnOverallProgress((fileShare + processedFileNo) / count * 100,
                                   currentItem_->Operation, TZipProgressPhase::ppProcess, cancel);
    }
    return cancel;
}

bool TZipBaseArchiver::ZipRun::AskPassword(const std::wstring& storedName) {
    std::string newPassword = owner_.FPassword;
    bool skip = false;
    owner_.DoOnPassword(storedName, newPassword, skip);
    owner_.FPassword = newPassword;
    skipFile = skip;
    return skip;
}

bool TZipBaseArchiver::ZipRun::DiskFull() {
    bool cancelled = false;
    owner_.DoOnDiskFull(0, owner_.FileName, cancelled);
    if (cancelled) {
        cancel = true;
    }
    return cancelled;
}

bool TZipBaseArchiver::ZipRun::EnsureFolder(const std::wstring& folder) {
    if (madeFolders_.contains(folder)) {
        return true;
    }
    const bool existed = fs::DirectoryExists(folder);
    if (!existed && !fs::CreateFolderTree(folder)) {
        return false;
    }
    madeFolders_.insert(folder);
    if (!existed) {
        std::wstring named = fs::WithTrailingSeparator(folder);
        newFolders_.insert(named);
        named.pop_back();
        written_.insert(FoldedAsWindows(named)); // a later file of that name meets a folder
    }
    return true;
}

bool TZipBaseArchiver::ZipRun::MayExist(const std::wstring& target) const {
    return !newFolders_.contains(fs::FolderPart(target)) ||
           written_.contains(FoldedAsWindows(target));
}

void TZipBaseArchiver::ZipRun::Wrote(const std::wstring& target) {
    written_.insert(FoldedAsWindows(target));
}

bool TZipBaseArchiver::ZipRun::FolderIsOnRemovableDrive(const std::wstring& target) {
    const std::wstring_view folder = fs::FolderPart(target);
    if (const auto known = removableFolders_.find(folder); known != removableFolders_.end()) {
        return known->second;
    }
    const std::wstring volume = fs::VolumeOf(target);
    auto [probed, fresh] = removableVolumes_.try_emplace(volume, false);
    if (fresh) {
        probed->second = fs::IsRemovableVolume(volume);
    }
    removableFolders_.emplace(folder, probed->second);
    return probed->second;
}

} // namespace ludrin::zip
