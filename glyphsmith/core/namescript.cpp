// SPDX-License-Identifier: GPL-3.0-or-later
#include "namescript.h"

#include <QList>

namespace {

bool isBlank(char c)
{
    return static_cast<uchar>(c) <= ' ';
}

void skipBlanks(const QByteArray &s, qsizetype &pos)
{
    while (pos < s.size() && isBlank(s[pos]))
        ++pos;
}

// The next word of a command, quoted or not.
QByteArray word(const QByteArray &s, qsizetype &pos)
{
    skipBlanks(s, pos);
    if (pos < s.size() && s[pos] == '"') {
        const qsizetype close = s.indexOf('"', pos + 1);
        const qsizetype end = close < 0 ? s.size() : close;
        const QByteArray w = s.mid(pos + 1, end - pos - 1);
        pos = close < 0 ? s.size() : close + 1;
        return w;
    }
    const qsizetype start = pos;
    while (pos < s.size() && !isBlank(s[pos]))
        ++pos;
    return s.mid(start, pos - start);
}

bool is(const QByteArray &w, const char *name)
{
    return w.compare(name, Qt::CaseInsensitive) == 0;
}

std::optional<QByteArray> nameValue(const QByteArray &command)
{
    qsizetype pos = 0;
    const QByteArray first = word(command, pos);
    if (!is(first, "name")) {
        if (!is(first, "set") && !is(first, "seta") && !is(first, "setu"))
            return std::nullopt;
        if (!is(word(command, pos), "name"))
            return std::nullopt;
    }
    skipBlanks(command, pos);
    if (pos >= command.size())
        return std::nullopt;
    if (command[pos] == '"')
        return word(command, pos);
    qsizetype end = command.size();
    while (end > pos && isBlank(command[end - 1]))
        --end;
    return command.mid(pos, end - pos);
}

// The commands of one line (no CR or LF in it), comments left out.
QList<QByteArray> commands(const QByteArray &line)
{
    QList<QByteArray> out;
    bool inQuote = false;
    qsizetype start = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"') {
            inQuote = !inQuote;
        } else if (!inQuote && c == ';') {
            out.append(line.mid(start, i - start));
            start = i + 1;
        } else if (!inQuote && c == '/' && i + 1 < line.size() && line[i + 1] == '/') {
            out.append(line.mid(start, i - start));
            return out;
        }
    }
    out.append(line.mid(start));
    return out;
}

QList<QByteArray> lines(const QByteArray &text)
{
    QList<QByteArray> out;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == '\n' || text[i] == '\r') {
            out.append(text.mid(start, i - start));
            start = i + 1;
        }
    }
    return out;
}

} // namespace

namespace NameScript {

std::optional<QByteArray> lastNameValue(const QByteArray &script)
{
    std::optional<QByteArray> last;
    for (const QByteArray &line : lines(script)) {
        for (const QByteArray &command : commands(line)) {
            if (std::optional<QByteArray> value = nameValue(command))
                last = std::move(value);
        }
    }
    return last;
}

QByteArray stripFraming(const QByteArray &value, const Framing &framing)
{
    // Only what stands inside the quotes is part of the value.
    const qsizetype open = framing.prefix.lastIndexOf('"');
    const qsizetype close = framing.suffix.indexOf('"');
    const QByteArray head = open < 0 ? QByteArray() : framing.prefix.mid(open + 1);
    const QByteArray tail = close < 0 ? QByteArray() : framing.suffix.left(close);
    QByteArray raw = value;
    if (!head.isEmpty() && raw.startsWith(head))
        raw.remove(0, head.size());
    if (!tail.isEmpty() && raw.endsWith(tail))
        raw.chop(tail.size());
    return raw;
}

std::optional<QByteArray> rawNameFromScript(const QByteArray &script, const Framing &framing)
{
    const std::optional<QByteArray> value = lastNameValue(script);
    if (!value)
        return std::nullopt;
    return stripFraming(*value, framing);
}

QByteArray rawNameFromPaste(const QByteArray &text, const Framing &framing)
{
    QByteArray t = text;
    while (t.endsWith('\n') || t.endsWith('\r'))
        t.chop(1);
    if (t.contains('\n') || t.contains('\r'))
        return t;
    if (const std::optional<QByteArray> value = nameValue(commands(t).first()))
        return stripFraming(*value, framing);
    return t;
}

std::optional<QByteArray> consoleLineValue(const QByteArray &text)
{
    QByteArray t = text;
    while (t.endsWith('\n') || t.endsWith('\r'))
        t.chop(1);
    if (t.contains('\n') || t.contains('\r'))
        return std::nullopt;
    qsizetype pos = 0;
    if (!is(word(t, pos), "name"))
        return std::nullopt;
    skipBlanks(t, pos);
    if (pos >= t.size() || t[pos] != '"')
        return std::nullopt;
    const qsizetype close = t.indexOf('"', pos + 1);
    if (close < 0)
        return std::nullopt;
    for (qsizetype i = close + 1; i < t.size(); ++i) {
        if (!isBlank(t[i]))
            return std::nullopt;
    }
    return t.mid(pos + 1, close - pos - 1);
}

bool looksLikeText(const QByteArray &bytes)
{
    if (bytes.contains('\0'))
        return false;
    // Names in quotes may hold control codes as glyphs; commands do not.
    qsizetype controls = 0;
    bool inQuote = false;
    for (const char c : bytes) {
        const uchar b = static_cast<uchar>(c);
        if (c == '\n' || c == '\r')
            inQuote = false;
        else if (c == '"')
            inQuote = !inQuote;
        else if (!inQuote && ((b < 32 && c != '\t' && c != '\f' && c != '\v') || b == 127))
            ++controls;
    }
    return controls * 16 <= bytes.size();
}

} // namespace NameScript
