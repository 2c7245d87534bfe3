// The default questions as modal dialogs of the calling thread: the standard message box
// where its button set fits, a small in-memory dialog template where it does not.

#include "platform/dialogs/zip_dialogs.hpp"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace ludrin::dialogs {
namespace {

constexpr const wchar_t* kCaption = L"Confirm";
constexpr WORD kTextId = 0xFFFF; // the message text, as message boxes number it
constexpr WORD kPasswordId = 100;
constexpr int kNoToAll = 101;
constexpr int kYesToAll = 102;

struct Button {
    int id;
    const wchar_t* caption;
};

// A DLGTEMPLATE with its items, built word by word; every item starts on a DWORD boundary.
class DialogTemplate {
public:
    DialogTemplate(const std::wstring& caption, DWORD style, short width, short height,
                   WORD itemCount) {
        Align();
        const DLGTEMPLATE head{style, 0, itemCount, 0, 0, width, height};
        Append(&head, sizeof head);
        Word(0); // no menu
        Word(0); // the standard dialog class
        Text(caption);
        Word(8);
        Text(L"MS Shell Dlg");
    }

    void Item(WORD id, WORD classAtom, const std::wstring& text, DWORD style, short x, short y,
              short width, short height) {
        Align();
        const DLGITEMTEMPLATE item{style | WS_CHILD | WS_VISIBLE, 0, x, y, width, height, id};
        Append(&item, sizeof item);
        Word(0xFFFF);
        Word(classAtom);
        Text(text);
        Word(0); // no creation data
    }

    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    void Align() {
        if (words_.size() % 2 != 0) {
            words_.push_back(0);
        }
    }
    void Word(WORD value) { words_.push_back(value); }
    void Text(const std::wstring& text) {
        words_.insert(words_.end(), text.begin(), text.end());
        words_.push_back(0);
    }
    void Append(const void* data, std::size_t size) {
        const auto* begin = static_cast<const WORD*>(data);
        words_.insert(words_.end(), begin, begin + size / sizeof(WORD));
    }

    std::vector<WORD> words_;
};

constexpr WORD kButtonClass = 0x0080;
constexpr WORD kEditClass = 0x0081;
constexpr WORD kStaticClass = 0x0082;

struct DialogState {
    bool hasPassword = false;
    std::wstring password;
};

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        const auto* state = reinterpret_cast<DialogState*>(lParam);
        if (state->hasPassword) {
            const HWND edit = GetDlgItem(dialog, kPasswordId);
            SendMessageW(edit, EM_LIMITTEXT, kPasswordMaxLength, 0);
            // A star for each typed character, as the reader's dialog has always shown,
            // not the theme's bullet.
            SendMessageW(edit, EM_SETPASSWORDCHAR, L'*', 0);
            SetFocus(edit);
            return FALSE;
        }
        return TRUE;
    }
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED) {
            auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
            if (state != nullptr && state->hasPassword && LOWORD(wParam) == IDOK) {
                const HWND edit = GetDlgItem(dialog, kPasswordId);
                std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
                text.resize(static_cast<std::size_t>(
                    GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
                state->password = text;
            }
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        break;
    case WM_CLOSE:
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    default:
        break;
    }
    return FALSE;
}

// A question with its own buttons in one row under the text; answers the pressed button's
// id, IDCANCEL when the dialog was closed otherwise.
int AskWithButtons(void* owner, const std::wstring& caption, const std::wstring& text,
                   std::initializer_list<Button> buttons, DialogState* state) {
    constexpr short kButtonWidth = 56;
    constexpr short kGap = 6;
    const short count = static_cast<short>(buttons.size());
    const short rowWidth = static_cast<short>(count * kButtonWidth + (count - 1) * kGap);
    const short width = static_cast<short>(std::max<short>(rowWidth + 2 * kGap, 240));
    const bool password = state->hasPassword;
    const short height = password ? 74 : 64;
    DialogTemplate dialog(
        caption, DS_MODALFRAME | DS_CENTER | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU, width,
        height, static_cast<WORD>(buttons.size() + 1 + (password ? 1 : 0)));
    dialog.Item(kTextId, kStaticClass, text, SS_LEFT, kGap, kGap,
                static_cast<short>(width - 2 * kGap), password ? 10 : 30);
    if (password) {
        dialog.Item(kPasswordId, kEditClass, L"",
                    ES_PASSWORD | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, kGap, 20,
                    static_cast<short>(width - 2 * kGap), 14);
    }
    short x = static_cast<short>((width - rowWidth) / 2);
    bool first = true;
    for (const Button& button : buttons) {
        dialog.Item(static_cast<WORD>(button.id), kButtonClass, button.caption,
                    (first ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP, x,
                    static_cast<short>(height - 20), kButtonWidth, 14);
        x = static_cast<short>(x + kButtonWidth + kGap);
        first = false;
    }
    const INT_PTR answer =
        DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog.Get(), static_cast<HWND>(owner),
                                DialogProc, reinterpret_cast<LPARAM>(state));
    return answer <= 0 ? IDCANCEL : static_cast<int>(answer);
}

} // namespace

FailureAnswer AskProcessingFailure(void* owner, const std::wstring& errorMessage) {
    switch (MessageBoxW(static_cast<HWND>(owner), ProcessingFailureText(errorMessage).c_str(),
                        kCaption, MB_ABORTRETRYIGNORE | MB_ICONWARNING)) {
    case IDRETRY:
        return FailureAnswer::Retry;
    case IDIGNORE:
        return FailureAnswer::Ignore;
    default:
        return FailureAnswer::Abort;
    }
}

FailureAnswer AskAbortOrIgnore(void* owner, const std::wstring& errorMessage) {
    DialogState state;
    const int answer = AskWithButtons(owner, kCaption, errorMessage,
                                      {{IDABORT, L"&Abort"}, {IDIGNORE, L"&Ignore"}}, &state);
    return answer == IDIGNORE ? FailureAnswer::Ignore : FailureAnswer::Abort;
}

OverwriteAnswer AskOverwrite(void* owner, const std::wstring& destFileName,
                             const std::wstring& sourceFileName) {
    DialogState state;
    const int answer = AskWithButtons(
        owner, kCaption, OverwriteText(destFileName, sourceFileName),
        {{IDYES, L"&Yes"}, {IDNO, L"&No"}, {kNoToAll, L"N&o to All"}, {kYesToAll, L"Yes to &All"}},
        &state);
    switch (answer) {
    case IDYES:
        return OverwriteAnswer::Yes;
    case kNoToAll:
        return OverwriteAnswer::NoToAll;
    case kYesToAll:
        return OverwriteAnswer::YesToAll;
    default:
        return OverwriteAnswer::No;
    }
}

std::optional<std::wstring> AskPassword(void* /*owner*/, const std::wstring& entryName) {
    // Centred on the screen, as the question is about the archive, not a window.
    DialogState state;
    state.hasPassword = true;
    const int answer = AskWithButtons(nullptr, PasswordCaption(entryName), kPasswordLabel,
                                      {{IDOK, L"OK"}, {IDCANCEL, L"Cancel"}}, &state);
    if (answer != IDOK) {
        return std::nullopt;
    }
    return state.password;
}

} // namespace ludrin::dialogs
