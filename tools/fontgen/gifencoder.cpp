#include "gifencoder.h"

#include <vector>

namespace {

void putWord(QByteArray &out, int value)
{
    out.append(static_cast<char>(value & 0xff));
    out.append(static_cast<char>((value >> 8) & 0xff));
}

// LZW codes go out least significant bit first, packed into data sub-blocks of
// at most 255 bytes, each preceded by its length.
class CodeWriter
{
public:
    explicit CodeWriter(QByteArray &out) : m_out(out) {}

    void write(int code, int bits)
    {
        m_buffer |= static_cast<quint32>(code) << m_bitCount;
        m_bitCount += bits;
        while (m_bitCount >= 8) {
            pushByte(static_cast<char>(m_buffer & 0xff));
            m_buffer >>= 8;
            m_bitCount -= 8;
        }
    }

    void finish()
    {
        if (m_bitCount > 0)
            pushByte(static_cast<char>(m_buffer & 0xff));
        m_buffer = 0;
        m_bitCount = 0;
        flushBlock();
        m_out.append('\0');
    }

private:
    void pushByte(char b)
    {
        m_block.append(b);
        if (m_block.size() == 255)
            flushBlock();
    }
    void flushBlock()
    {
        if (m_block.isEmpty())
            return;
        m_out.append(static_cast<char>(m_block.size()));
        m_out.append(m_block);
        m_block.clear();
    }

    QByteArray &m_out;
    QByteArray m_block;
    quint32 m_buffer = 0;
    int m_bitCount = 0;
};

void compress(QByteArray &out, const QImage &image, int minCodeSize)
{
    constexpr int kMaxCode = 4095;
    const int alphabet = 1 << minCodeSize;
    const int clearCode = alphabet;
    const int endCode = alphabet + 1;

    // next[code * alphabet + pixel]: the code of string(code) + pixel, or 0 when
    // it has none yet (0 is free for that: new codes start above endCode).
    std::vector<quint16> next(static_cast<std::size_t>(kMaxCode + 1) * alphabet, 0);
    int codeSize = minCodeSize + 1;
    int lastCode = endCode;

    CodeWriter writer(out);
    writer.write(clearCode, codeSize);

    int current = -1;
    for (int y = 0; y < image.height(); ++y) {
        const uchar *line = image.constScanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            const int pixel = line[x];
            if (current < 0) {
                current = pixel;
                continue;
            }
            quint16 &slot = next[static_cast<std::size_t>(current) * alphabet + pixel];
            if (slot != 0) {
                current = slot;
                continue;
            }
            writer.write(current, codeSize);
            slot = static_cast<quint16>(++lastCode);
            // The decoder adds each entry one code later than we do, so widening
            // as soon as our newest entry needs the extra bit keeps both in step.
            if (lastCode >= (1 << codeSize))
                ++codeSize;
            if (lastCode == kMaxCode) {
                writer.write(clearCode, codeSize);
                std::fill(next.begin(), next.end(), 0);
                codeSize = minCodeSize + 1;
                lastCode = endCode;
            }
            current = pixel;
        }
    }
    if (current >= 0)
        writer.write(current, codeSize);
    writer.write(endCode, codeSize);
    writer.finish();
}

} // namespace

QByteArray GifEncoder::encode(const QImage &image)
{
    const QList<QRgb> colours = image.colorTable();
    if (image.format() != QImage::Format_Indexed8 || colours.isEmpty() || colours.size() > 256 ||
        image.width() < 1 || image.height() < 1 || image.width() > 0xffff ||
        image.height() > 0xffff)
        return {};
    for (int y = 0; y < image.height(); ++y) {
        const uchar *line = image.constScanLine(y);
        for (int x = 0; x < image.width(); ++x)
            if (line[x] >= colours.size())
                return {};
    }

    int tableBits = 1;
    while ((1 << tableBits) < colours.size())
        ++tableBits;

    QByteArray out("GIF89a");
    putWord(out, image.width());
    putWord(out, image.height());
    // Global colour table present, 8 bits per primary, not sorted, its size.
    out.append(static_cast<char>(0x80 | (7 << 4) | (tableBits - 1)));
    out.append('\0'); // background colour index
    out.append('\0'); // no aspect ratio given
    for (int i = 0; i < (1 << tableBits); ++i) {
        const QRgb c = i < colours.size() ? colours[i] : qRgb(0, 0, 0);
        out.append(static_cast<char>(qRed(c)));
        out.append(static_cast<char>(qGreen(c)));
        out.append(static_cast<char>(qBlue(c)));
    }

    out.append(',');
    putWord(out, 0);
    putWord(out, 0);
    putWord(out, image.width());
    putWord(out, image.height());
    out.append('\0'); // no local table, not interlaced

    const int minCodeSize = tableBits < 2 ? 2 : tableBits;
    out.append(static_cast<char>(minCodeSize));
    compress(out, image, minCodeSize);

    out.append(';');
    return out;
}
