#pragma once
// What the installer's logic asks of its window. The Win32 window implements it; the
// native tests record what they are told.

#include "app/main_window_layout.hpp"
#include "ui/hints/balloon_host.hpp"

#include <string>

namespace ludrin::app {

enum class FormLabel { LabelTitle, LabelVersion, LabelPanelCopyright };

class FormView {
public:
    virtual ~FormView() = default;
    virtual void SetLabelText(FormLabel label, const std::wstring& text) = 0;
    // Moves ProgressBar1 (0 to 100) and lets the change show at once.
    virtual void SetProgress(int position) = 0;
    // A modal message box owned by the main window; flags from message_flags.hpp.
    // Answers the button pressed (kIdOk, kIdYes, kIdNo).
    virtual int ShowMessage(const std::wstring& text, const std::wstring& caption,
                            unsigned flags) = 0;
    // Closes the main window, which ends the message loop and the process.
    virtual void CloseForm() = 0;
    // The help balloons' windows, and the controls they point at (null: no such control).
    virtual ui::hints::BalloonHost& Balloons() = 0;
    virtual const ui::hints::HintControl* HintControlOf(ControlId id) const = 0;
    // The platform's handle of the main window (Win32: HWND), for services that need an
    // owner window; null where there is none.
    virtual void* NativeWindow() const { return nullptr; }
};

} // namespace ludrin::app
