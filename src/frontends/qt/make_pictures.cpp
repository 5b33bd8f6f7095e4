// Draws the window's pictures for the Windows program: velt-make-pictures FOLDER. The Windows
// build embeds them as resources, so both programs show the same drawings from the same code.
//
// Each picture is written twice, for 96 DPI (NAME-1x.bmp) and for 192 DPI (NAME-2x.bmp), as a
// 32-bit bottom-up BMP with premultiplied alpha (what AlphaBlend takes); the program's icon as
// velt-converter.ico with its usual sizes.
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <vector>

#include "frontends/qt/pictures.h"

namespace {

void put16(QByteArray& out, uint16_t v) {
    out.append(static_cast<char>(v & 0xff));
    out.append(static_cast<char>(v >> 8));
}

void put32(QByteArray& out, uint32_t v) {
    put16(out, static_cast<uint16_t>(v & 0xffff));
    put16(out, static_cast<uint16_t>(v >> 16));
}

// BITMAPINFOHEADER of a 32-bit uncompressed bottom-up DIB.
void putInfoHeader(QByteArray& out, int width, int height) {
    put32(out, 40);
    put32(out, static_cast<uint32_t>(width));
    put32(out, static_cast<uint32_t>(height));
    put16(out, 1);   // planes
    put16(out, 32);  // bits per pixel
    put32(out, 0);   // BI_RGB
    put32(out, static_cast<uint32_t>(width * height * 4));
    put32(out, 3780);  // 96 DPI in pixels per metre
    put32(out, 3780);
    put32(out, 0);
    put32(out, 0);
}

// The rows bottom first, each pixel as B, G, R, A.
void putPixels(QByteArray& out, const QImage& image) {
    for (int y = image.height() - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            put32(out, row[x]);
    }
}

QByteArray bmpFile(const QImage& picture) {
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QByteArray pixels;
    putInfoHeader(pixels, image.width(), image.height());
    putPixels(pixels, image);
    QByteArray out;
    out.append("BM");
    put32(out, static_cast<uint32_t>(14 + pixels.size()));
    put32(out, 0);
    put32(out, 14 + 40);
    out.append(pixels);
    return out;
}

// An icon file: the small sizes as DIBs with their AND masks (every reader takes those), 256 as
// PNG.
QByteArray icoFile(const std::vector<int>& sizes) {
    std::vector<QByteArray> images;
    for (int size : sizes) {
        const QImage icon =
            qtui::pictures::applicationIcon(size).convertToFormat(QImage::Format_ARGB32);
        QByteArray data;
        if (size >= 256) {
            QBuffer buffer(&data);
            buffer.open(QIODevice::WriteOnly);
            icon.save(&buffer, "PNG");
        } else {
            putInfoHeader(data, size, size * 2);  // the height counts the mask too
            putPixels(data, icon);
            const int maskRow = ((size + 31) / 32) * 4;
            data.append(QByteArray(maskRow * size, '\0'));  // the alpha decides, not the mask
        }
        images.push_back(data);
    }
    QByteArray out;
    put16(out, 0);
    put16(out, 1);  // an icon
    put16(out, static_cast<uint16_t>(sizes.size()));
    uint32_t offset = static_cast<uint32_t>(6 + 16 * sizes.size());
    for (size_t i = 0; i < sizes.size(); ++i) {
        const int size = sizes[i];
        out.append(static_cast<char>(size >= 256 ? 0 : size));
        out.append(static_cast<char>(size >= 256 ? 0 : size));
        out.append('\0');  // no palette
        out.append('\0');
        put16(out, 1);
        put16(out, 32);
        put32(out, static_cast<uint32_t>(images[i].size()));
        put32(out, offset);
        offset += static_cast<uint32_t>(images[i].size());
    }
    for (const QByteArray& image : images)
        out.append(image);
    return out;
}

// A file that already holds `data` is left alone, so that the Windows build does not embed
// unchanged pictures again.
bool write(const QString& path, const QByteArray& data) {
    QFile file(path);
    if (file.open(QIODevice::ReadOnly) && file.readAll() == data)
        return true;
    file.close();
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size()) {
        std::fprintf(stderr, "velt-make-pictures: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    // Text is drawn with the system's fonts; no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "velt-make-pictures: cannot make %s\n", argv[1]);
        return 1;
    }

    using Draw = std::function<QPixmap(double)>;
    auto button = [](ui::Picture p) {
        return [p](double scale) { return qtui::pictures::button(p, scale); };
    };
    const std::vector<std::pair<const char*, Draw>> pictures = {
        {"title", [](double s) { return qtui::pictures::title(s); }},
        {"diskettes", [](double s) { return qtui::pictures::diskettes(s); }},
        {"card", [](double s) { return qtui::pictures::card(s); }},
        {"ok", button(ui::Picture::ok)},
        {"back", button(ui::Picture::back)},
        {"exit", button(ui::Picture::exit)},
        {"showlog", button(ui::Picture::showLog)},
        {"hidelog", button(ui::Picture::hideLog)},
    };
    for (const auto& [name, draw] : pictures) {
        for (int scale : {1, 2}) {
            const QString file = QString("%1/%2-%3x.bmp").arg(folder, name).arg(scale);
            if (!write(file, bmpFile(draw(scale).toImage())))
                return 1;
        }
    }
    return write(folder + "/velt-converter.ico", icoFile({16, 20, 24, 32, 40, 48, 64, 256})) ? 0
                                                                                             : 1;
}
