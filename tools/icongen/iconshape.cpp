// SPDX-License-Identifier: GPL-3.0-or-later
#include "iconshape.h"

#include <QPainter>
#include <algorithm>

namespace {

// Control-point distance of a cubic curve that draws a quarter circle of radius 1.
constexpr qreal kQuarter = 0.5522847498;

// Two decimals, no trailing zeros: enough for 256 units, and stable text.
QByteArray number(qreal value)
{
    QByteArray text = QByteArray::number(value, 'f', 2);
    while (text.endsWith('0'))
        text.chop(1);
    if (text.endsWith('.'))
        text.chop(1);
    return text == "-0" ? QByteArray("0") : text;
}

QByteArray point(const QPointF &p)
{
    return number(p.x()) + ' ' + number(p.y());
}

QByteArray svgPath(const QPainterPath &path)
{
    QByteArray d;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        switch (e.type) {
        case QPainterPath::MoveToElement:
            if (!d.isEmpty())
                d += 'Z';
            d += 'M' + point(e);
            break;
        case QPainterPath::LineToElement:
            d += 'L' + point(e);
            break;
        case QPainterPath::CurveToElement:
            d += 'C' + point(e) + ' ' + point(path.elementAt(i + 1)) + ' ' +
                 point(path.elementAt(i + 2));
            i += 2;
            break;
        case QPainterPath::CurveToDataElement:
            Q_ASSERT(false);
            break;
        }
    }
    return d.isEmpty() ? d : d + 'Z';
}

} // namespace

namespace IconShapes {

QPainterPath rect(qreal x, qreal y, qreal w, qreal h)
{
    return polygon({{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}});
}

QPainterPath roundedRect(qreal x, qreal y, qreal w, qreal h, qreal radius)
{
    const qreal r = radius;
    const qreal c = r * (1 - kQuarter);
    const qreal right = x + w;
    const qreal bottom = y + h;
    QPainterPath path;
    path.moveTo(x + r, y);
    path.lineTo(right - r, y);
    path.cubicTo(right - c, y, right, y + c, right, y + r);
    path.lineTo(right, bottom - r);
    path.cubicTo(right, bottom - c, right - c, bottom, right - r, bottom);
    path.lineTo(x + r, bottom);
    path.cubicTo(x + c, bottom, x, bottom - c, x, bottom - r);
    path.lineTo(x, y + r);
    path.cubicTo(x, y + c, x + c, y, x + r, y);
    path.closeSubpath();
    return path;
}

QPainterPath polygon(const QList<QPointF> &points)
{
    QPainterPath path;
    path.moveTo(points.first());
    for (qsizetype i = 1; i < points.size(); ++i)
        path.lineTo(points[i]);
    path.closeSubpath();
    return path;
}

QPainterPath pixelGlyph(const QList<const char *> &rows, qreal x, qreal y, qreal pixel)
{
    // One rectangle per run of set pixels in a row: fewer, longer SVG paths.
    // Runs never overlap, so the odd-even fill keeps them all.
    QPainterPath path;
    for (qsizetype row = 0; row < rows.size(); ++row) {
        const QByteArray line(rows[row]);
        for (qsizetype col = 0; col < line.size();) {
            if (line[col] != '#') {
                ++col;
                continue;
            }
            qsizetype end = col;
            while (end < line.size() && line[end] == '#')
                ++end;
            path.addPath(rect(x + col * pixel, y + row * pixel, (end - col) * pixel, pixel));
            col = end;
        }
    }
    return path;
}

QImage rasterize(const QList<IconShape> &shapes, int size)
{
    // About 2048 samples across, at least 8 per pixel.
    const int samples = std::max(8, 2048 / size);
    const int big = size * samples;
    QImage canvas(big, big, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(0);
    {
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(Qt::NoPen);
        painter.scale(qreal(big) / kUnits, qreal(big) / kUnits);
        for (const IconShape &shape : shapes) {
            QPainterPath path = shape.path;
            path.setFillRule(Qt::OddEvenFill);
            painter.setBrush(QColor::fromRgb(shape.colour));
            painter.drawPath(path);
        }
    }

    // Every sample is either untouched (transparent) or one opaque colour, so
    // the average is plain integer arithmetic.
    QImage out(size, size, QImage::Format_ARGB32);
    const int total = samples * samples;
    for (int y = 0; y < size; ++y) {
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < size; ++x) {
            int covered = 0;
            int red = 0;
            int green = 0;
            int blue = 0;
            for (int sy = 0; sy < samples; ++sy) {
                const auto *row =
                    reinterpret_cast<const QRgb *>(canvas.constScanLine(y * samples + sy));
                for (int sx = 0; sx < samples; ++sx) {
                    const QRgb s = row[x * samples + sx];
                    if (qAlpha(s) == 0)
                        continue;
                    ++covered;
                    red += qRed(s);
                    green += qGreen(s);
                    blue += qBlue(s);
                }
            }
            if (covered == 0) {
                line[x] = 0;
                continue;
            }
            const int half = covered / 2;
            line[x] = qRgba((red + half) / covered, (green + half) / covered,
                            (blue + half) / covered, (255 * covered + total / 2) / total);
        }
    }
    return out;
}

QByteArray toSvg(const QList<IconShape> &shapes)
{
    const QByteArray units = QByteArray::number(kUnits);
    QByteArray svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<!-- SPDX-License-Identifier: GPL-3.0-or-later; drawn by tools/icongen -->\n"
                     "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                     units + "\" height=\"" + units + "\" viewBox=\"0 0 " + units + ' ' + units +
                     "\">\n";
    for (const IconShape &shape : shapes) {
        const QByteArray colour =
            QByteArray::number(shape.colour & 0xffffff, 16).rightJustified(6, '0');
        svg += "  <path fill=\"#" + colour + "\" fill-rule=\"evenodd\" d=\"" + svgPath(shape.path) +
               "\"/>\n";
    }
    return svg + "</svg>\n";
}

} // namespace IconShapes
