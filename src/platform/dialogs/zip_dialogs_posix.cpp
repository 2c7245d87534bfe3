// No user interface here: every question gets the answer that writes nothing.

#include "platform/dialogs/zip_dialogs.hpp"

namespace ludrin::dialogs {

FailureAnswer AskProcessingFailure(void*, const std::wstring&) {
    return FailureAnswer::Abort;
}

FailureAnswer AskAbortOrIgnore(void*, const std::wstring&) {
    return FailureAnswer::Abort;
}

OverwriteAnswer AskOverwrite(void*, const std::wstring&, const std::wstring&) {
    return OverwriteAnswer::No;
}

std::optional<std::wstring> AskPassword(void*, const std::wstring&) {
    return std::nullopt;
}

} // namespace ludrin::dialogs
