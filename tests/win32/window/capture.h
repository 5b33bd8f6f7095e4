// Pictures of windows as the screen shows them, their pixels, and PNG files of them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace win32test {

struct Image {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;  // 0x00RRGGBB, top row first

    uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// The whole window, frame and title included; its client area only with `clientOnly`.
Image capture(HWND window, bool clientOnly = false);
// The window as it is on the screen (for a window of another process).
Image captureScreen(HWND window);

// A colour of the system's as the pictures hold it (0x00RRGGBB).
uint32_t rgb(COLORREF c);
// How many different colours a rectangle of the picture holds: a drawn picture has many.
size_t colours(const Image& image, const RECT& r);

// Writes `image` as an uncompressed PNG file; false when it cannot be written.
bool writePng(const std::string& file, const Image& image);

// Saves a picture of `window` as NAME.png in the build's screenshot folder.
void screenshot(HWND window, const std::string& name, bool fromScreen = false);

}  // namespace win32test
