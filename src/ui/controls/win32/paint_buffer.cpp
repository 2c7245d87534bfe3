#include "ui/controls/win32/paint_buffer.hpp"

#include <algorithm>
#include <cstring>

namespace ludrin::ui::win32 {

PaintBuffer::PaintBuffer(HDC target, int width, int height)
    : width_(std::max(width, 1)), height_(std::max(height, 1)) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_; // top row first, as Image holds it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc_ = CreateCompatibleDC(target);
    bitmap_ = CreateDIBSection(target, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
    if (dc_ != nullptr && bitmap_ != nullptr) {
        old_ = SelectObject(dc_, bitmap_);
    }
}

PaintBuffer::~PaintBuffer() {
    if (old_ != nullptr) {
        SelectObject(dc_, old_);
    }
    if (bitmap_ != nullptr) {
        DeleteObject(bitmap_);
    }
    if (dc_ != nullptr) {
        DeleteDC(dc_);
    }
}

void PaintBuffer::Put(const Image& image) {
    if (bits_ == nullptr || image.width != width_ || image.height != height_) {
        return;
    }
    GdiFlush();
    std::memcpy(bits_, image.pixels.data(), image.pixels.size() * sizeof(std::uint32_t));
}

void PaintBuffer::BlitTo(HDC target, int x, int y) const {
    BitBlt(target, x, y, width_, height_, dc_, 0, 0, SRCCOPY);
}

COLORREF ToColorRef(Rgb colour) {
    return RGB(colour.r, colour.g, colour.b);
}

Rgb FromColorRef(COLORREF colour) {
    return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

} // namespace ludrin::ui::win32
