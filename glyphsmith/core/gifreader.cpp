#include "gifreader.h"

#include <QList>
#include <algorithm>
#include <vector>

namespace GifReader {

QSize screenSize(const QByteArray &file)
{
    if (file.size() < 10 || !file.startsWith("GIF8"))
        return {};
    const auto *data = reinterpret_cast<const uchar *>(file.constData());
    return {int(data[6] | data[7] << 8), int(data[8] | data[9] << 8)};
}

QImage readPlain(const QByteArray &file)
{
    const auto *data = reinterpret_cast<const uchar *>(file.constData());
    const qsizetype size = file.size();
    qsizetype at = 0;
    auto has = [&](qsizetype n) { return at + n <= size; };
    auto word = [&](qsizetype i) { return int(data[i] | data[i + 1] << 8); };

    if (!has(13) || !file.startsWith("GIF8"))
        return {};
    const int screenWidth = word(6);
    const int screenHeight = word(8);
    if (screenWidth > kMaxSide || screenHeight > kMaxSide)
        return {};
    const uchar screenFlags = data[10];
    at = 13;
    QList<QRgb> globalColours;
    auto readTable = [&](uchar flags, QList<QRgb> &table) {
        const int count = 2 << (flags & 7);
        if (!has(3 * qsizetype(count)))
            return false;
        for (int i = 0; i < count; ++i, at += 3)
            table.append(qRgb(data[at], data[at + 1], data[at + 2]));
        return true;
    };
    if ((screenFlags & 0x80) && !readTable(screenFlags, globalColours))
        return {};

    int transparent = -1;
    while (has(1)) {
        const uchar block = data[at++];
        if (block == 0x21) {
            if (!has(1))
                return {};
            const uchar label = data[at++];
            // The plugin reads the first block of these two by its own rules, and
            // misreads the rest of the file when that block is not as the format
            // says (four bytes of control, a non-empty application name).
            if (label == 0xF9) {
                if (!has(5) || data[at] != 4)
                    return {};
                transparent = (data[at + 1] & 1) ? data[at + 4] : -1;
            }
            if (label == 0xFF && (!has(1) || data[at] == 0))
                return {};
            while (has(1) && data[at] != 0)
                at += 1 + data[at];
            if (!has(1))
                return {};
            ++at;
            continue;
        }
        if (block != 0x2C)
            return {};

        if (!has(9))
            return {};
        const int width = word(at + 4);
        const int height = word(at + 6);
        const uchar frameFlags = data[at + 8];
        // A frame smaller than the screen leaves the rest to rules about the
        // background colour that are the plugin's to apply.
        if (word(at) != 0 || word(at + 2) != 0 || width != screenWidth || height != screenHeight ||
            width == 0 || height == 0)
            return {};
        at += 9;
        QList<QRgb> localColours;
        if ((frameFlags & 0x80) && !readTable(frameFlags, localColours))
            return {};
        const QList<QRgb> &colours = (frameFlags & 0x80) ? localColours : globalColours;

        if (!has(1))
            return {};
        const int minCodeSize = data[at++];
        if (minCodeSize < 2 || minCodeSize > 8)
            return {};
        QByteArray codes;
        while (has(1) && data[at] != 0) {
            const int length = data[at++];
            if (!has(length))
                return {};
            codes.append(reinterpret_cast<const char *>(data + at), length);
            at += length;
        }

        // LZW: each code stands for a string of indexes, kept as its last index,
        // its length and the code of the string before it.
        const int clear = 1 << minCodeSize;
        const int end = clear + 1;
        std::vector<quint16> prefix(4096);
        std::vector<quint16> length(4096, 1);
        std::vector<uchar> suffix(4096);
        std::vector<uchar> first(4096);
        for (int i = 0; i < clear; ++i) {
            suffix[size_t(i)] = uchar(i);
            first[size_t(i)] = uchar(i);
        }
        const size_t wanted = size_t(width) * size_t(height);
        std::vector<uchar> indexes(wanted);
        size_t produced = 0;
        int codeSize = minCodeSize + 1;
        int next = end + 1;
        int previous = -1;
        quint32 bits = 0;
        int bitCount = 0;
        qsizetype byte = 0;
        // Codes after the frame is full still have to be valid: the plugin reads
        // them all, and refuses the picture over a broken one.
        for (;;) {
            while (bitCount < codeSize && byte < codes.size()) {
                bits |= quint32(uchar(codes[byte++])) << bitCount;
                bitCount += 8;
            }
            if (bitCount < codeSize)
                break;
            const int code = int(bits & ((1u << codeSize) - 1));
            bits >>= codeSize;
            bitCount -= codeSize;
            if (code == clear) {
                codeSize = minCodeSize + 1;
                next = end + 1;
                previous = -1;
                continue;
            }
            if (code == end)
                break;
            if (code > next || (code == next && previous < 0))
                return {};
            if (previous >= 0 && next < 4096) {
                prefix[size_t(next)] = quint16(previous);
                length[size_t(next)] = quint16(length[size_t(previous)] + 1);
                first[size_t(next)] = first[size_t(previous)];
                suffix[size_t(next)] = first[size_t(code == next ? previous : code)];
                ++next;
                if (next == (1 << codeSize) && codeSize < 12)
                    ++codeSize;
            }
            previous = code;
            if (produced == wanted)
                continue;
            // The string is written from its end back; what lies past the frame
            // is dropped.
            const size_t count = length[size_t(code)];
            size_t position = produced + count;
            int c = code;
            for (; position > wanted; --position)
                c = prefix[size_t(c)];
            for (uchar *out = indexes.data() + position; out > indexes.data() + produced;) {
                *--out = suffix[size_t(c)];
                c = prefix[size_t(c)];
            }
            produced = std::min(produced + count, wanted);
        }
        if (produced < wanted)
            return {};

        QImage image(width, height, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        // Interlaced frames store every 8th row from 0, every 8th from 4, every
        // 4th from 2, then every 2nd from 1.
        static constexpr int kPassStart[] = {0, 4, 2, 1};
        static constexpr int kPassStep[] = {8, 8, 4, 2};
        const bool interlaced = frameFlags & 0x40;
        size_t i = 0;
        for (int pass = interlaced ? 0 : 3; pass < 4; ++pass) {
            const int start = interlaced ? kPassStart[pass] : 0;
            const int step = interlaced ? kPassStep[pass] : 1;
            for (int y = start; y < height; y += step) {
                auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
                for (int x = 0; x < width; ++x) {
                    const int index = indexes[i++];
                    if (index >= colours.size())
                        return {};
                    // The plugin keeps a transparent pixel's colour, at alpha 0.
                    line[x] = index == transparent ? colours[index] & RGB_MASK : colours[index];
                }
            }
        }
        return image;
    }
    return {};
}

} // namespace GifReader
