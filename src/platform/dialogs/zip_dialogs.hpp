#pragma once
// The archive reader's default questions: asked with modal dialogs on Windows, answered
// without asking where there is no user interface (Abort, No, Cancel).

#include <optional>
#include <string>

namespace ludrin::dialogs {

enum class FailureAnswer { Abort, Retry, Ignore };
enum class OverwriteAnswer { Yes, No, NoToAll, YesToAll };

// "<message>. File processing error, possibly disk is full" with Abort, Retry and Ignore.
FailureAnswer AskProcessingFailure(void* owner, const std::wstring& errorMessage);

// The message itself with Abort and Ignore (a file name that is too long).
FailureAnswer AskAbortOrIgnore(void* owner, const std::wstring& errorMessage);

// "Overwrite file "<dest>" with "<source>"" with Yes, No, No to All and Yes to All;
// closing the dialog otherwise answers No.
OverwriteAnswer AskOverwrite(void* owner, const std::wstring& destFileName,
                             const std::wstring& sourceFileName);

// The password for an entry, typed masked (at most 255 characters); nothing on Cancel.
std::optional<std::wstring> AskPassword(void* owner, const std::wstring& entryName);

// The texts the dialogs show.
std::wstring ProcessingFailureText(const std::wstring& errorMessage);
std::wstring OverwriteText(const std::wstring& destFileName, const std::wstring& sourceFileName);
std::wstring PasswordCaption(const std::wstring& entryName);
inline constexpr const wchar_t* kPasswordLabel = L"Enter password: ";
inline constexpr std::size_t kPasswordMaxLength = 255;

} // namespace ludrin::dialogs
