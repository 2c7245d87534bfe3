#pragma once
// One run of the archive component: a batch of extractions or a single decode. It holds
// what lives only as long as the run (progress, counters, cancel and skip, the entry being
// decoded, the folders made, probed and held open, the decoder's buffers, the batch's outcome) and
// answers the decoder's questions through the component's events. Nothing of it survives into the
// next run.

#include "platform/fs/open_folder.hpp"
#include "zip/zip_decoder.hpp"
#include "zip/zip_reader.hpp"

#include <functional>
#include <map>
#include <set>

namespace ludrin::zip {

class TZipBaseArchiver::ZipRun final : public ZipDecodeHooks {
public:
    // A batch reports progress; a decode outside any batch does not.
    ZipRun(TZipBaseArchiver& owner, bool progressEnabled, std::int32_t fileCount = 1)
        : owner_(owner), progressEnabled_(progressEnabled), processedFileCount_(fileCount) {}

    ZipDecodeResult Decode(std::size_t index, ZipOutput& out);
    // Native 8 when decoding fails and neither a cancel, a skip nor ExtractCorruptedFiles
    // excuses it; answers whether the entry was decoded and verified.
    bool Extract(std::size_t index, ZipOutput& out);

    // Creates a target's folder with its missing parents, once per run: each question about
    // a folder walks its whole path, and a batch writes many files to few folders.
    bool EnsureFolder(const std::wstring& folder);
    // False only when nothing can be at `target`: its folder was made by this run and no
    // file of this run took its name (compared as Windows compares names). Looking up a
    // name that is not there is the dearest question on Windows: the folder is searched.
    bool MayExist(const std::wstring& target) const;
    // A file of this run now has this name (folders made by EnsureFolder are known already).
    void Wrote(const std::wstring& target);
    // Whether a target's folder lies on a removable drive: its volume asked once per folder,
    // the volume's device probe once per volume.
    bool FolderIsOnRemovableDrive(const std::wstring& target);
    // The target's folder held open, so that its files are named from there.
    const fs::OpenFolder* FolderOf(const std::wstring& target) { return folder_.Of(target); }

    bool cancel = false;
    bool skipFile = false;
    std::int32_t processedFileNo = 0;
    ZipBatchResult batch;

    // ZipDecodeHooks
    void SetProgressMax(std::int64_t progressMax) override { progressMax_ = progressMax; }
    bool Progress(std::int64_t progress) override;
    bool Cancelled() const override { return cancel; }
    const std::string& Password() const override { return owner_.FPassword; }
    bool SuppressPasswordEvent() const override { return owner_.FSuppressPasswordEvent; }
    bool AskPassword(const std::wstring& storedName) override;
    bool DiskFull() override;

private:
    TZipBaseArchiver& owner_;
    bool progressEnabled_;
    std::int32_t processedFileCount_;
    std::int64_t progressMax_ = 0;
    const TDirItem* currentItem_ = nullptr;
    std::set<std::wstring, std::less<>> madeFolders_;
    std::set<std::wstring, std::less<>> newFolders_; // made empty by this run
    std::set<std::wstring> written_; // names this run made, folded as Windows folds names
    std::map<std::wstring, bool, std::less<>> removableFolders_;
    std::map<std::wstring, bool> removableVolumes_;
    DecodeBuffers buffers_;
    fs::RecentFolder folder_;
};

} // namespace ludrin::zip
