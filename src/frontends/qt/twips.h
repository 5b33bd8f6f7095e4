// The form's twips on the screen a widget is shown on, through its logical DPI.
#pragma once

#include <QRect>

#include "ui/form.h"

class QWidget;

namespace qtui {

// Pixels for `twips` across / down on the screen of `w`.
int pxX(const QWidget* w, int twips);
int pxY(const QWidget* w, int twips);

// A control's rectangle on the screen of `w`.
QRect twipsRect(const QWidget* w, const ui::form::Rect& twips);
inline QRect twipsRect(const QWidget* w, int left, int top, int width, int height) {
    return twipsRect(w, ui::form::Rect{left, top, width, height});
}

// How much larger than at 96 DPI the pictures are drawn on the screen of `w` (1 at 96 DPI).
double pictureScale(const QWidget* w);

}  // namespace qtui
