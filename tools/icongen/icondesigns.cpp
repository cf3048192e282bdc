// SPDX-License-Identifier: GPL-3.0-or-later
#include "icondesigns.h"

using namespace IconShapes;

namespace {

// Sizes up to this one get the plain drawing.
constexpr int kSmall = 24;

bool detailed(int size)
{
    return size == 0 || size > kSmall;
}

// Most edges lie on multiples of 16 units, whole pixels at 16, 32, 64, 128 and
// 256 pixels, so the small icons stay sharp.

// Glyphsmith: a golden pixel glyph forged on an anvil, on a dark tile.
QList<IconShape> glyphsmith(int size)
{
    const bool detail = detailed(size);
    QList<IconShape> shapes;
    shapes.append({qRgb(0x26, 0x30, 0x40), roundedRect(16, 16, 224, 224, 40)});

    const QList<const char *> letter = {".####.", "#.....", "#..###", "#....#", ".####."};
    if (detail) {
        // Sparks flying off the glyph.
        const QRgb spark = qRgb(0xff, 0x8a, 0x2a);
        shapes.append({spark, rect(48, 64, 16, 16)});
        shapes.append({spark, rect(40, 104, 8, 8)});
        shapes.append({spark, rect(192, 48, 16, 16)});
        shapes.append({spark, rect(208, 96, 8, 8)});
        shapes.append({qRgb(0x9a, 0x62, 0x10), pixelGlyph(letter, 88, 56, 16)});
    }
    shapes.append({qRgb(0xf5, 0xc2, 0x42), pixelGlyph(letter, 80, 48, 16)});

    const QList<QPointF> anvil = {{32, 144},  {216, 144}, {216, 168}, {168, 176}, {168, 196},
                                  {192, 216}, {64, 216},  {88, 196},  {88, 176},  {64, 164}};
    shapes.append({qRgb(0x8e, 0x99, 0xa6), polygon(anvil)});
    if (detail) {
        shapes.append(
            {qRgb(0xc8, 0xcf, 0xd7), polygon({{32, 144}, {216, 144}, {216, 152}, {44, 152}})});
        shapes.append(
            {qRgb(0x6b, 0x75, 0x82), polygon({{88, 196}, {168, 196}, {192, 216}, {64, 216}})});
    }
    return shapes;
}

// Glyphbox: a character grid on a paper card, its middle cell magnified.
QList<IconShape> glyphbox(int size)
{
    const bool detail = detailed(size);
    const QRgb ink = qRgb(0x3b, 0x42, 0x52);
    QList<IconShape> shapes;
    shapes.append({ink, roundedRect(16, 16, 224, 224, 40)});
    // The small card keeps a whole-pixel border and cells on whole pixels.
    const int border = detail ? 12 : 16;
    shapes.append({qRgb(0xf2, 0xee, 0xe3), roundedRect(16 + border, 16 + border, 224 - 2 * border,
                                                       224 - 2 * border, 40 - border)});
    const int cell = detail ? 48 : 32;
    const int step = detail ? 56 : 48;
    const int first = 128 - cell / 2 - step;
    QPainterPath cells;
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            if (row != 1 || col != 1)
                cells.addPath(rect(first + col * step, first + row * step, cell, cell));
    shapes.append({qRgb(0xa9, 0xb8, 0xcc), cells});

    const QRgb gold = qRgb(0xf5, 0xc2, 0x42);
    if (!detail) {
        shapes.append({gold, rect(first + step, first + step, cell, cell)});
        return shapes;
    }
    shapes.append({qRgb(0xc4, 0xbd, 0xaa), rect(88, 88, 96, 96)}); // shadow
    shapes.append({ink, rect(80, 80, 96, 96)});
    shapes.append({gold, rect(88, 88, 80, 80)});
    const QList<const char *> letter = {"...##...", "..####..", ".##..##.", ".##..##.",
                                        ".######.", ".##..##.", ".##..##."};
    shapes.append({ink, pixelGlyph(letter, 96, 100, 8)});
    return shapes;
}

} // namespace

namespace IconDesigns {

QList<IconDesign> all()
{
    return {{QStringLiteral("com.kestrelworks.glyphsmith"), glyphsmith},
            {QStringLiteral("com.kestrelworks.glyphbox"), glyphbox}};
}

} // namespace IconDesigns
