#pragma once
// A plain panel: its fill with a bevel around it. It passes its children's
// notifications up to the main window, where the handlers live.

#include "ui/controls/control_looks.hpp"
#include "ui/controls/high_contrast.hpp"
#include "ui/controls/win32/base_window.hpp"

namespace ludrin::ui::win32 {

class PanelWindow : public BaseWindow<PanelWindow> {
public:
    static constexpr const wchar_t* kClassName = L"TPanel";

    PanelWindow(PanelBevel bevel, COLORREF background) : bevel_(bevel), background_(background) {}
    ~PanelWindow();
    PanelWindow(const PanelWindow&) = delete;
    PanelWindow& operator=(const PanelWindow&) = delete;

    bool Create(HWND parent, int id);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    void Paint();
    // High contrast: the window colours and a plain frame instead of the bevels.
    // `innerFrame`: how far in the child that fills a framed panel is framed.
    void PaintFlat(HDC dc, RECT rc, const FlatColours& flat, int innerFrame) const;
    // `width` one-pixel frames, lit from the top left when raised.
    static void Bevel(HDC dc, RECT rc, int width, bool raised);

    PanelBevel bevel_;
    COLORREF background_;
    HBRUSH brush_ = nullptr;
};

} // namespace ludrin::ui::win32
