// The twips mapping. Rectangles are mapped by their edges, so that controls that touch in
// twips touch on the screen as well.
#include "frontends/qt/twips.h"

#include <QWidget>
#include <cmath>

namespace qtui {

namespace {
int scaled(int twips, int dpi) {
    return static_cast<int>(std::lround(static_cast<double>(twips) * dpi / 1440.0));
}
}  // namespace

int pxX(const QWidget* w, int twips) {
    return scaled(twips, w->logicalDpiX());
}

int pxY(const QWidget* w, int twips) {
    return scaled(twips, w->logicalDpiY());
}

QRect twipsRect(const QWidget* w, int left, int top, int width, int height) {
    const int x = pxX(w, left);
    const int y = pxY(w, top);
    return QRect(x, y, pxX(w, left + width) - x, pxY(w, top + height) - y);
}

double pictureScale(const QWidget* w) {
    return w->logicalDpiY() / 96.0;
}

}  // namespace qtui
