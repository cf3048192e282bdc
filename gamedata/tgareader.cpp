// SPDX-License-Identifier: GPL-3.0-or-later
#include "tgareader.h"

#include <QtEndian>

namespace TgaReader {

namespace {

constexpr int kHeaderBytes = 18;
constexpr uchar kTopDown = 0x20;

} // namespace

GameDataResult<QImage> read(const QByteArray &file, RowOrder order)
{
    const auto *data = reinterpret_cast<const uchar *>(file.constData());
    const qsizetype size = file.size();
    if (size < kHeaderBytes)
        return GameDataError{GameDataError::Damaged,
                             QStringLiteral("is %1 bytes, too short for a TGA header").arg(size)};
    const int idLength = data[0];
    const int colourMapType = data[1];
    const int type = data[2];
    const int width = qFromLittleEndian<quint16>(data + 12);
    const int height = qFromLittleEndian<quint16>(data + 14);
    const int bits = data[16];
    const bool topDown = order == RowOrder::AsHeader && (data[17] & kTopDown);

    if (type != 2 && type != 3 && type != 10)
        return GameDataError::unsupported(
            QStringLiteral("is a type %1 TGA picture; Quake III reads types 2, 3 "
                           "and 10")
                .arg(type));
    if (colourMapType != 0)
        return GameDataError::unsupported(
            QStringLiteral("has a colour map, which Quake III does not read"));
    const bool bitsOk = bits == 24 || bits == 32 || (type == 3 && bits == 8);
    if (!bitsOk)
        return GameDataError::unsupported(
            QStringLiteral("has %1 bits per pixel; Quake III reads 24 and 32 (8 "
                           "for grey)")
                .arg(bits));
    if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide)
        return GameDataError::unsupported(
            QStringLiteral("is %1 x %2 pixels").arg(width).arg(height));

    const int bytesPerPixel = bits / 8;
    const qsizetype pixels = qsizetype(width) * height;
    auto truncated = [&](qsizetype done) {
        return GameDataError{GameDataError::Damaged,
                             QStringLiteral("ends after %1 of %2 pixels").arg(done).arg(pixels)};
    };
    // Nothing is allocated for pixels the file cannot hold: a run-length packet
    // gives at most 128 pixels for its header byte and one pixel's bytes.
    qsizetype at = kHeaderBytes + idLength;
    const qsizetype left = std::max<qsizetype>(size - at, 0);
    const qsizetype packets = (pixels + 127) / 128;
    if (type != 10 ? left < pixels * bytesPerPixel : left < packets * (1 + bytesPerPixel))
        return GameDataError{GameDataError::Damaged,
                             QStringLiteral("holds %1 bytes of pixels, too few for %2 x %3")
                                 .arg(left)
                                 .arg(width)
                                 .arg(height)};
    QImage image(width, height, QImage::Format_ARGB32);
    if (image.isNull())
        return GameDataError{GameDataError::Unreadable,
                             QStringLiteral("needs more memory than is free")};
    // Pixel n in file order, counted from the first row stored.
    auto store = [&](qsizetype n, const uchar *pixel) {
        const int stored = int(n / width);
        const int y = topDown ? stored : height - 1 - stored;
        QRgb value;
        if (bytesPerPixel == 1)
            value = qRgb(pixel[0], pixel[0], pixel[0]);
        else
            value = qRgba(pixel[2], pixel[1], pixel[0], bytesPerPixel == 4 ? pixel[3] : 255);
        reinterpret_cast<QRgb *>(image.scanLine(y))[n % width] = value;
    };

    if (type != 10) {
        for (qsizetype n = 0; n < pixels; ++n, at += bytesPerPixel)
            store(n, data + at);
        return image;
    }

    qsizetype n = 0;
    while (n < pixels) {
        if (at >= size)
            return truncated(n);
        const uchar packet = data[at++];
        const qsizetype count = std::min<qsizetype>(1 + (packet & 0x7F), pixels - n);
        if (packet & 0x80) {
            if (size - at < bytesPerPixel)
                return truncated(n);
            for (qsizetype i = 0; i < count; ++i)
                store(n++, data + at);
            at += bytesPerPixel;
        } else {
            for (qsizetype i = 0; i < count; ++i, at += bytesPerPixel) {
                if (size - at < bytesPerPixel)
                    return truncated(n);
                store(n++, data + at);
            }
        }
    }
    return image;
}

} // namespace TgaReader
