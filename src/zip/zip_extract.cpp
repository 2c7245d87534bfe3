// Extraction below the base folder: selection, the per-entry loop with its failure
// handler, and writing one entry with its time and attributes.

#include "platform/fs/fs.hpp"
#include "platform/fs/output_file.hpp"
#include "platform/fs/part_file.hpp"
#include "platform/fs/path_separator.hpp"
#include "platform/text/utf.hpp"
#include "zip/zip_error.hpp"
#include "zip/zip_reader.hpp"
#include "zip/zip_run.hpp"
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
    std::size_t tagged = batch ? 0 : 1;
    for (std::size_t i = 0; batch && i < dir.Count(); ++i) {
        tagged += dir[i].Tagged ? 1 : 0;
    }
    ZipRun run(*this, true, static_cast<std::int32_t>(tagged));
    run.batch.tagged = tagged;
    DoOnOverallProgress(0, kExtract, TZipProgressPhase::ppStart, run.cancel);
    if (run.cancel) {
        run.batch.aborted = true;
    } else {
        bool stop = false;
        for (std::size_t i = batch ? 0 : singleIndex; i < dir.Count() && !stop; ++i) {
            if (dir[i].Tagged) {
                stop = !ProcessEntry(run, i);
            }
            if (!batch) {
                break;
            }
        }
        DoOnOverallProgress(100, kExtract, TZipProgressPhase::ppEnd, run.cancel);
        run.batch.aborted = stop || run.cancel;
    }
    FLastBatch = run.batch;
    FLastSkipped = run.skipFile;
    FLastCancelled = run.cancel;
}

bool TZipBaseArchiver::ProcessEntry(ZipRun& run, std::size_t index) {
    TDirItem& entry = FDMHandle->CDir[index];
    entry.Operation = kExtract;
    const std::wstring name = WithBackslashes(entry.Name);
    while (true) {
        try {
            bool confirm = true;
            DoOnConfirmProcessFile(name, kExtract, confirm);
            if (!confirm) {
                ++run.batch.skipped;
                return true;
            }
            const std::wstring destDir = DestinationFolder();
            DoOnFileProgress(name, 0, kExtract, TZipProgressPhase::ppStart, run.cancel);
            if (run.cancel) {
                return false;
            }
            const EntryOutcome outcome = ExtractTaggedFile(run, index, name, destDir);
            DoOnFileProgress(name, 100, kExtract, TZipProgressPhase::ppEnd, run.cancel);
            if (run.cancel) {
                return false;
            }
            ++run.processedFileNo;
            ++(outcome == EntryOutcome::written   ? run.batch.extracted
               : outcome == EntryOutcome::skipped ? run.batch.skipped
                                                  : run.batch.failed);
            return true;
        } catch (const EZipException& error) {
            TZipAction action = TZipAction::fxaIgnore;
            DoOnProcessFileFailure(name, kExtract, error.NativeError(), error.ErrorCode(),
                                   text::Utf8ToWide(error.what()), action);
            if (action != TZipAction::fxaRetry) {
                ++run.batch.failed;
                return action != TZipAction::fxaAbort;
            }
        }
    }
}

std::wstring TZipBaseArchiver::DestinationFolder() {
    if (FCurrentDir.empty()) {
        FCurrentDir = fs::CurrentFolder();
    }
    return fs::WithTrailingSeparator(BaseDir.empty() ? FCurrentDir : BaseDir);
}

TZipBaseArchiver::EntryOutcome TZipBaseArchiver::ExtractTaggedFile(ZipRun& run, std::size_t index,
                                                                   std::wstring name,
                                                                   const std::wstring& destDir) {
    const TDirItem& entry = FDMHandle->CDir[index];
    std::uint32_t attributes = entry.CentralDir.externalAttr;
    DoOnExtractFile(name, attributes, entry.Comment);
    name = WithBackslashes(std::move(name));
    // Nothing is ever written outside the base folder, whatever the archive or the
    // handler names, nor under a name Windows would change.
    if (IsUnplaceable(name)) {
        throw EZipException(native::kCannotCreateFile, Name, {text::WideToUtf8(name)});
    }
    std::wstring relative = PlatformRelativePath(name);
    if (!Options.CreateDirs) {
        relative = std::wstring(fs::NamePart(relative));
    } else {
        const std::wstring folder = destDir + std::wstring(fs::FolderPart(relative));
        if (!run.EnsureFolder(folder)) {
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
    const std::optional<bool> replacing = ClaimTarget(run, entry, target);
    if (!replacing) {
        return EntryOutcome::skipped;
    }
    return WriteEntryFile(run, index, target, attributes, *replacing);
}

std::optional<bool> TZipBaseArchiver::ClaimTarget(ZipRun& run, const TDirItem& entry,
                                                  std::wstring& target) {
    // One question tells what is there: nothing, a folder in the way, or a file and its
    // read-only bit; none when this run made the folder and has not used the name.
    auto current = run.MayExist(target) ? fs::GetAttributes(target) : std::nullopt;
    if (current && (*current & kAttrDirectory) != 0) {
        throw EZipException(native::kCannotCreateFile, Name, {text::WideToUtf8(target)});
    }
    bool replacing = current.has_value();
    if (replacing && !Options.ReplaceReadOnly && (*current & kAttrReadOnly) != 0) {
        return std::nullopt;
    }
    if (replacing) {
        const std::wstring asked = target;
        if (!OverwriteConfirmed(entry, target)) {
            return std::nullopt;
        }
        if (target != asked) { // the handler named another file
            replacing = fs::FileExists(target);
            current.reset();
        }
    }
    if (replacing) {
        // The old file stays until the new one is whole; one that its program holds
        // against replacement fails now, before the entry is decoded. Only a read-only
        // bit stands in the way of the move.
        if (!current || (*current & kAttrReadOnly) != 0) {
            fs::SetAttributes(target, 0);
        }
        if (!fs::Replaceable(target)) {
            throw EZipException(native::kCannotCreateFile, Name, {text::WideToUtf8(target)});
        }
    }
    return replacing;
}

// Decodes the entry into a part file beside the target, gives it the entry's time and moves
// it into place, then sets the entry's attributes. A failed, skipped or cancelled decode,
// or a kill at any point, leaves the target as it was.
TZipBaseArchiver::EntryOutcome TZipBaseArchiver::WriteEntryFile(ZipRun& run, std::size_t index,
                                                                const std::wstring& target,
                                                                std::uint32_t attributes,
                                                                bool replacing) {
    const TDirItem& entry = FDMHandle->CDir[index];
    std::optional<fs::PartFile> file = fs::PartFile::Create(target, run.FolderOf(target));
    if (!file) {
        throw EZipException(native::kCannotCreateFile, Name, {text::WideToUtf8(target)});
    }
    bool verified = false;
    {
        FileOutput output(file->Output());
        verified = run.Extract(index, output); // a failure discards the part file
    }
    if (run.skipFile || run.cancel) {
        return EntryOutcome::skipped;
    }
    file->Output().SetLastWriteDosDateTime(entry.CentralDir.lastModDate,
                                           entry.CentralDir.lastModTime);
    if (Options.FlushBuffers && run.FolderIsOnRemovableDrive(target)) {
        file->Output().Flush();
    }
    const std::uint32_t created = file->CreatedAttributes();
    if (!file->Commit(replacing)) {
        throw EZipException(native::kCannotCreateFile, Name, {text::WideToUtf8(target)});
    }
    run.Wrote(target);
    // Most entries ask for what a new file already has: they need no second call.
    if (Options.SetAttributes && fs::SetAttributesChanges(created, attributes)) {
        fs::SetAttributes(target, attributes);
    }
    return verified ? EntryOutcome::written : EntryOutcome::keptCorrupt;
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
