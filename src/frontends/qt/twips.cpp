// The twips mapping at a widget's DPI.
#include "frontends/qt/twips.h"

#include <QWidget>

namespace qtui {

int pxX(const QWidget* w, int twips) {
    return ui::form::px(twips, w->logicalDpiX());
}

int pxY(const QWidget* w, int twips) {
    return ui::form::px(twips, w->logicalDpiY());
}

QRect twipsRect(const QWidget* w, const ui::form::Rect& twips) {
    const ui::form::PixelRect r = ui::form::px(twips, w->logicalDpiX(), w->logicalDpiY());
    return QRect(r.left, r.top, r.width, r.height);
}

double pictureScale(const QWidget* w) {
    return ui::form::pictureScale(w->logicalDpiY());
}

}  // namespace qtui
