#pragma once
// A 32-bit DIB the size of a control: the picture is composed in memory (portable Image
// pixels plus GDI text) and reaches the screen in one blit, without flicker.

#include "ui/controls/image.hpp"

#include <windows.h>

namespace ludrin::ui::win32 {

class PaintBuffer {
public:
    PaintBuffer(HDC target, int width, int height);
    ~PaintBuffer();
    PaintBuffer(const PaintBuffer&) = delete;
    PaintBuffer& operator=(const PaintBuffer&) = delete;

    HDC Dc() const { return dc_; }
    // Copies the picture's pixels into the buffer (sizes must match).
    void Put(const Image& image);
    void BlitTo(HDC target, int x, int y) const;

private:
    int width_;
    int height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    void* bits_ = nullptr;
};

COLORREF ToColorRef(Rgb colour);
Rgb FromColorRef(COLORREF colour);

} // namespace ludrin::ui::win32
