#include "app/form_main.hpp"
#include "app/operation_messages.hpp"

namespace ludrin::app {
namespace {

const OperationMessage& FailureOf(FormButton button) {
    switch (button) {
    case FormButton::InstallBase:
        return kBaseFailed;
    case FormButton::InstallComplete:
        return kAdvancedFailed;
    case FormButton::Uninstall:
        // Whatever it had removed by then, something may still be there.
        return kUninstallIncomplete;
    case FormButton::Close:
    case FormButton::HelpBase:
    case FormButton::HelpComplete:
        break;
    }
    return kActionFailed;
}

} // namespace

std::optional<FormButton> FormButtonOf(ControlId control) {
    switch (control) {
    case ControlId::btnClose:
        return FormButton::Close;
    case ControlId::btnInstallaBase:
        return FormButton::InstallBase;
    case ControlId::btnInstallaComplete:
        return FormButton::InstallComplete;
    case ControlId::btnDisinstalla:
        return FormButton::Uninstall;
    case ControlId::btnHelpBase:
        return FormButton::HelpBase;
    case ControlId::btnHelpComplete:
        return FormButton::HelpComplete;
    default:
        return std::nullopt;
    }
}

void TFormMain::ButtonClick(FormButton button) {
    try {
        switch (button) {
        case FormButton::Close:
            btnCloseClick();
            break;
        case FormButton::InstallBase:
            btnInstallaBaseClick();
            break;
        case FormButton::InstallComplete:
            btnInstallaCompleteClick();
            break;
        case FormButton::Uninstall:
            btnDisinstallaClick();
            break;
        case FormButton::HelpBase:
            btnHelpBaseClick();
            break;
        case FormButton::HelpComplete:
            btnHelpCompleteClick();
            break;
        }
    } catch (...) {
        // An exception must not cross the window procedure: that would end the process
        // with the user's files in whatever state the operation left them, and no word.
        try {
            ShowOperationMessage(view_, FailureOf(button));
        } catch (...) {
            // Not even the message box could be shown; the window still stays.
        }
    }
}

} // namespace ludrin::app
