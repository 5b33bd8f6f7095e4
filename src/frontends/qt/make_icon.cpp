// Draws the program's icon into a PNG file at build time: velt-make-icon FILE [SIZE].
#include <QImage>
#include <cstdio>
#include <cstdlib>

#include "frontends/qt/pictures.h"

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
    if (!qtui::pictures::applicationIcon(size).save(argv[1], "PNG")) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
