// Window pictures by BitBlt from the window's own device context, and a small PNG writer
// (stored deflate blocks: no compression library is needed).
#include "capture.h"
#include <array>
#include <cstdio>
#include <filesystem>
#include <set>

namespace win32test {

namespace {

Image copyFrom(HDC source, int x, int y, int width, int height) {
    Image image;
    if (width <= 0 || height <= 0)
        return image;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(source);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY);
    GdiFlush();
    image.width = width;
    image.height = height;
    const auto* p = static_cast<const uint32_t*>(bits);
    image.pixels.assign(p, p + static_cast<size_t>(width) * height);
    for (uint32_t& pixel : image.pixels)
        pixel &= 0xffffff;
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(bitmap);
    return image;
}

class Crc {
  public:
    Crc() {
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) != 0 ? 0xedb88320u ^ (c >> 1) : c >> 1;
            table_[n] = c;
        }
    }
    uint32_t of(const std::string& bytes) const {
        uint32_t c = 0xffffffffu;
        for (unsigned char b : bytes)
            c = table_[(c ^ b) & 0xff] ^ (c >> 8);
        return c ^ 0xffffffffu;
    }

  private:
    std::array<uint32_t, 256> table_{};
};

void put32(std::string& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((v >> shift) & 0xff);
}

void chunk(std::string& out, const char* type, const std::string& data) {
    static const Crc crc;
    put32(out, static_cast<uint32_t>(data.size()));
    const std::string typed = std::string(type) + data;
    out += typed;
    put32(out, crc.of(typed));
}

}  // namespace

Image capture(HWND window, bool clientOnly) {
    RECT r{};
    if (clientOnly)
        GetClientRect(window, &r);
    else
        GetWindowRect(window, &r);
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    HDC dc = clientOnly ? GetDC(window) : GetWindowDC(window);
    Image image = copyFrom(dc, 0, 0, r.right - r.left, r.bottom - r.top);
    ReleaseDC(window, dc);
    return image;
}

Image captureScreen(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    HDC screen = GetDC(nullptr);
    Image image = copyFrom(screen, r.left, r.top, r.right - r.left, r.bottom - r.top);
    ReleaseDC(nullptr, screen);
    return image;
}

bool writePng(const std::string& file, const Image& image) {
    std::string raw;  // each row: filter type 0, then R G B
    raw.reserve(static_cast<size_t>(image.height) * (1 + 3 * static_cast<size_t>(image.width)));
    for (int y = 0; y < image.height; ++y) {
        raw += '\0';
        for (int x = 0; x < image.width; ++x) {
            const uint32_t p = image.at(x, y);
            raw += static_cast<char>((p >> 16) & 0xff);
            raw += static_cast<char>((p >> 8) & 0xff);
            raw += static_cast<char>(p & 0xff);
        }
    }
    std::string zlib = "\x78\x01";
    uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    for (size_t at = 0; at == 0 || at < raw.size(); at += 65535) {
        const size_t n = std::min<size_t>(65535, raw.size() - at);
        zlib += static_cast<char>(at + n >= raw.size() ? 1 : 0);
        zlib += static_cast<char>(n & 0xff);
        zlib += static_cast<char>(n >> 8);
        zlib += static_cast<char>(~n & 0xff);
        zlib += static_cast<char>((~n >> 8) & 0xff);
        zlib.append(raw, at, n);
    }
    put32(zlib, (b << 16) | a);

    std::string header;
    put32(header, static_cast<uint32_t>(image.width));
    put32(header, static_cast<uint32_t>(image.height));
    header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB
    std::string png = "\x89PNG\r\n\x1a\n";
    chunk(png, "IHDR", header);
    chunk(png, "IDAT", zlib);
    chunk(png, "IEND", "");

    FILE* out = std::fopen(file.c_str(), "wb");
    if (out == nullptr)
        return false;
    const bool written = std::fwrite(png.data(), 1, png.size(), out) == png.size();
    return std::fclose(out) == 0 && written;
}

void screenshot(HWND window, const std::string& name, bool fromScreen) {
    const std::string folder = VELT_SCREENSHOT_DIR;
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    const Image image = fromScreen ? captureScreen(window) : capture(window);
    if (!writePng(folder + "/" + name + ".png", image))
        std::fprintf(stderr, "cannot write the screenshot %s\n", name.c_str());
}

uint32_t rgb(COLORREF c) {
    return (uint32_t{GetRValue(c)} << 16) | (uint32_t{GetGValue(c)} << 8) | GetBValue(c);
}

size_t colours(const Image& image, const RECT& r) {
    std::set<uint32_t> seen;
    for (int y = r.top; y < r.bottom && y < image.height; ++y) {
        for (int x = r.left; x < r.right && x < image.width; ++x)
            seen.insert(image.at(x, y));
    }
    return seen.size();
}

}  // namespace win32test
