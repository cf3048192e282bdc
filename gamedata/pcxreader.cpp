// SPDX-License-Identifier: GPL-3.0-or-later
#include "pcxreader.h"

#include <QtEndian>

namespace PcxReader {

namespace {

constexpr int kHeaderBytes = 128;
constexpr int kPaletteBytes = 768;

} // namespace

GameDataResult<Picture> read(const QByteArray &file)
{
    const auto *data = reinterpret_cast<const uchar *>(file.constData());
    const qsizetype size = file.size();
    if (size < kHeaderBytes + kPaletteBytes)
        return GameDataError{
            GameDataError::Damaged,
            QStringLiteral("is %1 bytes, too short for a PCX picture with a palette").arg(size)};
    if (data[0] != 0x0A || data[1] != 5 || data[2] != 1)
        return GameDataError::unsupported(
            QStringLiteral("is not a version 5 run-length PCX picture"));
    if (data[3] != 8 || data[65] != 1)
        return GameDataError::unsupported(
            QStringLiteral("has %1 bits per pixel in %2 planes; only 8-bit "
                           "pictures with a palette are read")
                .arg(data[3])
                .arg(data[65]));
    // The engine counts from zero to xmax and ymax, whatever xmin and ymin say.
    const int xmax = qFromLittleEndian<quint16>(data + 8);
    const int ymax = qFromLittleEndian<quint16>(data + 10);
    if (xmax >= kMaxWidth || ymax >= kMaxHeight)
        return GameDataError::unsupported(
            QStringLiteral("is %1 x %2 pixels; Quake II reads at most %3 x %4")
                .arg(xmax + 1)
                .arg(ymax + 1)
                .arg(kMaxWidth)
                .arg(kMaxHeight));

    Picture picture;
    picture.width = xmax + 1;
    picture.height = ymax + 1;
    picture.indices = QByteArray(qsizetype(picture.width) * picture.height, Qt::Uninitialized);
    auto *out = reinterpret_cast<uchar *>(picture.indices.data());
    qsizetype at = kHeaderBytes;
    for (int y = 0; y < picture.height; ++y) {
        uchar *row = out + qsizetype(y) * picture.width;
        for (int x = 0; x < picture.width;) {
            // A run is a byte 0xC0 + count, then the value; any other byte is one pixel.
            const bool isRun = at < size && (data[at] & 0xC0) == 0xC0;
            if (at + (isRun ? 2 : 1) > size)
                return GameDataError{
                    GameDataError::Damaged,
                    QStringLiteral("ends in row %1 of %2").arg(y).arg(picture.height)};
            const int run = isRun ? data[at] & 0x3F : 1;
            const uchar value = data[at + (isRun ? 1 : 0)];
            at += isRun ? 2 : 1;
            const int count = std::min(run, picture.width - x);
            std::fill_n(row + x, count, value);
            x += count;
        }
    }
    picture.palette = file.right(kPaletteBytes);
    return picture;
}

} // namespace PcxReader
