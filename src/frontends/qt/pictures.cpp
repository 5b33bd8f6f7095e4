// The pictures, drawn with QPainter in the coordinates of their 96 DPI pixel sizes. Nothing is
// loaded from files: the program carries no images of anyone else's.
#include "frontends/qt/pictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <functional>

namespace qtui::pictures {

namespace {

const QColor ink(0x1d, 0x2b, 0x3a);
const QColor navy(0x0b, 0x2a, 0x5b);
const QColor teal(0x1c, 0x7a, 0x8c);

// A transparent image of `nominal` pixels, and a painter drawing on it in those coordinates.
struct Canvas {
    QImage image;
    QPainter painter;

    Canvas(QSize nominal, double scale, double dpr)
        : image(QSize(static_cast<int>(std::ceil(nominal.width() * scale * dpr)),
                      static_cast<int>(std::ceil(nominal.height() * scale * dpr))),
                QImage::Format_ARGB32_Premultiplied) {
        image.fill(Qt::transparent);
        painter.begin(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.scale(scale * dpr, scale * dpr);
    }

    QPixmap finish(double dpr) {
        painter.end();
        QPixmap pixmap = QPixmap::fromImage(image);
        pixmap.setDevicePixelRatio(dpr);
        return pixmap;
    }
};

QFont pixelFont(double pixels, bool bold = true) {
    QFont font;
    font.setPixelSize(static_cast<int>(std::lround(pixels)));
    font.setBold(bold);
    return font;
}

// A 3.5" diskette filling `r`: body with a cut corner, metal shutter, paper label.
void drawDiskette(QPainter& p, const QRectF& r, const QColor& body) {
    const double w = r.width(), h = r.height(), cut = w * 0.09, round = w * 0.04;
    QPainterPath outline;
    outline.moveTo(r.left() + round, r.top());
    outline.lineTo(r.right() - cut, r.top());
    outline.lineTo(r.right(), r.top() + cut);
    outline.lineTo(r.right(), r.bottom() - round);
    outline.quadTo(r.right(), r.bottom(), r.right() - round, r.bottom());
    outline.lineTo(r.left() + round, r.bottom());
    outline.quadTo(r.left(), r.bottom(), r.left(), r.bottom() - round);
    outline.lineTo(r.left(), r.top() + round);
    outline.quadTo(r.left(), r.top(), r.left() + round, r.top());
    QLinearGradient shade(r.topLeft(), r.bottomRight());
    shade.setColorAt(0, body.lighter(135));
    shade.setColorAt(1, body.darker(125));
    p.setPen(QPen(body.darker(180), std::max(0.6, w * 0.012)));
    p.setBrush(shade);
    p.drawPath(outline);

    const QRectF shutter(r.left() + w * 0.28, r.top(), w * 0.46, h * 0.34);
    QLinearGradient metal(shutter.topLeft(), shutter.topRight());
    metal.setColorAt(0, QColor(0xe4, 0xe8, 0xec));
    metal.setColorAt(0.5, QColor(0xb4, 0xbc, 0xc4));
    metal.setColorAt(1, QColor(0xdc, 0xe0, 0xe6));
    p.setPen(QPen(QColor(0x70, 0x78, 0x80), std::max(0.4, w * 0.008)));
    p.setBrush(metal);
    p.drawRect(shutter);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x40, 0x46, 0x4e));
    p.drawRect(QRectF(shutter.left() + shutter.width() * 0.58, shutter.top() + h * 0.05,
                      shutter.width() * 0.22, shutter.height() * 0.72));

    const QRectF label(r.left() + w * 0.13, r.top() + h * 0.46, w * 0.74, h * 0.5);
    p.setBrush(QColor(0xfa, 0xf8, 0xf0));
    p.setPen(QPen(QColor(0xc8, 0xc4, 0xb8), std::max(0.4, w * 0.008)));
    p.drawRoundedRect(label, w * 0.03, w * 0.03);
    p.setPen(QPen(QColor(0x9d, 0xb4, 0xd0), std::max(0.5, h * 0.012)));
    for (int i = 1; i <= 3; ++i) {
        const double y = label.top() + label.height() * (0.25 * i);
        p.drawLine(QPointF(label.left() + w * 0.05, y), QPointF(label.right() - w * 0.05, y));
    }
}

// A Compact Flash card filling `r`, with `caption` on its label when not empty.
void drawCard(QPainter& p, const QRectF& r, const QString& caption) {
    const double w = r.width(), h = r.height();
    QPainterPath outline;
    outline.addRoundedRect(r, w * 0.06, w * 0.06);
    QLinearGradient shade(r.topLeft(), r.bottomLeft());
    shade.setColorAt(0, QColor(0x4a, 0x50, 0x58));
    shade.setColorAt(1, QColor(0x22, 0x26, 0x2c));
    p.setPen(QPen(QColor(0x10, 0x12, 0x16), std::max(0.6, w * 0.012)));
    p.setBrush(shade);
    p.drawPath(outline);

    // The connector's holes along the top edge.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x0c, 0x0e, 0x10));
    const int holes = 12;
    const double pitch = w * 0.8 / holes;
    for (int i = 0; i < holes; ++i) {
        p.drawEllipse(QPointF(r.left() + w * 0.1 + pitch * (i + 0.5), r.top() + h * 0.06),
                      pitch * 0.28, pitch * 0.28);
    }

    const QRectF label(r.left() + w * 0.1, r.top() + h * 0.16, w * 0.8, h * 0.72);
    QLinearGradient paper(label.topLeft(), label.bottomRight());
    paper.setColorAt(0, QColor(0xff, 0xc8, 0x3c));
    paper.setColorAt(1, QColor(0xe8, 0x8a, 0x1a));
    p.setBrush(paper);
    p.drawRoundedRect(label, w * 0.04, w * 0.04);
    if (!caption.isEmpty()) {
        p.setPen(ink);
        p.setFont(pixelFont(label.height() * 0.42));
        p.drawText(label, Qt::AlignCenter, caption);
    } else {
        p.setPen(QPen(ink, std::max(0.8, h * 0.04)));
        for (int i = 0; i < 3; ++i) {
            const double y = label.top() + label.height() * (0.3 + 0.2 * i);
            p.drawLine(QPointF(label.left() + w * 0.12, y),
                       QPointF(label.right() - w * (i == 2 ? 0.35 : 0.12), y));
        }
    }
}

// A bold arrow from `from` to `to`.
void drawArrow(QPainter& p, QPointF from, QPointF to, double width, const QColor& color) {
    const double dx = to.x() - from.x(), dy = to.y() - from.y();
    const double len = std::hypot(dx, dy);
    const QPointF u(dx / len, dy / len), n(-u.y(), u.x());
    const double head = width * 2.2;
    const QPointF base = to - u * head;
    QPolygonF shape;
    shape << from + n * (width / 2) << base + n * (width / 2) << base + n * head * 0.75 << to
          << base - n * head * 0.75 << base - n * (width / 2) << from - n * (width / 2);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPolygon(shape);
}

// A glyph in the square `g` and a word beside it, centred together in the picture.
void drawGlyphAndWord(QPainter& p, QSize size, const QString& word, double fontPixels,
                      const std::function<void(QPainter&, const QRectF&)>& glyph) {
    const QFont font = pixelFont(fontPixels);
    p.setFont(font);
    const double textWidth = p.fontMetrics().horizontalAdvance(word);
    const double g = size.height() * 0.62;
    const double gap = size.height() * 0.14;
    const double total = g + gap + textWidth;
    const double left = std::max(1.0, (size.width() - total) / 2);
    glyph(p, QRectF(left, (size.height() - g) / 2, g, g));
    p.setPen(ink);
    p.drawText(QRectF(left + g + gap, 0, size.width() - (left + g + gap), size.height()),
               Qt::AlignVCenter | Qt::AlignLeft, word);
}

void checkGlyph(QPainter& p, const QRectF& g) {
    QPainterPath tick;
    tick.moveTo(g.left() + g.width() * 0.08, g.top() + g.height() * 0.55);
    tick.lineTo(g.left() + g.width() * 0.4, g.top() + g.height() * 0.85);
    tick.lineTo(g.left() + g.width() * 0.95, g.top() + g.height() * 0.15);
    p.setPen(QPen(QColor(0x1e, 0x8c, 0x3a), g.width() * 0.2, Qt::SolidLine, Qt::RoundCap,
                  Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(tick);
}

void backGlyph(QPainter& p, const QRectF& g) {
    drawArrow(p, QPointF(g.right(), g.center().y()), QPointF(g.left(), g.center().y()),
              g.height() * 0.3, QColor(0x1f, 0x5f, 0xb4));
}

void exitGlyph(QPainter& p, const QRectF& g) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xc0, 0x28, 0x28));
    p.drawEllipse(g);
    p.setPen(QPen(Qt::white, g.width() * 0.14, Qt::SolidLine, Qt::RoundCap));
    const double m = g.width() * 0.3;
    p.drawLine(g.topLeft() + QPointF(m, m), g.bottomRight() - QPointF(m, m));
    p.drawLine(g.topRight() + QPointF(-m, m), g.bottomLeft() + QPointF(m, -m));
}

// A page of log lines, with a triangle saying whether the panel opens (down) or closes (up).
void logGlyph(QPainter& p, const QRectF& g, bool opens) {
    const QRectF page(g.left() + g.width() * 0.1, g.top(), g.width() * 0.6, g.height());
    p.setPen(QPen(ink, std::max(0.6, g.width() * 0.05)));
    p.setBrush(QColor(0xfa, 0xf6, 0xe8));
    p.drawRect(page);
    for (int i = 1; i <= 3; ++i) {
        const double y = page.top() + page.height() * 0.25 * i;
        p.drawLine(QPointF(page.left() + page.width() * 0.2, y),
                   QPointF(page.right() - page.width() * 0.2, y));
    }
    const double x = g.right() - g.width() * 0.12, y = g.center().y(), s = g.width() * 0.16;
    QPolygonF tri;
    if (opens)
        tri << QPointF(x - s, y - s / 2) << QPointF(x + s, y - s / 2) << QPointF(x, y + s);
    else
        tri << QPointF(x - s, y + s / 2) << QPointF(x + s, y + s / 2) << QPointF(x, y - s);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1f, 0x5f, 0xb4));
    p.drawPolygon(tri);
}

}  // namespace

QSize nominalSize(ui::Picture picture) {
    switch (picture) {
        case ui::Picture::ok:
            return {50, 27};
        case ui::Picture::back:
            return {79, 31};
        case ui::Picture::exit:
            return {60, 32};
        case ui::Picture::showLog:
            return {71, 32};
        case ui::Picture::hideLog:
            return {61, 28};
        case ui::Picture::none:
            break;
    }
    return {};
}

QPixmap button(ui::Picture picture, double scale, double dpr) {
    const QSize size = nominalSize(picture);
    if (size.isEmpty())
        return {};
    Canvas c(size, scale, dpr);
    QPainter& p = c.painter;
    switch (picture) {
        case ui::Picture::ok:
            drawGlyphAndWord(p, size, "OK", 15, checkGlyph);
            break;
        case ui::Picture::back:
            drawGlyphAndWord(p, size, "Back", 15, backGlyph);
            break;
        case ui::Picture::exit:
            drawGlyphAndWord(p, size, "Exit", 15, exitGlyph);
            break;
        case ui::Picture::showLog:
            drawGlyphAndWord(p, size, "Log", 15,
                             [](QPainter& q, const QRectF& g) { logGlyph(q, g, true); });
            break;
        case ui::Picture::hideLog: {
            // Too narrow for a glyph beside the two words: the words above a closing mark.
            p.setPen(ink);
            p.setFont(pixelFont(11));
            p.drawText(QRectF(0, 1, size.width(), size.height() * 0.62), Qt::AlignCenter,
                       "Hide Log");
            const double x = size.width() / 2.0, y = size.height() * 0.8, s = 4;
            QPolygonF tri;
            tri << QPointF(x - s, y + s / 2) << QPointF(x + s, y + s / 2)
                << QPointF(x, y - s / 1.5);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0x1f, 0x5f, 0xb4));
            p.drawPolygon(tri);
            break;
        }
        case ui::Picture::none:
            break;
    }
    return c.finish(dpr);
}

QPixmap title(double scale, double dpr) {
    const QSize size(505, 36);
    Canvas c(size, scale, dpr);
    QPainter& p = c.painter;
    QLinearGradient band(0, 0, size.width(), 0);
    band.setColorAt(0, navy);
    band.setColorAt(1, teal);
    p.setPen(Qt::NoPen);
    p.setBrush(band);
    p.drawRoundedRect(QRectF(0, 0, size.width(), size.height()), 4, 4);
    p.setBrush(QColor(255, 255, 255, 28));
    p.drawRect(QRectF(0, 0, size.width(), size.height() / 2.0));

    drawDiskette(p, QRectF(8, 5, 26, 26), QColor(0x2f, 0x6f, 0xd0));
    drawArrow(p, QPointF(38, 18), QPointF(54, 18), 4, QColor(0xff, 0xc8, 0x3c));
    drawCard(p, QRectF(58, 6, 22, 25), QString());

    p.setFont(pixelFont(19));
    p.setPen(QColor(0, 0, 0, 90));
    p.drawText(QRectF(93, 1, 410, 36), Qt::AlignVCenter | Qt::AlignLeft,
               "VELT Database Media Converter");
    p.setPen(Qt::white);
    p.drawText(QRectF(92, 0, 410, 36), Qt::AlignVCenter | Qt::AlignLeft,
               "VELT Database Media Converter");
    return c.finish(dpr);
}

QPixmap diskettes(double scale, double dpr) {
    const QSize size(222, 210);
    Canvas c(size, scale, dpr);
    QPainter& p = c.painter;
    QRadialGradient glow(QPointF(111, 100), 120);
    glow.setColorAt(0, QColor(0xf4, 0xf1, 0xe8));
    glow.setColorAt(1, QColor(0xdd, 0xd5, 0xc6));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawRoundedRect(QRectF(0, 0, size.width(), size.height()), 8, 8);

    // Three diskettes of a set, fanned out, the first on top.
    const QColor colors[] = {QColor(0x7a, 0x2f, 0x9a), QColor(0x2f, 0x8a, 0x4a),
                             QColor(0x2f, 0x6f, 0xd0)};
    for (int i = 2; i >= 0; --i) {
        p.save();
        p.translate(111, 108);
        p.rotate(-14.0 + 14.0 * i);
        p.translate(-62 + 14.0 * i, -66 + 6.0 * i);
        drawDiskette(p, QRectF(0, 0, 118, 118), colors[i]);
        p.setPen(ink);
        p.setFont(pixelFont(26));
        p.drawText(QRectF(16, 56, 86, 56), Qt::AlignCenter, QString::number(3 - i));
        p.restore();
    }
    return c.finish(dpr);
}

QPixmap card(double scale, double dpr) {
    const QSize size(121, 110);
    Canvas c(size, scale, dpr);
    QPainter& p = c.painter;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xe6, 0xec, 0xf2));
    p.drawRoundedRect(QRectF(0, 0, size.width(), size.height()), 6, 6);
    p.save();
    p.translate(60, 56);
    p.rotate(8);
    drawCard(p, QRectF(-38, -44, 76, 86), "CF");
    p.restore();
    return c.finish(dpr);
}

void paintApplicationIcon(QPainter& p, int size) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    QLinearGradient back(0, 0, 64, 64);
    back.setColorAt(0, navy);
    back.setColorAt(1, teal);
    p.setPen(Qt::NoPen);
    p.setBrush(back);
    p.drawRoundedRect(QRectF(1, 1, 62, 62), 12, 12);
    drawDiskette(p, QRectF(6, 6, 30, 30), QColor(0x2f, 0x6f, 0xd0));
    drawArrow(p, QPointF(14, 44), QPointF(37, 44), 5, QColor(0xff, 0xc8, 0x3c));
    drawCard(p, QRectF(38, 26, 20, 32), QString());
    p.restore();
}

QImage applicationIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    paintApplicationIcon(p, size);
    p.end();
    return image;
}

}  // namespace qtui::pictures
