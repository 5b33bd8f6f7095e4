// Twips (1/1440 inch) to pixels on the screen a widget is shown on, through its logical DPI.
#pragma once

#include <QRect>

class QWidget;

namespace qtui {

// Pixels for `twips` across / down on the screen of `w`.
int pxX(const QWidget* w, int twips);
int pxY(const QWidget* w, int twips);

// A control's rectangle given as left, top, width, height in twips.
QRect twipsRect(const QWidget* w, int left, int top, int width, int height);

// How much larger than at 96 DPI the pictures are drawn on the screen of `w` (1 at 96 DPI).
double pictureScale(const QWidget* w);

}  // namespace qtui
