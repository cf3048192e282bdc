// SPDX-License-Identifier: GPL-3.0-or-later
#include "fontgrid.h"

#include "gamefont.h"

namespace FontGrid {

namespace {

constexpr int kGlyphsPerSide = 16;

} // namespace

GameDataResult<QImage> fromPicture(const QImage &picture)
{
    const int width = picture.width();
    const int height = picture.height();
    if (width != height || width < kMinSide || width > kMaxSide || width % kGlyphsPerSide != 0)
        return GameDataError::unsupported(
            QStringLiteral("is %1 x %2 pixels, not a square of 16 x 16 glyphs "
                           "(128 x 128 or 256 x 256)")
                .arg(width)
                .arg(height));

    // What the engine draws over black: the colour weighed by its alpha. Qt's
    // own conversion to RGB32 would undo the weighing (a white pixel of alpha 1
    // comes out white), so the alpha is dropped here, after premultiplying.
    QImage opaque = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (opaque.isNull())
        return GameDataError{GameDataError::Unreadable,
                             QStringLiteral("needs more memory than is free")};
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(opaque.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] |= 0xFF000000u;
    }
    opaque.reinterpretAsFormat(QImage::Format_RGB32);
    const int side = GameFont::kSide;
    if (width == side)
        return opaque;
    const auto mode = width * 2 == side ? Qt::FastTransformation : Qt::SmoothTransformation;
    return opaque.scaled(side, side, Qt::IgnoreAspectRatio, mode);
}

GameDataResult<QImage> fromIndexed(const QByteArray &indices, int width, int height,
                                   const QByteArray &palette, const QList<uchar> &transparent,
                                   int glyphsPerRow)
{
    Q_ASSERT(indices.size() == qsizetype(width) * height);
    if (palette.size() < 768)
        return GameDataError{
            GameDataError::Damaged,
            QStringLiteral("the palette is %1 bytes, not 768").arg(palette.size())};
    QRgb colours[256];
    const auto *rgb = reinterpret_cast<const uchar *>(palette.constData());
    for (int i = 0; i < 256; ++i)
        colours[i] = qRgb(rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]);
    for (uchar index : transparent)
        colours[index] = qRgb(0, 0, 0);

    const auto *source = reinterpret_cast<const uchar *>(indices.constData());
    if (glyphsPerRow == kGlyphsPerSide) {
        QImage image(width, height, QImage::Format_RGB32);
        if (image.isNull())
            return GameDataError::unsupported(
                QStringLiteral("is %1 x %2 pixels").arg(width).arg(height));
        for (int y = 0; y < height; ++y) {
            auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (int x = 0; x < width; ++x)
                line[x] = colours[source[qsizetype(y) * width + x]];
        }
        return fromPicture(image);
    }

    // Wider rows of glyphs are folded into rows of 16, keeping the first 256.
    const int glyph = width / glyphsPerRow;
    const int side = glyph * kGlyphsPerSide;
    if (glyph == 0 || width % glyphsPerRow != 0 || height < glyph * (256 / glyphsPerRow))
        return GameDataError::unsupported(QStringLiteral("is %1 x %2 pixels, not %3 glyphs a row")
                                              .arg(width)
                                              .arg(height)
                                              .arg(glyphsPerRow));
    QImage image(side, side, QImage::Format_RGB32);
    for (int y = 0; y < side; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < side; ++x) {
            const int n = (y / glyph) * kGlyphsPerSide + x / glyph;
            const int sx = (n % glyphsPerRow) * glyph + x % glyph;
            const int sy = (n / glyphsPerRow) * glyph + y % glyph;
            line[x] = colours[source[qsizetype(sy) * width + sx]];
        }
    }
    return fromPicture(image);
}

} // namespace FontGrid
