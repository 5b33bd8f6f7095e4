// The window's pictures, embedded as resources by the build (drawn by the same code as the Qt
// program's): each for 96 and for 192 DPI, resampled for any other DPI. 32-bit DIBs with
// premultiplied alpha, drawn with AlphaBlend.
#pragma once

#include <windows.h>

#include "ui/form.h"
#include "ui/main_window.h"

namespace win32ui {

class Bitmap {
  public:
    Bitmap() = default;
    explicit Bitmap(HBITMAP handle);
    ~Bitmap();
    Bitmap(Bitmap&& other) noexcept;
    Bitmap& operator=(Bitmap&& other) noexcept;
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;

    HBITMAP handle() const { return handle_; }
    SIZE size() const;
    explicit operator bool() const { return handle_ != nullptr; }

  private:
    HBITMAP handle_ = nullptr;
};

// A drawing of the form in its pixel size at 96 DPI enlarged for `dpi`; empty for Art::none or
// when the resource is missing.
Bitmap loadArt(ui::form::Art art, UINT dpi);
// The picture a wizard button wears; empty for Picture::none.
Bitmap loadButtonPicture(ui::Picture picture, UINT dpi);

// Draws `bitmap` centred in `area` and clipped to it; `opacity` below 255 fades it.
void drawCentred(HDC dc, const Bitmap& bitmap, const RECT& area, BYTE opacity = 255);

}  // namespace win32ui
