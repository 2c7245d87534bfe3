// Extraction below the base folder: selection, the per-entry loop with its failure
// handler, and writing one entry with its time and attributes.

#include "platform/fs/fs.hpp"
#include "platform/fs/output_file.hpp"
#include "platform/fs/path_separator.hpp"
#include "platform/text/utf.hpp"
#include "zip/zip_error.hpp"
#include "zip/zip_reader.hpp"
#include "zip/zip_target_path.hpp"

#include <algorithm>
#include <exception>
#include <mutex>

namespace ludrin::zip {
namespace {

constexpr std::uint32_t kDefaultSearchAttr = 0x28BF;
constexpr TZipProcessOperation kExtract = TZipProcessOperation::poExtract;

// One batch at a time in the whole process, whichever component runs it; the thread that
// holds it may enter again (an event handler extracting from another archive).
std::recursive_mutex& ProcessLock() {
    static std::recursive_mutex lock;
    return lock;
}

class FileOutput final : public ZipOutput {
public:
    explicit FileOutput(fs::OutputFile& file) : file_(file) {}
    std::size_t Write(std::span<const std::uint8_t> bytes) override { return file_.Write(bytes); }

private:
    fs::OutputFile& file_;
};

} // namespace

void TZipBaseArchiver::ExtractFiles(const std::wstring& fileMask, std::uint32_t searchAttr,
                                    const std::wstring& exclusionMask) {
    if (!FActive) {
        throw EZipException(native::kArchiveNotOpen, Name);
    }
    if (FUpdateCount > 0) {
        throw EZipException(native::kUpdateNotEnded, Name);
    }
    const bool wildCards = fileMask.find_first_of(L"*?") != std::wstring::npos;
    if (Options.Recurse || wildCards || !exclusionMask.empty() ||
        searchAttr != kDefaultSearchAttr) {
        TagMatches(fileMask, searchAttr, exclusionMask, false);
        ProcessTaggedFiles(true, 0);
        return;
    }
    TZipArchiveItem found;
    if (!FindFirst(fileMask, found, exclusionMask, static_cast<std::int32_t>(searchAttr))) {
        FLastBatch = ZipBatchResult{};
        return;
    }
    for (std::size_t i = 0; i < FDMHandle->CDir.Count(); ++i) {
        FDMHandle->CDir[i].Tagged = false;
    }
    const auto index = static_cast<std::size_t>(found.Handle.ItemNo);
    FDMHandle->CDir[index].Tagged = true;
    ProcessTaggedFiles(false, index);
}

void TZipBaseArchiver::ExtractFiles() {
    if (!FActive) {
        throw EZipException(native::kArchiveNotOpen, Name);
    }
    if (FUpdateCount > 0) {
        throw EZipException(native::kUpdateNotEnded, Name);
    }
    TagMatches({}, static_cast<std::uint32_t>(Options.SearchAttr), {}, true);
    ProcessTaggedFiles(true, 0);
}

void TZipBaseArchiver::TagMatches(const std::wstring& fileMask, std::uint32_t searchAttr,
                                  const std::wstring& exclusionMask, bool useProperties) {
    TZipDirArray& dir = FDMHandle->CDir;
    for (std::size_t i = 0; i < dir.Count(); ++i) {
        dir[i].Tagged = false;
    }
    TZipArchiveItem item;
    bool found = useProperties ? FindFirst(item)
                               : FindFirst(fileMask, item, exclusionMask,
                                           static_cast<std::int32_t>(searchAttr));
    while (found) {
        dir[static_cast<std::size_t>(item.Handle.ItemNo)].Tagged = true;
        found = FindNext(item);
    }
}

void TZipBaseArchiver::ProcessTaggedFiles(bool batch, std::size_t singleIndex) {
    const std::lock_guard<std::recursive_mutex> lock(ProcessLock());
    TZipDirArray& dir = FDMHandle->CDir;
    FProcessedFileNo = 0;
    FProgressCancel = false;
    FProgressEnabled = true;
    FProbedFolder.clear(); // drives may have changed since the last batch
    FLastBatch = ZipBatchResult{};
    if (batch) {
        for (std::size_t i = 0; i < dir.Count(); ++i) {
            FLastBatch.tagged += dir[i].Tagged ? 1 : 0;
        }
    } else {
        FLastBatch.tagged = 1;
    }
    FProcessedFileCount = static_cast<std::int32_t>(FLastBatch.tagged);

    DoOnOverallProgress(0, kExtract, TZipProgressPhase::ppStart, FProgressCancel);
    if (FProgressCancel) {
        FLastBatch.aborted = true;
        return;
    }
    bool stop = false;
    for (std::size_t index = batch ? 0 : singleIndex; index < dir.Count() && !stop; ++index) {
        TDirItem& entry = dir[index];
        if (!entry.Tagged) {
            continue;
        }
        entry.Operation = kExtract;
        bool retry = true;
        while (retry) {
            retry = false;
            TZipAction action = TZipAction::fxaIgnore;
            const std::wstring name = WithBackslashes(entry.Name);
            try {
                bool confirm = true;
                DoOnConfirmProcessFile(name, kExtract, confirm);
                if (!confirm) {
                    ++FLastBatch.skipped;
                    break;
                }
                if (FCurrentDir.empty()) {
                    FCurrentDir = fs::CurrentFolder();
                }
                const std::wstring destDir =
                    fs::WithTrailingSeparator(BaseDir.empty() ? FCurrentDir : BaseDir);
                DoOnFileProgress(name, 0, kExtract, TZipProgressPhase::ppStart, FProgressCancel);
                if (FProgressCancel) {
                    stop = true;
                    break;
                }
                const EntryOutcome outcome = ExtractTaggedFile(index, name, destDir);
                DoOnFileProgress(name, 100, kExtract, TZipProgressPhase::ppEnd, FProgressCancel);
                if (FProgressCancel) {
                    stop = true;
                    break;
                }
                ++FProcessedFileNo;
                switch (outcome) {
                case EntryOutcome::written:
                    ++FLastBatch.extracted;
                    break;
                case EntryOutcome::skipped:
                    ++FLastBatch.skipped;
                    break;
                case EntryOutcome::keptCorrupt:
                    ++FLastBatch.failed;
                    break;
                }
            } catch (const EZipException& error) {
                DoOnProcessFileFailure(name, kExtract, error.NativeError(), error.ErrorCode(),
                                       text::Utf8ToWide(error.what()), action);
                switch (action) {
                case TZipAction::fxaRetry:
                    retry = true;
                    break;
                case TZipAction::fxaIgnore:
                    ++FLastBatch.failed;
                    break;
                case TZipAction::fxaAbort:
                    ++FLastBatch.failed;
                    stop = true;
                    break;
                }
            }
        }
        if (!batch) {
            break;
        }
    }
    FLastBatch.aborted = stop;
    DoOnOverallProgress(100, kExtract, TZipProgressPhase::ppEnd, FProgressCancel);
    if (FProgressCancel) {
        FLastBatch.aborted = true;
    }
}

TZipBaseArchiver::EntryOutcome TZipBaseArchiver::ExtractTaggedFile(std::size_t index,
                                                                   std::wstring name,
                                                                   const std::wstring& destDir) {
    const TDirItem& entry = FDMHandle->CDir[index];
    std::uint32_t attributes = entry.CentralDir.externalAttr;
    DoOnExtractFile(name, attributes, entry.Comment);
    name = WithBackslashes(std::move(name));
    // Nothing is ever written outside the base folder, whatever the archive or the
    // handler names.
    if (IsUnplaceable(name)) {
        throw EZipException(native::kCannotCreateFile, Name, {text::WideToUtf8(name)});
    }
    std::wstring relative = PlatformRelativePath(name);
    if (!Options.CreateDirs) {
        relative = std::wstring(fs::NamePart(relative));
    } else {
        const std::wstring folder = destDir + std::wstring(fs::FolderPart(relative));
        if (!fs::CreateFolderTree(folder)) {
            throw EZipException(native::kCannotCreateDir, Name, {text::WideToUtf8(folder)});
        }
    }
    if (IsFolderEntry(entry)) {
        // An entry with data is never a folder: taking it for one would lose its data
        // and count it as extracted.
        if (entry.UncompressedSize() != 0) {
            throw EZipException(native::kDecodeFailed, Name);
        }
        return EntryOutcome::written;
    }

    std::wstring target = destDir + relative;
    const bool exists = fs::FileExists(target);
    if (exists && !Options.ReplaceReadOnly) {
        const auto current = fs::GetAttributes(target);
        if (current && (*current & kAttrReadOnly) != 0) {
            return EntryOutcome::skipped;
        }
    }
    if (exists && !OverwriteConfirmed(entry, target)) {
        return EntryOutcome::skipped;
    }
    if (exists || fs::FileExists(target)) {
        fs::SetAttributes(target, 0);
        fs::RemoveFile(target);
    }
    std::optional<fs::OutputFile> file = fs::OutputFile::Create(target);
    if (!file) {
        throw EZipException(native::kCannotCreateFile, Name, {text::WideToUtf8(target)});
    }

    std::exception_ptr failure;
    bool verified = false;
    try {
        FileOutput output(*file);
        verified = ExtractItem(index, output);
    } catch (...) {
        failure = std::current_exception();
    }
    file->SetLastWriteDosDateTime(entry.CentralDir.lastModDate, entry.CentralDir.lastModTime);
    if (Options.FlushBuffers && FolderIsOnRemovableDrive(target)) {
        file->Flush();
    }
    file->Close();
    const bool discard = FSkipFile || FProgressCancel || failure;
    if (discard) {
        fs::SetAttributes(target, 0);
        fs::RemoveFile(target);
    } else if (Options.SetAttributes) {
        fs::SetAttributes(target, attributes);
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
    if (discard) {
        return EntryOutcome::skipped;
    }
    return verified ? EntryOutcome::written : EntryOutcome::keptCorrupt;
}

bool TZipBaseArchiver::FolderIsOnRemovableDrive(const std::wstring& target) {
    const std::wstring_view folder = fs::FolderPart(target);
    if (FProbedFolder.empty() || folder != FProbedFolder) {
        FProbedFolder = folder;
        FProbedFolderRemovable = fs::IsOnRemovableDrive(target);
    }
    return FProbedFolderRemovable;
}

bool TZipBaseArchiver::OverwriteConfirmed(const TDirItem& entry, std::wstring& target) {
    const auto entryTime =
        static_cast<std::int32_t>((static_cast<std::uint32_t>(entry.CentralDir.lastModDate) << 16) |
                                  entry.CentralDir.lastModTime);
    switch (Options.OverwriteMode) {
    case TZipOverwriteMode::omAlways:
        return true;
    case TZipOverwriteMode::omNever:
        return false;
    case TZipOverwriteMode::omPrompt: {
        bool confirm = true;
        DoOnConfirmOverwrite(WithBackslashes(entry.Name), target, confirm);
        return confirm;
    }
    case TZipOverwriteMode::omIfNewer:
    case TZipOverwriteMode::omIfOlder: {
        const auto targetTime = fs::LastWriteDosDateTime(target);
        if (!targetTime) {
            return true;
        }
        const auto existing = static_cast<std::int32_t>(*targetTime);
        return Options.OverwriteMode == TZipOverwriteMode::omIfNewer ? existing < entryTime
                                                                     : existing > entryTime;
    }
    }
    return true;
}

} // namespace ludrin::zip
