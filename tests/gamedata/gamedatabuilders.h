// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Small game archives and pictures made from our own bytes, for the tests of
// the readers: nothing here comes from a game.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QList>
#include <QPair>
#include <QtEndian>
#include <zlib.h>

namespace GameDataBuilders {

using Members = QList<QPair<QByteArray, QByteArray>>; // name, bytes

inline void put32(QByteArray &bytes, qint64 at, qint64 value)
{
    qToLittleEndian<quint32>(quint32(value), bytes.data() + at);
}

inline QByteArray le32(qint64 value)
{
    QByteArray bytes(4, '\0');
    put32(bytes, 0, value);
    return bytes;
}

inline QByteArray le16(int value)
{
    QByteArray bytes(2, '\0');
    qToLittleEndian<quint16>(quint16(value), bytes.data());
    return bytes;
}

// PACK: header, members, directory of 64-byte entries.
inline QByteArray pak(const Members &members)
{
    QByteArray body;
    QByteArray directory;
    for (const auto &[name, bytes] : members) {
        QByteArray entry = name.left(55);
        entry.resize(56, '\0');
        entry += le32(12 + body.size()) + le32(bytes.size());
        directory += entry;
        body += bytes;
    }
    return "PACK" + le32(12 + body.size()) + le32(directory.size()) + body + directory;
}

// WAD2: header, lumps, directory of 32-byte entries.
inline QByteArray wad(const Members &lumps)
{
    QByteArray body;
    QByteArray directory;
    for (const auto &[name, bytes] : lumps) {
        QByteArray entry = le32(12 + body.size()) + le32(bytes.size()) + le32(bytes.size());
        entry += QByteArray("\x44\0\0\0", 4) + name.left(16);
        entry.resize(32, '\0');
        directory += entry;
        body += bytes;
    }
    return "WAD2" + le32(lumps.size()) + le32(12 + body.size()) + body + directory;
}

inline quint32 crc32(const QByteArray &bytes)
{
    quint32 crc = 0xFFFFFFFFu;
    for (char c : bytes) {
        crc ^= uchar(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// A zip of stored (uncompressed) members, as a .pk3.
inline QByteArray zip(const Members &members)
{
    QByteArray body;
    QByteArray directory;
    for (const auto &[name, bytes] : members) {
        const QByteArray common = le16(0) + le16(0) + le16(0) + le16(0x21) + le32(crc32(bytes)) +
                                  le32(bytes.size()) + le32(bytes.size()) + le16(name.size()) +
                                  le16(0);
        directory += "PK\x01\x02" + le16(20) + le16(20) + common + le16(0) + le16(0) + le16(0) +
                     le32(0) + le32(body.size()) + name;
        body += "PK\x03\x04" + le16(20) + common + name + bytes;
    }
    return body + directory + "PK\x05\x06" + le16(0) + le16(0) + le16(members.size()) +
           le16(members.size()) + le32(directory.size()) + le32(body.size()) + le16(0);
}

// A zip of one deflated member that states `statedSize` bytes, whatever it
// inflates to (a zip bomb states few and inflates to many).
inline QByteArray deflatedZip(const QByteArray &name, const QByteArray &bytes, qint64 statedSize)
{
    z_stream stream = {};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    QByteArray packed(qsizetype(deflateBound(&stream, uLong(bytes.size()))), '\0');
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(bytes.constData()));
    stream.avail_in = uInt(bytes.size());
    stream.next_out = reinterpret_cast<Bytef *>(packed.data());
    stream.avail_out = uInt(packed.size());
    deflate(&stream, Z_FINISH);
    packed.resize(qsizetype(stream.total_out));
    deflateEnd(&stream);
    const QByteArray common = le16(0) + le16(8) + le16(0) + le16(0x21) + le32(crc32(bytes)) +
                              le32(packed.size()) + le32(statedSize) + le16(name.size()) + le16(0);
    const QByteArray local = "PK\x03\x04" + le16(20) + common + name + packed;
    const QByteArray directory = "PK\x01\x02" + le16(20) + le16(20) + common + le16(0) + le16(0) +
                                 le16(0) + le32(0) + le32(0) + name;
    return local + directory + "PK\x05\x06" + le16(0) + le16(0) + le16(1) + le16(1) +
           le32(directory.size()) + le32(local.size()) + le16(0);
}

// A 256-colour palette of our own: index i is (i, 255 - i, i / 2).
inline QByteArray palette()
{
    QByteArray bytes;
    for (int i = 0; i < 256; ++i)
        bytes += char(i) + QByteArray(1, char(255 - i)) + QByteArray(1, char(i / 2));
    return bytes;
}

inline QRgb paletteColour(int index)
{
    return qRgb(index, 255 - index, index / 2);
}

// An 8-bit picture whose pixel (x, y) holds f(x, y).
template <typename F> QByteArray indices(int width, int height, F f)
{
    QByteArray bytes(qsizetype(width) * height, '\0');
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bytes[qsizetype(y) * width + x] = char(f(x, y));
    return bytes;
}

// PCX, version 5, run-length, 8 bits: each row of pixels as runs, then 0x0C
// and the palette.
inline QByteArray pcx(const QByteArray &pixels, int width, int height, const QByteArray &colours)
{
    QByteArray header(128, '\0');
    header[0] = 0x0A;
    header[1] = 5;
    header[2] = 1;
    header[3] = 8;
    qToLittleEndian<quint16>(quint16(width - 1), header.data() + 8);
    qToLittleEndian<quint16>(quint16(height - 1), header.data() + 10);
    header[65] = 1;
    qToLittleEndian<quint16>(quint16(width), header.data() + 66);
    QByteArray data;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width;) {
            const char value = pixels[qsizetype(y) * width + x];
            int run = 1;
            while (x + run < width && run < 63 && pixels[qsizetype(y) * width + x + run] == value)
                ++run;
            if (run > 1 || (uchar(value) & 0xC0) == 0xC0)
                data += char(0xC0 | run);
            data += value;
            x += run;
        }
    }
    return header + data + '\x0C' + colours;
}

enum class TgaRows { BottomUp, TopDown };

// TGA type 2 (or 10 with `rle`: one raw packet a pixel, to keep it simple),
// 32 bits, the rows in the stated order and the origin bit set to match.
inline QByteArray tga(const QImage &picture, TgaRows rows, bool rle = false, int bits = 32)
{
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    QByteArray header(18, '\0');
    header[2] = char(rle ? 10 : 2);
    qToLittleEndian<quint16>(quint16(image.width()), header.data() + 12);
    qToLittleEndian<quint16>(quint16(image.height()), header.data() + 14);
    header[16] = char(bits);
    header[17] = char((bits == 32 ? 8 : 0) | (rows == TgaRows::TopDown ? 0x20 : 0));
    QByteArray data;
    for (int i = 0; i < image.height(); ++i) {
        const int y = rows == TgaRows::TopDown ? i : image.height() - 1 - i;
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (rle)
                data += '\0';
            data += char(qBlue(p)) + QByteArray(1, char(qGreen(p))) + char(qRed(p));
            if (bits == 32)
                data += char(qAlpha(p));
        }
    }
    return header + data;
}

inline bool write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace GameDataBuilders
