// Loading, resampling and drawing the pictures.
#include "frontends/win32/pictures.h"

#include <cmath>
#include <utility>
#include <vector>

#include "frontends/win32/resource_ids.h"
#include "frontends/win32/twips.h"

namespace win32ui {

Bitmap::Bitmap(HBITMAP handle) : handle_(handle) {}

Bitmap::~Bitmap() {
    if (handle_ != nullptr)
        DeleteObject(handle_);
}

Bitmap::Bitmap(Bitmap&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}

Bitmap& Bitmap::operator=(Bitmap&& other) noexcept {
    if (this != &other) {
        if (handle_ != nullptr)
            DeleteObject(handle_);
        handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
}

SIZE Bitmap::size() const {
    BITMAP info{};
    if (handle_ == nullptr || GetObjectW(handle_, sizeof info, &info) == 0)
        return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight};
}

namespace {

int artBase(ui::form::Art art) {
    switch (art) {
        case ui::form::Art::title:
            return VELT_PICTURE_TITLE;
        case ui::form::Art::diskettes:
            return VELT_PICTURE_DISKETTES;
        case ui::form::Art::card:
            return VELT_PICTURE_CARD;
        case ui::form::Art::none:
            break;
    }
    return 0;
}

int pictureBase(ui::Picture picture) {
    switch (picture) {
        case ui::Picture::ok:
            return VELT_PICTURE_OK;
        case ui::Picture::back:
            return VELT_PICTURE_BACK;
        case ui::Picture::exit:
            return VELT_PICTURE_EXIT;
        case ui::Picture::showLog:
            return VELT_PICTURE_SHOWLOG;
        case ui::Picture::hideLog:
            return VELT_PICTURE_HIDELOG;
        case ui::Picture::none:
            break;
    }
    return 0;
}

Bitmap loadResource(int id) {
    return Bitmap(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
                                                  IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

// The pixels of a 32-bit DIB section, top row first.
struct Pixels {
    const uint8_t* bits = nullptr;
    int width = 0, height = 0;
    bool bottomUp = true;

    const uint8_t* row(int y) const {
        const int r = bottomUp ? height - 1 - y : y;
        return bits + static_cast<size_t>(r) * static_cast<size_t>(width) * 4;
    }
};

bool pixelsOf(const Bitmap& bitmap, Pixels& out) {
    DIBSECTION dib{};
    if (GetObjectW(bitmap.handle(), sizeof dib, &dib) != sizeof dib || dib.dsBm.bmBits == nullptr ||
        dib.dsBm.bmBitsPixel != 32)
        return false;
    out.bits = static_cast<const uint8_t*>(dib.dsBm.bmBits);
    out.width = dib.dsBm.bmWidth;
    out.height = dib.dsBm.bmHeight;
    out.bottomUp = dib.dsBmih.biHeight > 0;
    return true;
}

// Each new pixel is the average of the source area it covers (premultiplied colours average
// correctly, edges included).
Bitmap resample(const Bitmap& source, int width, int height) {
    Pixels in;
    if (!pixelsOf(source, in) || width <= 0 || height <= 0)
        return {};
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    Bitmap out(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!out || bits == nullptr)
        return {};
    auto* target = static_cast<uint8_t*>(bits);
    const double sx = static_cast<double>(in.width) / width;
    const double sy = static_cast<double>(in.height) / height;
    for (int y = 0; y < height; ++y) {
        const double y0 = y * sy, y1 = (y + 1) * sy;
        for (int x = 0; x < width; ++x) {
            const double x0 = x * sx, x1 = (x + 1) * sx;
            double sum[4] = {0, 0, 0, 0}, area = 0;
            for (int r = static_cast<int>(y0);
                 r < std::min(in.height, static_cast<int>(std::ceil(y1))); ++r) {
                const double wy = std::min(y1, r + 1.0) - std::max(y0, static_cast<double>(r));
                const uint8_t* row = in.row(r);
                for (int c = static_cast<int>(x0);
                     c < std::min(in.width, static_cast<int>(std::ceil(x1))); ++c) {
                    const double w =
                        wy * (std::min(x1, c + 1.0) - std::max(x0, static_cast<double>(c)));
                    for (int k = 0; k < 4; ++k)
                        sum[k] += w * row[c * 4 + k];
                    area += w;
                }
            }
            uint8_t* p = target + (static_cast<size_t>(y) * static_cast<size_t>(width) + x) * 4;
            for (int k = 0; k < 4; ++k)
                p[k] = static_cast<uint8_t>(area > 0 ? std::lround(sum[k] / area) : 0);
        }
    }
    return out;
}

// The picture whose resources start at `base` (0: none), enlarged for `dpi`.
Bitmap loadScaled(int base, UINT dpi) {
    if (base == 0)
        return {};
    Bitmap small = loadResource(base + 1);
    if (!small || dpi == 96)
        return small;
    const SIZE nominal = small.size();
    const double scale = pictureScale(dpi);
    const int width = static_cast<int>(std::lround(nominal.cx * scale));
    const int height = static_cast<int>(std::lround(nominal.cy * scale));
    if (scale < 1)
        return resample(small, width, height);
    Bitmap large = loadResource(base + 2);
    if (!large)
        return resample(small, width, height);
    const SIZE drawn = large.size();
    if (drawn.cx == width && drawn.cy == height)
        return large;
    return resample(large, width, height);
}

}  // namespace

Bitmap loadArt(ui::form::Art art, UINT dpi) {
    return loadScaled(artBase(art), dpi);
}

Bitmap loadButtonPicture(ui::Picture picture, UINT dpi) {
    return loadScaled(pictureBase(picture), dpi);
}

void drawCentred(HDC dc, const Bitmap& bitmap, const RECT& area, BYTE opacity) {
    if (!bitmap)
        return;
    const SIZE size = bitmap.size();
    const int x = area.left + (area.right - area.left - size.cx) / 2;
    const int y = area.top + (area.bottom - area.top - size.cy) / 2;
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, bitmap.handle());
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, opacity, AC_SRC_ALPHA};
    AlphaBlend(dc, x, y, size.cx, size.cy, memory, 0, 0, size.cx, size.cy, blend);
    RestoreDC(dc, saved);
    SelectObject(memory, old);
    DeleteDC(memory);
}

}  // namespace win32ui
