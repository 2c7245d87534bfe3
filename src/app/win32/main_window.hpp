#pragma once
// The installer's one window: builds its controls from the layout table, scales them to
// the monitor's DPI and hands every button click to TFormMain.

#include "app/form_main.hpp"
#include "app/main_window_layout.hpp"
#include "ui/controls/win32/base_window.hpp"
#include "ui/controls/win32/button_tool_tips_win32.hpp"
#include "ui/controls/win32/panel_window.hpp"
#include "ui/hints/win32/balloon_host_win32.hpp"
#include "ui/hints/win32/window_hint_control_win32.hpp"

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace ludrin::win32 {

class MainWindow : public ui::win32::BaseWindow<MainWindow>, public app::FormView {
public:
    static constexpr const wchar_t* kClassName = L"TFormMain";

    // The form resource holds the payload; TFormMain raises when it is damaged.
    explicit MainWindow(std::span<const std::uint8_t> formResource);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Creates the window and its controls, runs FormCreate, then shows it centred.
    bool Create(int showCommand);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    const app::TFormMain& Form() const { return form_; }
    app::TFormMain& Form() { return form_; }

    // Told of every message box once it is answered: an unattended run takes its exit
    // code from them.
    std::function<void(const std::wstring& text, int answer)> OnMessageShown;

    // app::FormView
    void SetLabelText(app::FormLabel label, const std::wstring& text) override;
    void SetProgress(int position) override;
    int ShowMessage(const std::wstring& text, const std::wstring& caption, unsigned flags) override;
    void CloseForm() override;
    void* NativeWindow() const override { return hwnd_; }
    ui::hints::BalloonHost& Balloons() override { return balloons_; }
    const ui::hints::HintControl* HintControlOf(app::ControlId id) const override;

private:
    // By app::ControlFont.
    using Fonts = std::array<HFONT, app::kControlFontCount>;

    void CreateControls();
    HWND CreateControl(const app::ControlDef& spec, HWND parent);
    // The introduction's rich text box, made in its stand-in's place once the window shows.
    void CreateIntroduction();
    void CreateToolTips();
    void ApplyDpi(UINT dpi);
    // The system colours or the high-contrast setting changed.
    void ApplyColourScheme();
    static Fonts CreateFonts(UINT dpi);
    static void DestroyFonts(Fonts& fonts);
    // Tab and Shift+Tab: the form's own tab order (z-order must serve the painting).
    void MoveFocus(bool backwards);
    void FocusFirst();
    void OnCommand(WORD id, WORD code);
    HWND Control(app::ControlId id) const;

    // Before the form: its balloon component opens windows here, and its help items point
    // at these controls, until it goes.
    ui::hints::win32::BalloonHostWin32 balloons_;
    std::map<app::ControlId, ui::hints::win32::WindowHintControl> hintControls_;
    app::TFormMain form_;
    std::map<app::ControlId, HWND> controls_;
    std::vector<std::unique_ptr<ui::win32::PanelWindow>> panels_;
    ui::win32::ButtonToolTips toolTips_;
    Fonts fonts_{};
    UINT dpi_ = app::kDesignDpi;
    HWND lastFocus_ = nullptr;
    int progress_ = -1;               // the bar's position as last set
    ULONGLONG progressPaintedAt_ = 0; // tick of the bar's last forced paint
};

} // namespace ludrin::win32
