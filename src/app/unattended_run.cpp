#include "app/unattended_run.hpp"

#include "app/operation_messages.hpp"

#include <array>
#include <string>

namespace ludrin::app {
namespace {

struct MessageExit {
    const OperationMessage& message;
    int exitCode;
};

const std::array<MessageExit, 11> kMessageExits{{
    {kBaseDone, kExitSuccess},
    {kAdvancedDone, kExitSuccess},
    {kUninstallDone, kExitSuccess},
    {kBaseFailed, kExitFailed},
    {kAdvancedFailed, kExitFailed},
    {kAdvancedNotInstalled, kExitFailed},
    {kActionFailed, kExitFailed},
    {kAdvancedPlayerRunning, kExitPlayerRunning},
    {kUninstallPlayerRunning, kExitPlayerRunning},
    {kUninstallNotInstalled, kExitNothingToUninstall},
    {kUninstallIncomplete, kExitFilesLeft},
}};

const wchar_t* ActionName(zip::TZipAction action) {
    switch (action) {
    case zip::TZipAction::fxaRetry:
        return L"Retry";
    case zip::TZipAction::fxaIgnore:
        return L"Ignore";
    case zip::TZipAction::fxaAbort:
        break;
    }
    return L"Abort";
}

const wchar_t* OperationName(FormButton button) {
    switch (button) {
    case FormButton::InstallBase:
        return L"/base";
    case FormButton::InstallComplete:
        return L"/advanced";
    case FormButton::Uninstall:
        return L"/uninstall";
    case FormButton::Close:
    case FormButton::HelpBase:
    case FormButton::HelpComplete:
        break;
    }
    return L"?";
}

} // namespace

std::optional<int> ExitCodeOfMessage(std::wstring_view text) {
    for (const auto& entry : kMessageExits) {
        if (text == entry.message.text) {
            return entry.exitCode;
        }
    }
    return std::nullopt;
}

int UnattendedRun::QuietAnswer(std::wstring_view text, unsigned flags) const {
    if (text == kUninstallConfirm.text) {
        return kIdYes;
    }
    return (flags & kMbYesNo) == kMbYesNo ? kIdNo : kIdOk;
}

void UnattendedRun::Shown(std::wstring_view text, int answer) {
    log_.Line(L"message: " + std::wstring(text) + L" [answer " + std::to_wstring(answer) + L"]");
    if (const auto code = ExitCodeOfMessage(text)) {
        outcome_ = *code;
    }
}

void UnattendedRun::Watch(zip::TZipBaseArchiver& archiver) {
    archiver.OnConfirmProcessFile = [this](zip::TZipBaseArchiver&, const std::wstring& fileName,
                                           zip::TZipProcessOperation, bool&) {
        log_.Line(L"entry " + fileName);
    };
    archiver.OnExtractFile = [this](zip::TZipBaseArchiver&, std::wstring& fileName, std::uint32_t&,
                                    const std::string&) {
        log_.Line(L"extracted " + fileName);
    };
    archiver.OnProcessFileFailure =
        [this](zip::TZipBaseArchiver& sender, const std::wstring& fileName,
               zip::TZipProcessOperation, std::int32_t nativeError, std::int32_t,
               const std::wstring& errorMessage, zip::TZipAction& action) {
            log_.Line(L"error " + fileName + L": " + errorMessage);
            action = quiet_ ? zip::TZipAction::fxaAbort
                            : sender.DefaultFailureAnswer(nativeError, errorMessage);
            log_.Line(L"answer " + std::wstring(ActionName(action)));
        };
    if (quiet_) {
        archiver.OnConfirmOverwrite = [](zip::TZipBaseArchiver&, const std::wstring&, std::wstring&,
                                         bool& confirm) {
            confirm = false;
        };
        archiver.OnPassword = [](zip::TZipBaseArchiver&, const std::wstring&, std::string&,
                                 bool& skipFile) {
            skipFile = true;
        };
    }
}

int UnattendedRun::Run(TFormMain& form, std::span<const FormButton> operations) {
    Watch(form.Archiver);
    int code = kExitSuccess;
    for (const FormButton operation : operations) {
        log_.Line(L"operation " + std::wstring(OperationName(operation)));
        outcome_ = kExitFailed;
        form.ButtonClick(operation);
        code = outcome_;
        if (operation == FormButton::InstallBase) {
            const auto& batch = form.Archiver.LastBatch();
            log_.Line(L"archive: " + std::to_wstring(batch.extracted) + L" of " +
                      std::to_wstring(batch.tagged) + L" entries extracted, " +
                      std::to_wstring(batch.skipped) + L" skipped, " +
                      std::to_wstring(batch.failed) + L" failures" +
                      (batch.aborted ? L", aborted" : L""));
        }
        if (code != kExitSuccess) {
            break;
        }
    }
    log_.Line(L"exit code " + std::to_wstring(code));
    return code;
}

} // namespace ludrin::app
