#pragma once
// The archive component: opens an archive file, holds its loaded directory, and decodes
// entries with progress, password and disk-full events. Extraction below a base folder
// builds on this class.
//
// Where each part lives:
//   zip_reader.cpp          opening, closing, single decodes, the decoder's events
//   zip_run.hpp/.cpp        ZipRun: the state of one batch or one decode
//   zip_extract.cpp         ExtractFiles: selection, the batch loop, writing one entry
//   zip_find.cpp            FindFirst / FindNext and the selection rules
//   zip_event_dispatch.cpp  the extraction events and their default answers
// The component itself keeps only its settings, the loaded directory and its events.

#include "zip/zip_decoder.hpp"
#include "zip/zip_dir_manager.hpp"
#include "zip/zip_events.hpp"
#include "zip/zip_options.hpp"
#include "zip/zip_search.hpp"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ludrin::zip {

class ZipStream;

// The installer opens with read access, others may read but not write.
inline constexpr std::uint16_t kOpenModeReadDenyWrite = 0x0020;
inline constexpr std::uint16_t kOpenModeCreate = 0xFF00;

class TZipBaseArchiver {
public:
    TZipBaseArchiver();
    virtual ~TZipBaseArchiver();
    TZipBaseArchiver(const TZipBaseArchiver&) = delete;
    TZipBaseArchiver& operator=(const TZipBaseArchiver&) = delete;

    // The component's name: error messages of named raising sites start with it.
    std::string Name;

    std::wstring FileName;
    std::wstring BaseDir;
    bool InMemory = false;
    bool OpenCorruptedArchives = true;
    bool ExtractCorruptedFiles = false;
    TZipSpanningMode SpanningMode = TZipSpanningMode::smNone;
    TZipOptions Options;

    // The masks of the property forms of ExtractFiles and FindFirst.
    std::vector<std::wstring> FileMasks;
    std::vector<std::wstring> ExclusionMasks;
    // The platform window that owns the default dialogs (Win32: an HWND); null for none.
    void* DialogOwner = nullptr;

    TNotifyEvent AfterOpen;
    TZipFileProgressEvent OnFileProgress;
    TZipProgressEvent OnOverallProgress;
    TZipConfirmOverwriteEvent OnConfirmOverwrite;
    TZipConfirmProcessFileEvent OnConfirmProcessFile;
    TZipOnPasswordEvent OnPassword;
    TZipProcessFileFailureEvent OnProcessFileFailure;
    TZipOnDiskFullEvent OnDiskFull;
    TZipOnExtractFileEvent OnExtractFile;

    const std::string& GetPassword() const { return FPassword; }
    // The answer to a failure when no handler is assigned: Abort for native 45, else the
    // Abort/(Retry/)Ignore dialog owned by DialogOwner.
    TZipAction DefaultFailureAnswer(std::int32_t nativeError,
                                    const std::wstring& errorMessage) const;
    virtual void SetPassword(const std::string& password) { FPassword = password; }

    // Opens FileName with the open mode and loads its directory.
    void OpenArchive(std::uint16_t mode);
    // Chooses the mode: read-write deny-write when the file allows it, else read deny-none.
    void OpenArchive();
    void CloseArchive();
    bool Active() const { return FActive; }
    std::uint16_t FileOpenMode() const { return FFileOpenMode; }

    // The loaded directory; null while no archive is open.
    TZipDirManager* DMHandle() const { return FActive ? FDMHandle.get() : nullptr; }
    std::size_t Count() const { return FActive ? FDMHandle->CDir.Count() : 0; }

    // Decodes entry `index` into `out` and answers the outcome (no archive error for a
    // failed check; Deflate64 raises native 55).
    ZipDecodeResult DecodeItem(std::size_t index, ZipOutput& out);

    // Decodes entry `index` as extraction does: native 16 for an index outside the
    // directory, native 8 when decoding fails and neither a cancel, a skipped entry nor
    // ExtractCorruptedFiles excuses it. Answers whether the entry was decoded and verified.
    bool ExtractItem(std::size_t index, ZipOutput& out);

    // Extracts the entries that the mask, the attribute set and the exclusion mask select
    // below BaseDir (the working folder captured at the first extraction when empty).
    // Per-entry failures go to OnProcessFileFailure; cancellation and Abort return
    // normally, LastBatch() tells how the batch ended.
    void ExtractFiles(const std::wstring& fileMask, std::uint32_t searchAttr = 0x28BF,
                      const std::wstring& exclusionMask = {});
    // Selects by FileMasks, ExclusionMasks and Options.SearchAttr.
    void ExtractFiles();
    const ZipBatchResult& LastBatch() const { return FLastBatch; }

    // The first entry matching the mask; fills `item` and answers whether one was found.
    bool FindFirst(const std::wstring& fileMask, TZipArchiveItem& item,
                   const std::wstring& exclusionMask = {}, std::int32_t searchAttr = 0x28BF);
    // The property form: FileMasks, ExclusionMasks and Options.SearchAttr.
    bool FindFirst(TZipArchiveItem& item);
    // The next match after item.Handle.ItemNo.
    bool FindNext(TZipArchiveItem& item);

protected:
    // Dispatch of the events; a derived component may change a default.
    virtual void DoOnOverallProgress(double progress, TZipProcessOperation operation,
                                     TZipProgressPhase phase, bool& cancel);
    virtual void DoOnFileProgress(const std::wstring& fileName, double progress,
                                  TZipProcessOperation operation, TZipProgressPhase phase,
                                  bool& cancel);
    // Without a handler: the password dialog; Cancel skips the entry.
    virtual void DoOnPassword(const std::wstring& fileName, std::string& newPassword,
                              bool& skipFile);
    virtual void DoOnDiskFull(std::int32_t volumeNumber, const std::wstring& volumeFileName,
                              bool& cancel);
    // Without a handler: the overwrite dialog (No to All and Yes to All change OverwriteMode).
    virtual void DoOnConfirmOverwrite(const std::wstring& sourceFileName,
                                      std::wstring& destFileName, bool& confirm);
    virtual void DoOnConfirmProcessFile(const std::wstring& fileName,
                                        TZipProcessOperation operation, bool& confirm);
    // Without a handler: DefaultFailureAnswer.
    virtual void DoOnProcessFileFailure(const std::wstring& fileName,
                                        TZipProcessOperation operation, std::int32_t nativeError,
                                        std::int32_t errorCode, const std::wstring& errorMessage,
                                        TZipAction& action);
    virtual void DoOnExtractFile(std::wstring& fileName, std::uint32_t& fileAttr,
                                 const std::string& comment);

    // One batch or one decode (zip_run.hpp).
    class ZipRun;
    // What the last decode or batch ended with, for inspection: no later run reads it.
    bool FLastSkipped = false;
    bool FLastCancelled = false;

    bool isZIPFormat = false;
    bool IsCustomStream = false;
    bool FUpdated = false;
    std::int32_t FUpdateCount = 0;
    std::string FPassword;
    bool FSuppressPasswordEvent = false;

private:
    void InternalOpenArchive();
    bool InternalFind(TZipArchiveItem& item);
    bool IsItemMatches(std::size_t index, const TInternalSearchRec& search) const;
    void FillSearchItem(std::size_t index, TZipArchiveItem& item) const;
    void TagMatches(const std::wstring& fileMask, std::uint32_t searchAttr,
                    const std::wstring& exclusionMask, bool useProperties);
    void ProcessTaggedFiles(bool batch, std::size_t singleIndex);
    // One entry of a batch with its failure handler: false when the batch must stop.
    bool ProcessEntry(ZipRun& run, std::size_t index);
    enum class EntryOutcome { written, skipped, keptCorrupt };
    EntryOutcome ExtractTaggedFile(ZipRun& run, std::size_t index, std::wstring name,
                                   const std::wstring& destDir);
    // Whether the entry may take `target` (the overwrite rules; the prompt may rename it):
    // nothing to skip it, else whether a file is there to replace. A folder in the way,
    // or a file its program holds, raises native 19 before anything is decoded.
    std::optional<bool> ClaimTarget(ZipRun& run, const TDirItem& entry, std::wstring& target);
    EntryOutcome WriteEntryFile(ZipRun& run, std::size_t index, const std::wstring& target,
                                std::uint32_t attributes, bool replacing);
    // The overwrite rule for an existing target; the prompt may change the target.
    bool OverwriteConfirmed(const TDirItem& entry, std::wstring& target);
    // Where entries land: BaseDir, or the working folder captured at the first extraction.
    std::wstring DestinationFolder();

    std::wstring FCurrentDir;
    ZipBatchResult FLastBatch;

    bool FActive = false;
    std::uint16_t FFileOpenMode = 0;
    std::unique_ptr<ZipStream> FCompressedStream;
    std::unique_ptr<TZipDirManager> FDMHandle;
};

class TZipReader : public TZipBaseArchiver {
public:
    TZipReader() { isZIPFormat = true; }
};

} // namespace ludrin::zip
