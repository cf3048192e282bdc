// SPDX-License-Identifier: GPL-3.0-or-later
#include "ezquakeconsole.h"

#include <algorithm>
#include <optional>

namespace {

uchar u(char c)
{
    return static_cast<uchar>(c);
}

struct Pair
{
    char after; // the character after '$'
    uchar byte;
};

// ezQuake's "$" + character escapes other than "$x", digits, "$$" and "$^"
// (teamplay.c, TP_ParseFunChars). "$c" and "$d" give the same glyph; the encoder
// takes the first.
constexpr Pair kPairs[] = {
    {'\\', 0x0D}, {':', 0x0A}, {'[', 0x10}, {']', 0x11}, {'G', 0x86}, {'R', 0x87},
    {'Y', 0x88},  {'B', 0x89}, {'W', 0x84}, {'(', 0x80}, {'=', 0x81}, {')', 0x82},
    {'a', 0x83},  {'<', 0x1D}, {'-', 0x1E}, {'>', 0x1F}, {',', 0x1C}, {'.', 0x9C},
    {'b', 0x8B},  {'c', 0x8D}, {'d', 0x8D}, {'$', '$'},  {'^', '^'},
};

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::optional<uchar> pairByte(char after)
{
    if (after >= '0' && after <= '9')
        return uchar(0x12 + (after - '0'));
    for (const Pair &p : kPairs) {
        if (p.after == after)
            return p.byte;
    }
    return std::nullopt;
}

// A character that may stand in the console line as itself: printable, and not
// the quote that would end the line's quoted value.
bool lineSafe(uchar c)
{
    return c >= 32 && c <= 126 && c != '"';
}

// The shortest text that ezQuake reads as `byte`, in any context: our own '$' and
// '^' are always escaped, so no literal can start an escape with what follows.
QByteArray escapeByte(uchar byte)
{
    if (byte == '$' || byte == '^')
        return QByteArray("$") + char(byte);
    if (lineSafe(byte))
        return QByteArray(1, char(byte));
    if (byte >= 0x12 && byte <= 0x1B)
        return QByteArray("$") + char('0' + (byte - 0x12));
    for (const Pair &p : kPairs) {
        if (p.byte == byte)
            return QByteArray("$") + p.after;
    }
    // '^' and a blank stays two characters, and the quote cannot stand in the line.
    if (byte >= 128 && lineSafe(byte & 127) && (byte & 127) != ' ')
        return QByteArray("^") + char(byte & 127);
    static const char digits[] = "0123456789abcdef";
    return QByteArray("$x") + digits[byte >> 4] + digits[byte & 15];
}

// ezQuake cancels a name whose typed text holds "&r", or "&c" and three
// hexadecimal digits (cl_main.c, CL_OnChange_name_validate): where in `text`.
qsizetype colourCodeAt(const QByteArray &text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&')
            continue;
        if (text[i + 1] == 'r')
            return i;
        if (text[i + 1] == 'c' && i + 4 < text.size() && hexValue(text[i + 2]) >= 0 &&
            hexValue(text[i + 3]) >= 0 && hexValue(text[i + 4]) >= 0)
            return i;
    }
    return -1;
}

} // namespace

namespace EzQuakeConsole {

Line encode(const QByteArray &raw)
{
    Line line;
    QList<int> kept;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const uchar b = u(raw[i]);
        if (b == 0)
            line.leftOut.append({int(i), Reason::NoEscape});
        else if (b <= 13)
            line.leftOut.append({int(i), Reason::Dropped});
        else if (b == '"' || b == '\\')
            line.leftOut.append({int(i), Reason::Refused});
        else
            kept.append(int(i));
    }
    // ezQuake measures the name it sends, after its escapes.
    while (kept.size() >= 64)
        line.leftOut.append({kept.takeLast(), Reason::TooLong});

    QByteArray escaped;
    QList<int> from; // the raw position of each character of `escaped`
    // Leaving out an '&' changes what follows it, so look again; each turn takes
    // one byte out, so this ends.
    for (;;) {
        escaped.clear();
        from.clear();
        for (int at : kept) {
            const QByteArray text = escapeByte(u(raw[at]));
            escaped += text;
            for (qsizetype k = 0; k < text.size(); ++k)
                from.append(at);
        }
        const qsizetype code = colourCodeAt(escaped);
        if (code < 0)
            break;
        line.leftOut.append({from[code], Reason::ColourCode});
        kept.removeOne(from[code]);
    }
    std::sort(line.leftOut.begin(), line.leftOut.end(),
              [](const LeftOut &a, const LeftOut &b) { return a.position < b.position; });
    line.text = "name \"" + escaped + '"';
    return line;
}

QString describe(Reason reason)
{
    switch (reason) {
    case Reason::NoEscape:
        return QStringLiteral("no ezQuake escape gives code 0");
    case Reason::Dropped:
        return QStringLiteral("ezQuake leaves codes 1 to 13 out of the player info");
    case Reason::Refused:
        return QStringLiteral("ezQuake refuses a name holding a quote or a backslash");
    case Reason::ColourCode:
        return QStringLiteral(
            "ezQuake refuses a name holding &r, or &c and three hexadecimal digits");
    case Reason::TooLong:
        return QStringLiteral("ezQuake refuses a name of 64 bytes or more");
    }
    return {};
}

QList<Escape> escapes(const QByteArray &value)
{
    QList<Escape> found;
    const auto at = [&](qsizetype i) { return i < value.size() ? value[i] : '\0'; };
    for (qsizetype i = 0; i < value.size();) {
        if (value[i] == '$' && at(i + 1) == 'x') {
            const int high = hexValue(at(i + 2));
            const int low = high < 0 ? -1 : hexValue(at(i + 3));
            if (low >= 0) {
                const int byte = high * 16 + low;
                found.append({int(i), 4, char(byte == 0 ? ' ' : byte)});
                i += 4;
                continue;
            }
            ++i; // "$x" without two digits: both stand as they are
            continue;
        }
        if (value[i] == '$' && at(i + 1) != '\0') {
            if (const std::optional<uchar> byte = pairByte(value[i + 1])) {
                found.append({int(i), 2, char(*byte)});
                i += 2;
                continue;
            }
        }
        if (value[i] == '^' && at(i + 1) != '\0' && at(i + 1) != ' ') {
            found.append({int(i), 2, char(u(value[i + 1]) | 128)});
            i += 2;
            continue;
        }
        ++i;
    }
    return found;
}

QByteArray decode(const QByteArray &value)
{
    QByteArray out;
    qsizetype next = 0;
    for (const Escape &e : escapes(value)) {
        out += value.mid(next, e.position - next);
        out += e.byte;
        next = e.position + e.length;
    }
    out += value.mid(next);
    return out;
}

} // namespace EzQuakeConsole
