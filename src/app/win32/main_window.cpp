#include "app/win32/main_window.hpp"

#include "ui/controls/win32/glow_button_win32.hpp"
#include "ui/controls/win32/label_3d_win32.hpp"
#include "ui/controls/win32/owner_draw.hpp"
#include "ui/controls/win32/picture_win32.hpp"

#include <commctrl.h>
#include <richedit.h>

namespace ludrin::win32 {
namespace {

using app::ControlId;
using app::ControlKind;
using ui::Artwork;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kMaroon = RGB(128, 0, 0);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kSilver = RGB(0xC0, 0xC0, 0xC0);

int Scale(int length, UINT dpi) {
    return app::ScaleToDpi(length, static_cast<int>(dpi));
}

HFONT MakeFont(const wchar_t* face, int points, UINT dpi, bool bold, bool italic,
               BYTE charset = DEFAULT_CHARSET) {
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(points, static_cast<int>(dpi), 72);
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = italic ? TRUE : FALSE;
    lf.lfCharSet = charset;
    lf.lfQuality = CLEARTYPE_QUALITY;
    wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return CreateFontIndirectW(&lf);
}

const wchar_t* RichEditClass() {
    // Loaded from the system folder only, never from beside the installer.
    static const bool loaded =
        LoadLibraryExW(L"msftedit.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32) != nullptr;
    return loaded ? MSFTEDIT_CLASS : L"STATIC";
}

// Each glow button's picture, image-to-caption spacing and look.
ui::win32::GlowButtonStyle GlowStyleFor(ControlId id) {
    ui::win32::GlowButtonStyle style;
    switch (id) {
    case ControlId::btnDisinstalla:
        style.image = Artwork::Uninstall;
        style.spacing = 1;
        break;
    case ControlId::btnClose:
        style.image = Artwork::Exit;
        style.spacing = 8;
        break;
    case ControlId::btnInstallaBase:
        style.image = Artwork::InstallBase;
        style.spacing = 5;
        style.textColour = kMaroon;
        break;
    case ControlId::btnInstallaComplete:
        style.image = Artwork::InstallAdvanced;
        style.spacing = 5;
        style.textColour = kMaroon;
        break;
    default: // the two help buttons: image only, transparent
        style.image = Artwork::Help;
        style.spacing = 10;
        style.transparent = true;
        break;
    }
    return style;
}

ui::win32::Label3DStyle LabelStyleFor(ControlId id) {
    ui::win32::Label3DStyle style;
    switch (id) {
    case ControlId::LabelTitle:
        style.colour = kRed;
        break;
    case ControlId::LabelVersion:
        // The design width (63) cannot hold "Versione: 1.0  Build: 1.0.0.0": the label
        // grows to the right to fit its text, as an auto-sized label does.
        style.colour = kMaroon;
        style.centred = false;
        style.autoSize = true;
        break;
    default:
        style.colour = kBlack;
        break;
    }
    return style;
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

MainWindow::MainWindow(std::span<const std::uint8_t> formResource) : form_(*this, formResource) {}

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
    return true;
}

void MainWindow::CreateControls() {
    for (const auto& spec : app::MainWindowControls()) {
        const HWND parent = spec.parent == ControlId::Form ? hwnd_ : Control(spec.parent);
        controls_[spec.id] = CreateControl(spec, parent);
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

HWND MainWindow::CreateControl(const app::ControlSpec& spec, HWND parent) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const auto menu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id));
    const std::wstring text(spec.text);
    const DWORD child = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    switch (spec.kind) {
    case ControlKind::Panel: {
        const auto bevel =
            spec.id == ControlId::Panel1 ? PanelBevel::RaisedWithLoweredInner : PanelBevel::Raised;
        const COLORREF background =
            spec.id == ControlId::Panel2 ? kSilver : GetSysColor(COLOR_BTNFACE);
        auto panel = std::make_unique<PanelWindow>(bevel, background);
        panel->Create(parent, static_cast<int>(spec.id));
        const HWND handle = panel->Handle();
        panels_.push_back(std::move(panel));
        return handle;
    }
    case ControlKind::Label3D:
        return ui::win32::Label3D::Create(parent, static_cast<int>(spec.id), text,
                                          LabelStyleFor(spec.id));
    case ControlKind::GlowButton:
        return ui::win32::GlowButton::Create(parent, static_cast<int>(spec.id), text,
                                             GlowStyleFor(spec.id));
    case ControlKind::RichText: {
        const HWND edit = CreateWindowExW(
            0, RichEditClass(), L"", child | WS_DISABLED | ES_MULTILINE | ES_READONLY | ES_CENTER,
            0, 0, 0, 0, parent, menu, instance, nullptr);
        SetWindowTextW(edit, std::wstring(app::IntroductionText()).c_str());
        SendMessageW(edit, EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(GetSysColor(COLOR_BTNFACE)));
        SendMessageW(edit, EM_SETZOOM, 0, 0); // 100 %
        CentreLines(edit);
        return edit;
    }
    case ControlKind::ProgressBar: {
        const HWND bar = CreateWindowExW(0, PROGRESS_CLASSW, L"", child, 0, 0, 0, 0, parent, menu,
                                         instance, nullptr);
        SendMessageW(bar, PBM_SETRANGE32, 0, 100);
        SendMessageW(bar, PBM_SETPOS, 0, 0);
        return bar;
    }
    case ControlKind::Reflection:
        return ui::win32::Picture::Create(
            parent, static_cast<int>(spec.id),
            {.artwork = Artwork::Emblem, .size = 128, .reflection = true, .reflectionStart = 1.0});
    case ControlKind::Picture:
        return ui::win32::Picture::Create(
            parent, static_cast<int>(spec.id),
            {.artwork = Artwork::Emblem, .size = 32, .background = kSilver});
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
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(spec.id)), TRUE);
    }
    if (const HWND edit = Control(ControlId::reMsg)) {
        CentreLines(edit);
    }
    toolTips_.ApplyDpi(dpi);
    DestroyFonts(old);
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

MainWindow::Fonts MainWindow::CreateFonts(UINT dpi) {
    Fonts fonts;
    fonts.normal = MakeFont(L"Tahoma", 8, dpi, false, false);
    fonts.title = MakeFont(L"Tahoma", 12, dpi, true, false);
    fonts.italic = MakeFont(L"Tahoma", 8, dpi, false, true);
    fonts.bold = MakeFont(L"Tahoma", 8, dpi, true, false);
    fonts.richText = MakeFont(L"MS Sans Serif", 8, dpi, true, false, ANSI_CHARSET);
    return fonts;
}

void MainWindow::DestroyFonts(Fonts& fonts) {
    for (HFONT* font : {&fonts.normal, &fonts.title, &fonts.italic, &fonts.bold, &fonts.richText}) {
        if (*font != nullptr) {
            DeleteObject(*font);
            *font = nullptr;
        }
    }
}

HFONT MainWindow::FontFor(ControlId id) const {
    switch (id) {
    case ControlId::LabelTitle:
        return fonts_.title;
    case ControlId::LabelVersion:
    case ControlId::LabelPanelCopyright:
        return fonts_.italic;
    case ControlId::btnInstallaBase:
    case ControlId::btnInstallaComplete:
        return fonts_.bold;
    case ControlId::reMsg:
        return fonts_.richText;
    default:
        return fonts_.normal;
    }
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

void MainWindow::SetLabelText(app::FormLabel label, const std::wstring& text) {
    const ControlId id = label == app::FormLabel::LabelTitle     ? ControlId::LabelTitle
                         : label == app::FormLabel::LabelVersion ? ControlId::LabelVersion
                                                                 : ControlId::LabelPanelCopyright;
    SetWindowTextW(Control(id), text.c_str());
}

void MainWindow::SetProgress(int position) {
    const HWND bar = Control(ControlId::ProgressBar1);
    SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
    // The handlers run on this thread: paint now, not when they are done.
    UpdateWindow(bar);
}

int MainWindow::ShowMessage(const std::wstring& text, const std::wstring& caption, unsigned flags) {
    return MessageBoxW(hwnd_, text.c_str(), caption.c_str(), flags);
}

void MainWindow::CloseForm() {
    DestroyWindow(hwnd_);
}

void MainWindow::OnCommand(WORD id, WORD code) {
    if (code != BN_CLICKED) {
        return;
    }
    switch (static_cast<ControlId>(id)) {
    case ControlId::btnClose:
        form_.btnCloseClick();
        break;
    case ControlId::btnInstallaBase:
        form_.btnInstallaBaseClick();
        break;
    case ControlId::btnInstallaComplete:
        form_.btnInstallaCompleteClick();
        break;
    case ControlId::btnDisinstalla:
        form_.btnDisinstallaClick();
        break;
    case ControlId::btnHelpBase:
        form_.btnHelpBaseClick();
        break;
    case ControlId::btnHelpComplete:
        form_.btnHelpCompleteClick();
        break;
    default:
        break;
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
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return Default(message, wParam, lParam);
    }
}

} // namespace ludrin::win32
