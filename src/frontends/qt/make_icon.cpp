// Draws the program's icon at build time: velt-make-icon FILE [SIZE]. A FILE ending in ".svg"
// gets the same drawing in vector graphics; any other FILE a PNG of SIZE pixels.
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "frontends/qt/pictures.h"

namespace {

bool endsWith(const char* text, const char* suffix) {
    const size_t a = std::strlen(text), b = std::strlen(suffix);
    return a >= b && std::strcmp(text + a - b, suffix) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE [SIZE]\n", argv[0]);
        return 2;
    }
    const int size = argc > 2 ? std::atoi(argv[2]) : 256;
    if (size < 16 || size > 1024) {
        std::fprintf(stderr, "%s: size must be 16 to 1024\n", argv[0]);
        return 2;
    }
    if (endsWith(argv[1], ".svg")) {
        QSvgGenerator svg;
        svg.setFileName(argv[1]);
        svg.setSize(QSize(size, size));
        svg.setViewBox(QRect(0, 0, size, size));
        svg.setTitle("VELT Database Media Converter");
        QPainter painter(&svg);
        qtui::pictures::paintApplicationIcon(painter, size);
        return painter.end() ? 0 : 1;
    }
    if (!qtui::pictures::applicationIcon(size).save(argv[1], "PNG")) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
