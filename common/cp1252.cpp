#include "cp1252.h"

#include <array>

namespace {

// 0x80..0x9F; zero marks the undefined bytes, which pass through as C1 controls.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0000, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x0000, 0x017D, 0x0000, 0x0000, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x0000, 0x017E, 0x0178};

char16_t decode(unsigned char b)
{
    if (b >= 0x80 && b <= 0x9F && kHigh[b - 0x80] != 0)
        return kHigh[b - 0x80];
    return b;
}

int encode(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (int i = 0; i < 32; ++i) {
        if (kHigh[i] == c || (kHigh[i] == 0 && c == 0x80 + i))
            return 0x80 + i;
    }
    return -1;
}

} // namespace

namespace Cp1252 {

QString toUnicode(const QByteArray &bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (char b : bytes)
        out.append(QChar(decode(static_cast<unsigned char>(b))));
    return out;
}

QByteArray fromUnicode(const QString &text, bool *lossless)
{
    QByteArray out;
    out.reserve(text.size());
    bool allKept = true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        // A character outside the basic plane is one character, not two.
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        const int b = c.isSurrogate() ? -1 : encode(c.unicode());
        if (b < 0) {
            allKept = false;
            out.append('?');
        } else {
            out.append(static_cast<char>(b));
        }
    }
    if (lossless)
        *lossless = allKept;
    return out;
}

QString toDisplay(const QByteArray &bytes)
{
    QString out = toUnicode(bytes);
    for (QChar &c : out) {
        if (c.unicode() >= 1 && c.unicode() <= 31)
            c = QChar(char16_t(0x2400 + c.unicode()));
    }
    return out;
}

} // namespace Cp1252
