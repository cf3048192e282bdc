#include "profilefile.h"

#include "textfile.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <optional>
#include <vector>

namespace {

constexpr int kLockTimeoutMs = 5000;

using TextFile::Line;

// Lines stay raw bytes, so everything we don't touch goes back out as it was,
// whatever its encoding or line end; a byte-order mark is set aside and restored.
std::vector<Line> splitLines(const QByteArray &data)
{
    std::vector<Line> lines = TextFile::splitLines(data);
    if (!lines.empty() && lines.front().text.startsWith("\xEF\xBB\xBF"))
        lines.front().text.remove(0, 3);
    return lines;
}

bool hasBom(const QByteArray &data)
{
    return data.startsWith("\xEF\xBB\xBF");
}

bool isComment(const QString &trimmed)
{
    return trimmed.startsWith(QLatin1Char(';')) || trimmed.startsWith(QLatin1Char('#'));
}

// The section name of a header line; nothing when the line is no header.
std::optional<QString> sectionName(const QByteArray &text)
{
    const QString trimmed = QString::fromUtf8(text).trimmed();
    if (!trimmed.startsWith(QLatin1Char('[')))
        return std::nullopt;
    const qsizetype close = trimmed.indexOf(QLatin1Char(']'));
    if (close < 0)
        return std::nullopt;
    return trimmed.mid(1, close - 1).trimmed();
}

// The key of a "key=value" line, or a null string for anything else.
QString keyName(const QByteArray &text)
{
    const qsizetype eq = text.indexOf('=');
    if (eq < 0)
        return {};
    const QString key = QString::fromUtf8(text.left(eq)).trimmed();
    if (key.isEmpty() || isComment(key))
        return {};
    return key;
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

struct Position
{
    int header = -1;  // line of the section header; -1 when the section is missing
    int lastKey = -1; // last key line of the section; -1 when it has none
    int key = -1;     // line of the key; -1 when it is missing
};

Position locate(const std::vector<Line> &lines, const QString &section, const QString &key)
{
    Position pos;
    for (int i = 0; i < int(lines.size()); ++i) {
        if (const auto name = sectionName(lines[i].text)) {
            if (pos.header >= 0)
                break;
            if (sameName(*name, section))
                pos.header = i;
            continue;
        }
        if (pos.header < 0)
            continue;
        const QString k = keyName(lines[i].text);
        if (k.isNull())
            continue;
        pos.lastKey = i;
        if (pos.key < 0 && sameName(k, key))
            pos.key = i;
    }
    return pos;
}

QString cutValue(QString value)
{
    if (value.size() <= ProfileFile::kMaxValueLength)
        return value;
    value.truncate(ProfileFile::kMaxValueLength);
    // Half a surrogate pair is no character at all.
    if (value.back().isHighSurrogate())
        value.chop(1);
    return value;
}

bool carriesLineBreak(const QString &text)
{
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r')) ||
           text.contains(QChar(0));
}

} // namespace

namespace ProfileFile {

QString readValue(const QString &file, const QString &section, const QString &key)
{
    QFile in(file);
    if (QFileInfo(file).isDir() || !in.open(QIODevice::ReadOnly))
        return {};
    const std::vector<Line> lines = splitLines(in.readAll());
    const Position pos = locate(lines, section.trimmed(), key.trimmed());
    if (pos.key < 0)
        return {};
    const QByteArray &text = lines[pos.key].text;
    return cutValue(QString::fromUtf8(text.mid(text.indexOf('=') + 1)));
}

bool writeValue(const QString &file, const QString &section, const QString &key,
                const QString &value)
{
    const QString sec = section.trimmed();
    const QString k = key.trimmed();
    if (sec.isEmpty() || k.isEmpty() || carriesLineBreak(sec) || carriesLineBreak(k) ||
        carriesLineBreak(value) || sec.contains(QLatin1Char(']')) || k.contains(QLatin1Char('=')) ||
        isComment(k) || k.startsWith(QLatin1Char('[')))
        return false;

    QLockFile lock(file + QLatin1String(".lock"));
    if (!lock.tryLock(kLockTimeoutMs))
        return false;

    // Re-read under the lock so a concurrent writer's change is not lost.
    const TextFile::Contents read = TextFile::read(file);
    if (!read.ok)
        return false;
    const QByteArray &original = read.data;

    std::vector<Line> lines = splitLines(original);
    const Position pos = locate(lines, sec, k);
    const QByteArray crlf("\r\n");

    if (pos.key >= 0) {
        Line &line = lines[pos.key];
        // Keep the key as the file spells it; only the value changes.
        const QByteArray written = line.text.left(line.text.indexOf('=')).trimmed();
        line.text = written + '=' + value.toUtf8();
    } else {
        const Line entry{k.toUtf8() + '=' + value.toUtf8(), crlf};
        if (pos.header >= 0) {
            const int after = pos.lastKey >= 0 ? pos.lastKey : pos.header;
            if (lines[after].end.isEmpty())
                lines[after].end = crlf;
            lines.insert(lines.begin() + after + 1, entry);
        } else {
            if (!lines.empty()) {
                if (lines.back().end.isEmpty())
                    lines.back().end = crlf;
                if (!lines.back().text.trimmed().isEmpty())
                    lines.push_back({{}, crlf});
            }
            lines.push_back({'[' + sec.toUtf8() + ']', crlf});
            lines.push_back(entry);
        }
    }

    QByteArray out;
    if (hasBom(original))
        out.append("\xEF\xBB\xBF");
    out.append(TextFile::joinLines(lines));
    return TextFile::writeAtomically(file, out).isEmpty();
}

} // namespace ProfileFile
