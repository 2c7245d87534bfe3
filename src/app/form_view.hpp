#pragma once
// What the installer's logic asks of its window. The Win32 window implements it; the
// native tests record what they are told.

#include <string>

namespace ludrin::app {

enum class FormLabel { LabelTitle, LabelVersion, LabelPanelCopyright };

class FormView {
public:
    virtual ~FormView() = default;
    virtual void SetLabelText(FormLabel label, const std::wstring& text) = 0;
    // Closes the main window, which ends the message loop and the process.
    virtual void CloseForm() = 0;
};

} // namespace ludrin::app
