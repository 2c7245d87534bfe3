#include "platform/dialogs/zip_dialogs.hpp"

namespace ludrin::dialogs {

std::wstring ProcessingFailureText(const std::wstring& errorMessage) {
    return errorMessage + L". File processing error, possibly disk is full";
}

std::wstring OverwriteText(const std::wstring& destFileName, const std::wstring& sourceFileName) {
    return L"Overwrite file \"" + destFileName + L"\" with \"" + sourceFileName + L"\"";
}

std::wstring PasswordCaption(const std::wstring& entryName) {
    return L"Password for \"" + entryName + L"\"";
}

} // namespace ludrin::dialogs
