// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QPainterPath>
#include <QPointF>
#include <QRgb>

// One opaque filled shape of an icon, in design units: the icon is a square of
// kUnits x kUnits, y pointing down. Paths are built only from lines and cubic
// curves (no arcs), so the SVG text and the pixels come from the same numbers.
struct IconShape
{
    QRgb colour;       // opaque
    QPainterPath path; // odd-even fill: an inner subpath cuts a hole
};

namespace IconShapes {

inline constexpr int kUnits = 256;

QPainterPath rect(qreal x, qreal y, qreal w, qreal h);
QPainterPath roundedRect(qreal x, qreal y, qreal w, qreal h, qreal radius);
QPainterPath polygon(const QList<QPointF> &points);

// A pixel-art glyph: rows of '#' (set) and '.' (clear), each pixel a square of
// `pixel` units, the top-left pixel at (x, y).
QPainterPath pixelGlyph(const QList<const char *> &rows, qreal x, qreal y, qreal pixel);

// The shapes painted in order onto a size x size image with straight alpha
// (QImage::Format_ARGB32). Each pixel is the exact average of a grid of aliased
// samples, so the result does not depend on the CPU's blending code.
QImage rasterize(const QList<IconShape> &shapes, int size);

// The same shapes as a standalone SVG document, kUnits wide.
QByteArray toSvg(const QList<IconShape> &shapes);

} // namespace IconShapes
