// The window's pictures, drawn at run time: the title across the top, the two illustrations,
// the pictures the wizard buttons wear (each carrying its word), and the program's icon. Each
// is drawn in its pixel size at 96 DPI, enlarged by `scale` for denser screens and rendered at
// `dpr` device pixels per pixel.
#pragma once

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSize>

#include "ui/main_window.h"

namespace qtui::pictures {

// The size in pixels at 96 DPI of a button picture (empty for Picture::none).
QSize nominalSize(ui::Picture picture);

// A button picture; a null pixmap for Picture::none.
QPixmap button(ui::Picture picture, double scale = 1, double dpr = 1);

// Image1: the title picture, 505 x 36.
QPixmap title(double scale = 1, double dpr = 1);

// Picture1: a diskette set, 222 x 210.
QPixmap diskettes(double scale = 1, double dpr = 1);

// Picture2: a Compact Flash card, 121 x 110.
QPixmap card(double scale = 1, double dpr = 1);

// The program's icon, `size` pixels square; drawn without text, so no fonts are needed (the
// build draws the desktop icon with it before any display exists).
QImage applicationIcon(int size);
// The same drawing on any painter (an SVG file's), `size` units square.
void paintApplicationIcon(QPainter& painter, int size);

}  // namespace qtui::pictures
