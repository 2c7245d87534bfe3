// The dispatch of the extraction events: the handler when one is assigned, else the
// default answer, which for questions is a dialog of the platform.

#include "platform/dialogs/zip_dialogs.hpp"
#include "zip/zip_reader.hpp"

namespace ludrin::zip {
namespace {

// A cancelled volume request: nothing to ask, the batch ends.
constexpr std::int32_t kVolumeRequestCancelled = 45;
constexpr std::int32_t kFileNameTooLong = 61;

TZipAction ActionOf(dialogs::FailureAnswer answer) {
    switch (answer) {
    case dialogs::FailureAnswer::Retry:
        return TZipAction::fxaRetry;
    case dialogs::FailureAnswer::Ignore:
        return TZipAction::fxaIgnore;
    case dialogs::FailureAnswer::Abort:
        break;
    }
    return TZipAction::fxaAbort;
}

} // namespace

void TZipBaseArchiver::DoOnConfirmOverwrite(const std::wstring& sourceFileName,
                                            std::wstring& destFileName, bool& confirm) {
    if (OnConfirmOverwrite) {
        OnConfirmOverwrite(*this, sourceFileName, destFileName, confirm);
        return;
    }
    switch (dialogs::AskOverwrite(DialogOwner, destFileName, sourceFileName)) {
    case dialogs::OverwriteAnswer::Yes:
        confirm = true;
        break;
    case dialogs::OverwriteAnswer::No:
        confirm = false;
        break;
    case dialogs::OverwriteAnswer::NoToAll:
        confirm = false;
        Options.OverwriteMode = TZipOverwriteMode::omNever;
        break;
    case dialogs::OverwriteAnswer::YesToAll:
        confirm = true;
        Options.OverwriteMode = TZipOverwriteMode::omAlways;
        break;
    }
}

void TZipBaseArchiver::DoOnConfirmProcessFile(const std::wstring& fileName,
                                              TZipProcessOperation operation, bool& confirm) {
    if (OnConfirmProcessFile) {
        OnConfirmProcessFile(*this, fileName, operation, confirm);
    }
}

void TZipBaseArchiver::DoOnProcessFileFailure(const std::wstring& fileName,
                                              TZipProcessOperation operation,
                                              std::int32_t nativeError, std::int32_t errorCode,
                                              const std::wstring& errorMessage,
                                              TZipAction& action) {
    if (OnProcessFileFailure) {
        OnProcessFileFailure(*this, fileName, operation, nativeError, errorCode, errorMessage,
                             action);
        return;
    }
    action = DefaultFailureAnswer(nativeError, errorMessage);
}

TZipAction TZipBaseArchiver::DefaultFailureAnswer(std::int32_t nativeError,
                                                  const std::wstring& errorMessage) const {
    if (nativeError == kVolumeRequestCancelled) {
        return TZipAction::fxaAbort;
    }
    if (nativeError == kFileNameTooLong) {
        return ActionOf(dialogs::AskAbortOrIgnore(DialogOwner, errorMessage));
    }
    return ActionOf(dialogs::AskProcessingFailure(DialogOwner, errorMessage));
}

void TZipBaseArchiver::DoOnExtractFile(std::wstring& fileName, std::uint32_t& fileAttr,
                                       const std::string& comment) {
    if (OnExtractFile) {
        OnExtractFile(*this, fileName, fileAttr, comment);
    }
}

} // namespace ludrin::zip
