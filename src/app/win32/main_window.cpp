#include "app/win32/main_window.hpp"

#include "app/win32/resident_pages_win32.hpp"
#include "platform/win32/system_library.hpp"
#include "ui/controls/win32/glow_button_win32.hpp"
#include "ui/controls/win32/label_3d_win32.hpp"
#include "ui/controls/win32/owner_draw.hpp"
#include "ui/controls/win32/paint_buffer.hpp"
#include "ui/controls/win32/picture_win32.hpp"
#include "ui/controls/win32/system_contrast_win32.hpp"

#include <commctrl.h>
#include <richedit.h>

#include <optional>
#include <variant>

namespace ludrin::win32 {
namespace {

using app::ControlFont;
using app::ControlId;
using app::ControlKind;

// About 30 paints a second: smooth to the eye, a small share of an operation's time.
constexpr ULONGLONG kProgressPaintInterval = 33;

int Scale(int length, UINT dpi) {
    return app::ScaleToDpi(length, static_cast<int>(dpi));
}

HFONT MakeFont(const ui::FontLook& look, UINT dpi) {
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(look.points, static_cast<int>(dpi), 72);
    lf.lfWeight = look.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = look.italic ? TRUE : FALSE;
    lf.lfCharSet = look.ansiCharset ? ANSI_CHARSET : DEFAULT_CHARSET;
    lf.lfQuality = CLEARTYPE_QUALITY;
    look.face.copy(lf.lfFaceName, LF_FACESIZE - 1);
    return CreateFontIndirectW(&lf);
}

const wchar_t* RichEditClass() {
    // Loading the library registers its window class.
    static const bool loaded = SystemLibrary(L"msftedit.dll") != nullptr;
    return loaded ? MSFTEDIT_CLASS : L"STATIC";
}

COLORREF FillColour(const std::optional<ui::Rgb>& fill) {
    return fill ? ui::win32::ToColorRef(*fill) : GetSysColor(COLOR_BTNFACE);
}

// A control paints behind itself the colour of the panel it sits on.
COLORREF BackgroundOf(const app::ControlDef& spec) {
    const app::ControlDef* parent = app::FindControl(spec.parent);
    const auto* panel = parent != nullptr ? std::get_if<ui::PanelLook>(&parent->look) : nullptr;
    return FillColour(panel != nullptr ? panel->fill : std::nullopt);
}

// The text box takes its panel's colour, or the theme's window colour under high contrast.
void ColourTextBox(HWND edit, COLORREF panel) {
    const auto flat = ui::win32::HighContrastPanelNow();
    SendMessageW(edit, EM_SETBKGNDCOLOR, 0,
                 static_cast<LPARAM>(flat ? ui::win32::ToColorRef(flat->face) : panel));
}

void CentreLines(HWND edit) {
    PARAFORMAT2 format{};
    format.cbSize = sizeof format;
    format.dwMask = PFM_ALIGNMENT;
    format.wAlignment = PFA_CENTER;
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
    SendMessageW(edit, EM_SETSEL, 0, 0);
}

} // namespace

// The payload is checked and extracted in place, stretch by stretch: pages read come back
// from the file when needed, so the payload never stays resident as a whole.
MainWindow::MainWindow(std::span<const std::uint8_t> formResource)
    : form_(*this, formResource, ReleaseResidentImagePages) {}

MainWindow::~MainWindow() {
    if (hwnd_ != nullptr) {
        DestroyWindow(hwnd_);
    }
    DestroyFonts(fonts_);
}

bool MainWindow::Create(int showCommand) {
    Register(kClassName);
    // A dialog frame without title bar: no caption text, no system menu, no buttons.
    const DWORD style = WS_POPUP | WS_DLGFRAME | WS_CLIPCHILDREN;
    const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;
    if (CreateWindowExW(exStyle, kClassName, L"", style, 0, 0, app::kClientWidth,
                        app::kClientHeight, nullptr, nullptr, GetModuleHandleW(nullptr),
                        this) == nullptr) {
        return false;
    }
    balloons_.SetOwner(hwnd_);
    CreateControls();
    CreateToolTips();
    form_.FormCreate();
    ApplyDpi(GetDpiForWindow(hwnd_));

    // Centred on the desktop when first shown.
    RECT frame;
    GetWindowRect(hwnd_, &frame);
    const HMONITOR monitor = MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(monitor, &info);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int x = info.rcMonitor.left + (info.rcMonitor.right - info.rcMonitor.left - width) / 2;
    const int y = info.rcMonitor.top + (info.rcMonitor.bottom - info.rcMonitor.top - height) / 2;
    SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(hwnd_, showCommand);
    UpdateWindow(hwnd_);
    FocusFirst();
    CreateIntroduction();
    return true;
}

void MainWindow::CreateIntroduction() {
    const HWND standIn = Control(ControlId::reMsg);
    const app::ControlDef* spec = app::FindControl(ControlId::reMsg);
    if (standIn == nullptr || spec == nullptr) {
        return;
    }
    const HWND parent = GetParent(standIn);
    RECT rect{};
    GetWindowRect(standIn, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    const HWND edit = CreateWindowExW(
        0, RichEditClass(), L"",
        WS_CHILD | WS_CLIPSIBLINGS | WS_DISABLED | ES_MULTILINE | ES_READONLY | ES_CENTER,
        rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId::reMsg)), GetModuleHandleW(nullptr),
        nullptr);
    if (edit == nullptr) {
        return;
    }
    // Right under its stand-in: the place among its siblings it would have had from the start.
    SetWindowPos(edit, standIn, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowTextW(edit, std::wstring(app::IntroductionText()).c_str());
    ColourTextBox(edit, BackgroundOf(*spec));
    SendMessageW(edit, EM_SETZOOM, 0, 0); // 100 %
    SendMessageW(edit, WM_SETFONT, SendMessageW(standIn, WM_GETFONT, 0, 0), FALSE);
    CentreLines(edit);
    DestroyWindow(standIn);
    controls_[ControlId::reMsg] = edit;
    hintControls_.erase(ControlId::reMsg);
    hintControls_.try_emplace(ControlId::reMsg, edit, std::wstring(spec->toolTip));
    ShowWindow(edit, SW_SHOWNA);
    UpdateWindow(edit);
}

void MainWindow::CreateControls() {
    for (const auto& spec : app::MainWindowControls()) {
        const HWND parent = spec.parent == ControlId::Form ? hwnd_ : Control(spec.parent);
        const HWND control = CreateControl(spec, parent);
        controls_[spec.id] = control;
        hintControls_.try_emplace(spec.id, control, std::wstring(spec.toolTip));
    }
    // Pictures lie under the windowed controls that overlap them, as painted backgrounds.
    for (const auto id : {ControlId::ReflectionImage, ControlId::Image1}) {
        SetWindowPos(Control(id), HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    // The silver icon panel sits on top of the introduction text, the version over the
    // title that it overlaps.
    for (const auto id : {ControlId::Panel2, ControlId::LabelVersion}) {
        SetWindowPos(Control(id), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void MainWindow::CreateToolTips() {
    if (!toolTips_.Create(hwnd_)) {
        return;
    }
    for (const auto& spec : app::MainWindowControls()) {
        if (!spec.toolTip.empty()) {
            toolTips_.Add(Control(spec.id), std::wstring(spec.toolTip));
        }
    }
}

HWND MainWindow::CreateControl(const app::ControlDef& spec, HWND parent) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const auto menu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id));
    const std::wstring text(spec.text);
    const DWORD child = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    const int id = static_cast<int>(spec.id);
    switch (spec.kind) {
    case ControlKind::Panel: {
        const auto& look = std::get<ui::PanelLook>(spec.look);
        auto panel = std::make_unique<ui::win32::PanelWindow>(look.bevel, FillColour(look.fill));
        panel->Create(parent, id);
        const HWND handle = panel->Handle();
        panels_.push_back(std::move(panel));
        return handle;
    }
    case ControlKind::Label3D: {
        const auto& look = std::get<ui::Label3DLook>(spec.look);
        return ui::win32::Label3D::Create(parent, id, text,
                                          {.colour = ui::win32::ToColorRef(look.colour),
                                           .centred = look.centred,
                                           .autoSize = look.autoSize,
                                           .background = BackgroundOf(spec)});
    }
    case ControlKind::GlowButton: {
        const auto& look = std::get<ui::GlowButtonLook>(spec.look);
        // A button without caption is named by its hint, for screen readers.
        const bool imageOnly = spec.text.empty();
        return ui::win32::GlowButton::Create(parent, id, std::wstring(app::WindowTextOf(spec)),
                                             {.image = look.image,
                                              .spacing = look.spacing,
                                              .transparent = look.transparent,
                                              .imageOnly = imageOnly,
                                              .textColour = ui::win32::ToColorRef(look.textColour),
                                              .background = BackgroundOf(spec)});
    }
    case ControlKind::RichText:
        // An invisible stand-in keeps the text box's place, size and font until the window
        // is on screen (CreateIntroduction): the rich edit library and the four it loads
        // cost the start about a tenth of its time.
        return CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_CLIPSIBLINGS | WS_DISABLED, 0, 0, 0,
                               0, parent, menu, instance, nullptr);
    case ControlKind::ProgressBar: {
        const HWND bar = CreateWindowExW(0, PROGRESS_CLASSW, L"", child, 0, 0, 0, 0, parent, menu,
                                         instance, nullptr);
        SendMessageW(bar, PBM_SETRANGE32, 0, 100);
        SendMessageW(bar, PBM_SETPOS, 0, 0);
        return bar;
    }
    case ControlKind::Reflection:
    case ControlKind::Picture: {
        const auto& look = std::get<ui::PictureLook>(spec.look);
        return ui::win32::Picture::Create(parent, id,
                                          {.artwork = look.artwork,
                                           .size = look.size,
                                           .reflection = spec.kind == ControlKind::Reflection,
                                           .reflectionStart = look.reflectionStart,
                                           .background = BackgroundOf(spec)});
    }
    }
    return nullptr;
}

void MainWindow::ApplyDpi(UINT dpi) {
    dpi_ = dpi;
    // The old fonts stay alive until every control holds its new one.
    Fonts old = fonts_;
    fonts_ = CreateFonts(dpi);
    RECT frame{0, 0, Scale(app::kClientWidth, dpi), Scale(app::kClientHeight, dpi)};
    AdjustWindowRectExForDpi(&frame, static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE)), FALSE,
                             static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE)), dpi);
    SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (const auto& spec : app::MainWindowControls()) {
        const HWND control = Control(spec.id);
        SetWindowPos(control, nullptr, Scale(spec.rect.left, dpi), Scale(spec.rect.top, dpi),
                     Scale(spec.rect.width, dpi), Scale(spec.rect.height, dpi),
                     SWP_NOZORDER | SWP_NOACTIVATE);
        if (spec.font != ControlFont::None) {
            const HFONT font = fonts_[static_cast<std::size_t>(spec.font)];
            SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        }
    }
    if (const HWND edit = Control(ControlId::reMsg)) {
        CentreLines(edit);
    }
    toolTips_.ApplyDpi(dpi);
    balloons_.SetDpi(dpi);
    DestroyFonts(old);
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

MainWindow::Fonts MainWindow::CreateFonts(UINT dpi) {
    Fonts fonts{};
    for (std::size_t i = 0; i < fonts.size(); ++i) {
        const auto font = static_cast<ControlFont>(i);
        if (font != ControlFont::None) {
            fonts[i] = MakeFont(app::FontLookOf(font), dpi);
        }
    }
    return fonts;
}

void MainWindow::DestroyFonts(Fonts& fonts) {
    for (HFONT& font : fonts) {
        if (font != nullptr) {
            DeleteObject(font);
            font = nullptr;
        }
    }
}

void MainWindow::ApplyColourScheme() {
    if (const HWND edit = Control(ControlId::reMsg)) {
        ColourTextBox(edit, BackgroundOf(*app::FindControl(ControlId::reMsg)));
    }
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void MainWindow::FocusFirst() {
    for (const auto id : app::TabSequence()) {
        const HWND control = Control(id);
        if (control != nullptr && IsWindowEnabled(control) && IsWindowVisible(control)) {
            SetFocus(control);
            lastFocus_ = control;
            return;
        }
    }
}

void MainWindow::MoveFocus(bool backwards) {
    const std::vector<ControlId> order = app::TabSequence();
    const int count = static_cast<int>(order.size());
    int current = -1;
    for (int i = 0; i < count; ++i) {
        if (Control(order[static_cast<std::size_t>(i)]) == GetFocus()) {
            current = i;
        }
    }
    if (current < 0) {
        current = backwards ? 0 : count - 1;
    }
    for (int step = 1; step <= count; ++step) {
        const int next = ((current + (backwards ? -step : step)) % count + count) % count;
        const HWND control = Control(order[static_cast<std::size_t>(next)]);
        if (control != nullptr && IsWindowEnabled(control) && IsWindowVisible(control)) {
            SetFocus(control);
            lastFocus_ = control;
            // Keyboard use: from now on the focus cue shows.
            SendMessageW(hwnd_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
            return;
        }
    }
}

HWND MainWindow::Control(ControlId id) const {
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

const ui::hints::HintControl* MainWindow::HintControlOf(app::ControlId id) const {
    const auto it = hintControls_.find(id);
    return it == hintControls_.end() ? nullptr : &it->second;
}

void MainWindow::SetLabelText(app::FormLabel label, const std::wstring& text) {
    const ControlId id = label == app::FormLabel::LabelTitle     ? ControlId::LabelTitle
                         : label == app::FormLabel::LabelVersion ? ControlId::LabelVersion
                                                                 : ControlId::LabelPanelCopyright;
    SetWindowTextW(Control(id), text.c_str());
}

void MainWindow::SetProgress(int position) {
    // An extraction reports many times per percent: only a new position is worth a paint.
    if (position == progress_) {
        return;
    }
    progress_ = position;
    const HWND bar = Control(ControlId::ProgressBar1);
    SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
    // The handlers run on this thread: paint now, not when they are done. But no faster than
    // the eye follows: a paint costs a few milliseconds (under Wine a fifth of a whole base
    // installation went to painting each percent). The ends are always painted; a position
    // left unpainted shows at the next paint, at the latest when the outcome's box appears.
    const ULONGLONG now = GetTickCount64();
    if (position <= 0 || position >= 100 || now - progressPaintedAt_ >= kProgressPaintInterval) {
        progressPaintedAt_ = now;
        UpdateWindow(bar);
    }
}

int MainWindow::ShowMessage(const std::wstring& text, const std::wstring& caption, unsigned flags) {
    const int answer = MessageBoxW(hwnd_, text.c_str(), caption.c_str(), flags);
    if (OnMessageShown) {
        OnMessageShown(text, answer);
    }
    return answer;
}

void MainWindow::CloseForm() {
    DestroyWindow(hwnd_);
}

void MainWindow::OnCommand(WORD id, WORD code) {
    if (code != BN_CLICKED) {
        return;
    }
    if (const auto button = app::FormButtonOf(static_cast<ControlId>(id))) {
        form_.ButtonClick(*button);
    }
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_DRAWITEM:
        return ui::win32::ReflectDrawItem(lParam) ? TRUE : FALSE;
    case WM_NEXTDLGCTL:
        // Sent by the buttons for Tab (wParam: backwards).
        MoveFocus(wParam != 0);
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            const HWND focus = GetFocus();
            if (focus != nullptr && IsChild(hwnd_, focus)) {
                lastFocus_ = focus;
            }
        }
        return Default(message, wParam, lParam);
    case WM_SETFOCUS:
        // The window itself never keeps the focus: back to the last button, or the first.
        if (lastFocus_ != nullptr && IsWindowEnabled(lastFocus_)) {
            SetFocus(lastFocus_);
        } else {
            FocusFirst();
        }
        return 0;
    case WM_DPICHANGED: {
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        ApplyDpi(HIWORD(wParam));
        SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_CLOSE:
        // Alt+F4 does what "Esce" does. While an operation waits with the window disabled,
        // closing would pull the window from under it.
        if (IsWindowEnabled(hwnd_) != FALSE) {
            form_.ButtonClick(app::FormButton::Close);
        }
        return 0;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
    case WM_THEMECHANGED: {
        // A high-contrast theme switched on or off: the controls read it when they paint.
        const LRESULT result = Default(message, wParam, lParam);
        if (message == WM_SYSCOLORCHANGE) {
            for (const auto& [id, control] : controls_) {
                SendMessageW(control, WM_SYSCOLORCHANGE, 0, 0);
            }
        }
        ApplyColourScheme();
        return result;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return Default(message, wParam, lParam);
    }
}

} // namespace ludrin::win32
