#include "profilefile.h"

#include "textfile.h"

#include <QStringDecoder>
#include <optional>

namespace {

// Settings are a user's own, and another program only ever holds the lock for
// one read and one rename.
constexpr int kLockTimeoutMs = 5000;
const QByteArray kBom("\xEF\xBB\xBF");
const QByteArray kCrLf("\r\n");

using TextFile::Lines;
using Line = TextFile::Lines::Line;

// A byte-order mark that begins a name or value is a character of it; only the
// file's own, at its very start, is not (and is skipped before the first line).
QString decode(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom |
                                                     QStringDecoder::Flag::Stateless);
    return decoder(bytes);
}

bool isComment(const QString &trimmed)
{
    return trimmed.startsWith(QLatin1Char(';')) || trimmed.startsWith(QLatin1Char('#'));
}

// The section name of a header line; nothing when the line is no header.
std::optional<QString> sectionName(QByteArrayView text)
{
    if (!text.trimmed().startsWith('['))
        return std::nullopt;
    const QString trimmed = decode(text).trimmed();
    const qsizetype close = trimmed.indexOf(QLatin1Char(']'));
    if (close < 0)
        return std::nullopt;
    return trimmed.mid(1, close - 1).trimmed();
}

// The key of a "key=value" line, or a null string for anything else.
QString keyName(QByteArrayView text)
{
    const qsizetype eq = text.indexOf('=');
    if (eq < 0)
        return {};
    const QString key = decode(text.first(eq)).trimmed();
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
    std::optional<Line> header;  // the section's header line
    std::optional<Line> lastKey; // the section's last key line
    std::optional<Line> key;     // the key's line
    std::optional<Line> last;    // the file's last line
};

Position locate(const QByteArray &data, const QString &section, const QString &key)
{
    Position pos;
    const qsizetype offset = data.startsWith(kBom) ? kBom.size() : 0;
    Lines lines(QByteArrayView(data).sliced(offset));
    bool inSection = false;
    bool done = false;
    Line line;
    while (lines.next(line)) {
        line.start += offset;
        line.end += offset;
        line.next += offset;
        pos.last = line;
        if (done)
            continue;
        const QByteArrayView text = QByteArrayView(data).sliced(line.start, line.end - line.start);
        if (const auto name = sectionName(text)) {
            if (inSection)
                done = true;
            else if (sameName(*name, section)) {
                inSection = true;
                pos.header = line;
            }
            continue;
        }
        if (!inSection)
            continue;
        const QString k = keyName(text);
        if (k.isNull())
            continue;
        pos.lastKey = line;
        if (!pos.key && sameName(k, key))
            pos.key = line;
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

FileError refused(const QString &why)
{
    return {FileError::Kind::Refused, QString(), why};
}

} // namespace

namespace ProfileFile {

QString valueIn(const QByteArray &data, const QString &section, const QString &key)
{
    const Position pos = locate(data, section.trimmed(), key.trimmed());
    if (!pos.key)
        return {};
    const QByteArrayView text =
        QByteArrayView(data).sliced(pos.key->start, pos.key->end - pos.key->start);
    return cutValue(decode(text.sliced(text.indexOf('=') + 1)));
}

QString readValue(const QString &file, const QString &section, const QString &key)
{
    const TextFile::Contents contents = TextFile::read(file, kMaxFileSize);
    return valueIn(contents.data, section, key);
}

FileError checkEntry(const QString &section, const QString &key, const QString &value)
{
    const QString sec = section.trimmed();
    const QString k = key.trimmed();
    if (sec.isEmpty() || k.isEmpty())
        return refused(QStringLiteral("A section or key name is empty."));
    if (carriesLineBreak(sec) || carriesLineBreak(k) || carriesLineBreak(value))
        return refused(QStringLiteral("A name or value holds a line break."));
    if (sec.contains(QLatin1Char(']')) || k.contains(QLatin1Char('=')) || isComment(k) ||
        k.startsWith(QLatin1Char('[')))
        return refused(QStringLiteral("The key \"%1\" in section \"%2\" would read back as "
                                      "something else.")
                           .arg(k, sec));
    if (!sec.isValidUtf16() || !k.isValidUtf16() || !value.isValidUtf16())
        return refused(QStringLiteral("A name or value holds half a character."));
    return {};
}

QByteArray withValue(const QByteArray &data, const QString &section, const QString &key,
                     const QString &value)
{
    const QString sec = section.trimmed();
    const QString k = key.trimmed();
    const Position pos = locate(data, sec, k);
    const QByteArray entry = k.toUtf8() + '=' + value.toUtf8();

    QByteArray out = data;
    if (pos.key) {
        // Keep the key as the file spells it; only the value changes.
        const QByteArray line = data.mid(pos.key->start, pos.key->end - pos.key->start);
        const QByteArray written = line.left(line.indexOf('=')).trimmed();
        out.replace(pos.key->start, pos.key->end - pos.key->start, written + '=' + value.toUtf8());
    } else if (pos.header) {
        const Line after = pos.lastKey ? *pos.lastKey : *pos.header;
        out.insert(after.next, (after.terminated() ? QByteArray() : kCrLf) + entry + kCrLf);
    } else {
        QByteArray added;
        if (pos.last) {
            if (!pos.last->terminated())
                added += kCrLf;
            if (!QByteArrayView(data)
                     .sliced(pos.last->start, pos.last->end - pos.last->start)
                     .trimmed()
                     .isEmpty())
                added += kCrLf;
        }
        out += added + '[' + sec.toUtf8() + ']' + kCrLf + entry + kCrLf;
    }
    return out;
}

FileError writeValues(const QString &file, const QString &section,
                      const QList<std::pair<QString, QString>> &values)
{
    for (const auto &[key, value] : values) {
        if (FileError unfit = checkEntry(section, key, value); !unfit.ok())
            return {unfit.kind(), file, unfit.detail()};
    }
    return TextFile::update(
        file, {kMaxFileSize, kLockTimeoutMs},
        [&](const QByteArray &current, std::optional<TextFile::Splice> &change) {
            QByteArray edited = current;
            for (const auto &[key, value] : values)
                edited = withValue(edited, section, key, value);
            if (edited != current)
                change = TextFile::Splice{0, current.size(), edited};
            return FileError();
        });
}

FileError writeValue(const QString &file, const QString &section, const QString &key,
                     const QString &value)
{
    return writeValues(file, section, {{key, value}});
}

} // namespace ProfileFile
