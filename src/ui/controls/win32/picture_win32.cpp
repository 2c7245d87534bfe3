#include "ui/controls/win32/picture_win32.hpp"

#include "ui/controls/win32/owner_draw.hpp"
#include "ui/controls/win32/paint_buffer.hpp"
#include "ui/controls/win32/system_contrast_win32.hpp"

#include <commctrl.h>

namespace ludrin::ui::win32 {
namespace {

constexpr int kReflectionGap = 2;

} // namespace

HWND Picture::Create(HWND parent, int id, const PictureStyle& style) {
    return Subclassed<Picture>::Create(
        WC_STATICW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SS_OWNERDRAW, parent, id, style);
}

LRESULT Picture::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kReflectedDrawItem:
        Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_ERASEBKGND:
        return 1;
    default:
        return DefSubclassProc(hwnd_, message, wParam, lParam);
    }
}

void Picture::Draw(const DRAWITEMSTRUCT& item) {
    const RECT& rc = item.rcItem;
    const int width = rc.right - rc.left;
    const int height = rc.bottom - rc.top;
    if (width <= 0 || height <= 0) {
        return;
    }
    const int size = ScaleForWindow(hwnd_, style_.size);
    if (size != cachedSize_ || height != cachedHeight_) {
        cache_ = DrawArtwork(style_.artwork, size);
        if (style_.reflection) {
            cache_ = WithReflection(cache_, height, ScaleForWindow(hwnd_, kReflectionGap),
                                    style_.reflectionStart);
        }
        cachedSize_ = size;
        cachedHeight_ = height;
    }
    const std::optional<FlatColours> flat = HighContrastPanelNow();
    Image canvas(width, height, Opaque(flat ? flat->face : FromColorRef(style_.background)));
    Composite(canvas, cache_, (width - cache_.width) / 2, 0);
    PaintBuffer buffer(item.hDC, width, height);
    buffer.Put(canvas);
    buffer.BlitTo(item.hDC, rc.left, rc.top);
}

} // namespace ludrin::ui::win32
