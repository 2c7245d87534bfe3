#include "zip/zip_reader.hpp"

#include "platform/dialogs/zip_dialogs.hpp"
#include "platform/fs/archive_file.hpp"
#include "platform/fs/fs.hpp"
#include "platform/text/ascii_case.hpp"
#include "platform/text/code_pages.hpp"
#include "platform/text/utf.hpp"
#include "zip/zip_directory.hpp"
#include "zip/zip_error.hpp"
#include "zip/zip_run.hpp"
#include "zip/zip_stream.hpp"
#include "zip/zip_target_path.hpp"

#include <algorithm>

namespace ludrin::zip {
namespace {

// The text after the last separator or drive colon.
std::wstring FileNamePart(const std::wstring& path) {
    const auto at = path.find_last_of(L"\\/:");
    return at == std::wstring::npos ? path : path.substr(at + 1);
}

std::wstring LowerExtension(const std::wstring& path) {
    const std::wstring name = FileNamePart(path);
    const auto dot = name.rfind(L'.');
    return dot == std::wstring::npos ? std::wstring() : text::AsciiLowered(name.substr(dot));
}

} // namespace

TZipBaseArchiver::TZipBaseArchiver() = default;

TZipBaseArchiver::~TZipBaseArchiver() {
    CloseArchive();
}

void TZipBaseArchiver::OpenArchive(std::uint16_t mode) {
    FUpdated = false;
    if (!InMemory && FileNamePart(FileName).empty()) {
        throw EZipException(native::kBlankFileName, Name);
    }
    if (mode != kOpenModeCreate && !fs::FileExists(FileName)) {
        throw EZipException(native::kFileNotFound, Name, {text::WideToUtf8(FileName)});
    }
    if (mode != kOpenModeCreate && InMemory) {
        throw EZipException(native::kInMemoryCreateOnly, Name);
    }
    CloseArchive();
    IsCustomStream = false;
    FFileOpenMode = mode;
    InternalOpenArchive();
}

void TZipBaseArchiver::OpenArchive() {
    if (!InMemory && FileNamePart(FileName).empty()) {
        throw EZipException(native::kBlankFileNameNoArgs, Name);
    }
    std::uint16_t mode = kOpenModeCreate;
    if (!InMemory && fs::FileExists(FileName)) {
        try {
            fs::ArchiveFile::Open(FileName, fs::kOpenReadWrite | fs::kShareDenyWrite);
            mode = fs::kOpenReadWrite | fs::kShareDenyWrite;
        } catch (const fs::FileOpenError&) {
            mode = fs::kOpenRead | fs::kShareDenyNone;
        }
    }
    OpenArchive(mode);
}

void TZipBaseArchiver::InternalOpenArchive() {
    if (FFileOpenMode == kOpenModeCreate || InMemory) {
        throw EZipUnsupported("Creating archives is not supported: this component only reads");
    }
    SpanningMode = TZipSpanningMode::smNone;
    if (LowerExtension(FileName).find(L".exe") != std::wstring::npos) {
        throw EZipUnsupported("Self-extracting archives (\"" + text::WideToUtf8(FileName) +
                              "\") are not opened by this reader");
    }
    // The file stays open from here on, also when loading fails: the next open or close
    // releases it.
    FCompressedStream =
        std::make_unique<FileZipStream>(fs::ArchiveFile::Open(FileName, FFileOpenMode));
    FDMHandle = std::make_unique<TZipDirManager>(*FCompressedStream);
    const CentralDirEndSearch end = GetCentralDirEnd(*FCompressedStream);
    if (end.found && end.record.diskNumber != 0 && end.record.diskNumber != kZip64Escape16) {
        throw EZipException(native::kCannotOpenArchive); // one volume of a multi-volume set
    }
    if (!end.found && !OpenCorruptedArchives) {
        FDMHandle.reset();
        FCompressedStream.reset();
        throw EZipException(native::kArchiveDamaged, Name);
    }
    LoadDir(*FDMHandle, {Options.OEMFileNames, OpenCorruptedArchives}, &end);
    FActive = true;
    if (AfterOpen) {
        AfterOpen(*this);
    }
}

void TZipBaseArchiver::CloseArchive() {
    // Nothing is ever written: a pure reader has no pending modifications to complete.
    FActive = false;
    FDMHandle.reset();
    FCompressedStream.reset();
}

ZipDecodeResult TZipBaseArchiver::DecodeItem(std::size_t index, ZipOutput& out) {
    ZipRun run(*this, false);
    const ZipDecodeResult result = run.Decode(index, out);
    FLastSkipped = run.skipFile;
    FLastCancelled = run.cancel;
    return result;
}

bool TZipBaseArchiver::ExtractItem(std::size_t index, ZipOutput& out) {
    ZipRun run(*this, false);
    struct Record {
        TZipBaseArchiver& owner;
        const ZipRun& run;
        ~Record() {
            owner.FLastSkipped = run.skipFile;
            owner.FLastCancelled = run.cancel;
        }
    } record{*this, run};
    return run.Extract(index, out);
}

void TZipBaseArchiver::DoOnOverallProgress(double progress, TZipProcessOperation operation,
                                           TZipProgressPhase phase, bool& cancel) {
    if (OnOverallProgress) {
        OnOverallProgress(*this, progress, operation, phase, cancel);
    }
}

void TZipBaseArchiver::DoOnFileProgress(const std::wstring& fileName, double progress,
                                        TZipProcessOperation operation, TZipProgressPhase phase,
                                        bool& cancel) {
    if (OnFileProgress) {
        OnFileProgress(*this, fileName, progress, operation, phase, cancel);
    }
}

void TZipBaseArchiver::DoOnPassword(const std::wstring& fileName, std::string& newPassword,
                                    bool& skipFile) {
    if (OnPassword) {
        OnPassword(*this, fileName, newPassword, skipFile);
        return;
    }
    if (const auto typed = dialogs::AskPassword(DialogOwner, fileName)) {
        newPassword = text::WideToAnsi(*typed);
        skipFile = false;
    } else {
        skipFile = true;
    }
}

void TZipBaseArchiver::DoOnDiskFull(std::int32_t volumeNumber, const std::wstring& volumeFileName,
                                    bool& cancel) {
    if (OnDiskFull) {
        OnDiskFull(*this, volumeNumber, volumeFileName, cancel);
    } else {
        throw EZipException(native::kDiskFull);
    }
}

} // namespace ludrin::zip
