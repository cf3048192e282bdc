#include "keystore.h"

#include "apppaths.h"
#include "cp1252.h"
#include "textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStringList>
#include <vector>

namespace {

using Root = KeyStore::Root;
using Result = KeyStore::Result;
using Value = KeyStore::Value;

// Generous: the other program holds the lock only for one read and one rename.
constexpr int kLockTimeoutMs = 10000;
const QByteArray kCrLf("\r\n");

using TextFile::Line;

struct Entry
{
    int first = 0; // hex values may continue over several lines
    int last = 0;
    QString name; // empty: the default value
    Value value;
};

struct Section
{
    Root root = Root::CurrentUser;
    QStringList parts;
    int header = 0;
    int last = 0; // the header or the last value line after it
    std::vector<Entry> entries;
};

// The file as lines kept byte for byte, plus what we understood of them.
struct Document
{
    std::vector<Line> lines;
    std::vector<Section> sections;
};

QString rootName(Root root)
{
    return root == Root::CurrentUser ? QStringLiteral("HKEY_CURRENT_USER")
                                     : QStringLiteral("HKEY_LOCAL_MACHINE");
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool samePath(const QStringList &a, const QStringList &b, qsizetype count)
{
    if (a.size() < count || b.size() < count)
        return false;
    for (qsizetype i = 0; i < count; ++i) {
        if (!sameName(a[i], b[i]))
            return false;
    }
    return true;
}

// "[HKEY_CURRENT_USER\A\B]" -> root and parts. Any other bracketed line (a deletion
// "[-...]", another root) is a section we keep but never match.
std::optional<std::pair<Root, QStringList>> parseHeader(const QByteArray &trimmed)
{
    const QString inner = Cp1252::toUnicode(trimmed.mid(1, trimmed.size() - 2));
    QStringList parts = inner.split(QLatin1Char('\\'));
    Root root;
    if (sameName(parts.front(), rootName(Root::CurrentUser)))
        root = Root::CurrentUser;
    else if (sameName(parts.front(), rootName(Root::LocalMachine)))
        root = Root::LocalMachine;
    else
        return std::nullopt;
    parts.removeFirst();
    for (const QString &part : parts) {
        if (part.isEmpty())
            return std::nullopt;
    }
    return std::pair{root, parts};
}

// Reads a quoted, escaped text starting at `pos` (on the opening quote); leaves
// `pos` after the closing quote. Unknown escapes are kept as written.
std::optional<QByteArray> readQuoted(const QByteArray &text, qsizetype &pos)
{
    QByteArray out;
    for (++pos; pos < text.size(); ++pos) {
        const char c = text.at(pos);
        if (c == '"') {
            ++pos;
            return out;
        }
        if (c == '\\' && pos + 1 < text.size() &&
            (text.at(pos + 1) == '\\' || text.at(pos + 1) == '"'))
            ++pos;
        out.append(text.at(pos));
    }
    return std::nullopt;
}

std::optional<QByteArray> parseHexBytes(const QByteArray &list)
{
    QByteArray out;
    for (const QByteArray &item : list.split(',')) {
        const QByteArray digits = item.trimmed();
        if (digits.isEmpty() && list.trimmed().isEmpty())
            break;
        bool ok = false;
        const uint byte = digits.toUInt(&ok, 16);
        if (!ok || digits.size() > 2)
            return std::nullopt;
        out.append(char(byte));
    }
    return out;
}

Value parseData(const QByteArray &data)
{
    Value value;
    value.bytes = data;
    const QByteArray lower = data.toLower();
    if (data.startsWith('"')) {
        qsizetype pos = 0;
        const auto text = readQuoted(data, pos);
        if (text && data.mid(pos).trimmed().isEmpty()) {
            value.type = Value::Type::String;
            value.bytes = *text;
        }
    } else if (lower.startsWith("dword:")) {
        const QByteArray digits = data.mid(6).trimmed();
        bool ok = false;
        const uint number = digits.toUInt(&ok, 16);
        if (ok && !digits.isEmpty() && digits.size() <= 8) {
            value.type = Value::Type::Dword;
            value.bytes.clear();
            value.dword = qint32(number);
        }
    } else if (lower.startsWith("hex(1):")) {
        if (const auto bytes = parseHexBytes(data.mid(7))) {
            value.type = Value::Type::String;
            value.bytes = *bytes;
        }
    }
    return value;
}

// A value line at `index`, with any continuation lines of a hex value.
std::optional<Entry> parseEntry(const std::vector<Line> &lines, int index)
{
    const QByteArray text = lines[index].text.trimmed();
    Entry entry;
    entry.first = entry.last = index;
    qsizetype pos = 0;
    if (text.startsWith('@')) {
        pos = 1;
    } else if (text.startsWith('"')) {
        const auto name = readQuoted(text, pos);
        if (!name)
            return std::nullopt;
        entry.name = Cp1252::toUnicode(*name);
        if (entry.name.isEmpty())
            return std::nullopt;
    } else {
        return std::nullopt;
    }
    while (pos < text.size() && (text.at(pos) == ' ' || text.at(pos) == '\t'))
        ++pos;
    if (pos >= text.size() || text.at(pos) != '=')
        return std::nullopt;
    QByteArray data = text.mid(pos + 1).trimmed();
    if (data.toLower().startsWith("hex")) {
        while (data.endsWith('\\') && entry.last + 1 < int(lines.size())) {
            data.chop(1);
            data.append(lines[++entry.last].text.trimmed());
        }
    }
    entry.value = parseData(data);
    return entry;
}

Document parse(const QByteArray &data)
{
    Document doc;
    doc.lines = TextFile::splitLines(data);
    Section *current = nullptr;
    for (int i = 0; i < int(doc.lines.size()); ++i) {
        const QByteArray trimmed = doc.lines[i].text.trimmed();
        if (trimmed.startsWith('[') && trimmed.endsWith(']')) {
            current = nullptr;
            if (const auto header = parseHeader(trimmed)) {
                doc.sections.push_back({header->first, header->second, i, i, {}});
                current = &doc.sections.back();
            }
            continue;
        }
        if (!current)
            continue;
        if (auto entry = parseEntry(doc.lines, i)) {
            current->last = entry->last;
            i = entry->last;
            current->entries.push_back(std::move(*entry));
        }
    }
    return doc;
}

bool keyExistsIn(const Document &doc, Root root, const QStringList &parts)
{
    if (parts.isEmpty())
        return true;
    for (const Section &s : doc.sections) {
        if (s.root == root && samePath(s.parts, parts, parts.size()))
            return true;
    }
    return false;
}

bool isExactly(const Section &s, Root root, const QStringList &parts)
{
    return s.root == root && s.parts.size() == parts.size() &&
           samePath(s.parts, parts, parts.size());
}

QByteArray escaped(const QByteArray &bytes)
{
    QByteArray out;
    out.reserve(bytes.size() + 2);
    for (char c : bytes) {
        if (c == '\\' || c == '"')
            out.append('\\');
        out.append(c);
    }
    return out;
}

bool plainCarries(const QByteArray &bytes)
{
    for (char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u > 0x7E)
            return false;
    }
    return true;
}

QByteArray stringData(const QByteArray &bytes)
{
    if (plainCarries(bytes))
        return '"' + escaped(bytes) + '"';
    QByteArray out("hex(1):");
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (i > 0)
            out.append(',');
        out.append(
            QByteArray::number(static_cast<unsigned char>(bytes.at(i)), 16).rightJustified(2, '0'));
    }
    return out;
}

QByteArray dwordData(qint32 value)
{
    return "dword:" + QByteArray::number(quint32(value), 16).rightJustified(8, '0');
}

QByteArray valueLine(const QString &name, const QByteArray &data)
{
    const QByteArray written =
        name.isEmpty() ? QByteArray("@") : '"' + escaped(Cp1252::fromUnicode(name)) + '"';
    return written + '=' + data;
}

QByteArray headerLine(Root root, const QStringList &parts)
{
    QStringList all{rootName(root)};
    all.append(parts);
    return '[' + Cp1252::fromUnicode(all.join(QLatin1Char('\\'))) + ']';
}

// Why a name cannot go into the file, or the empty text when it can.
QString unfitName(const QString &name)
{
    bool lossless = false;
    Cp1252::fromUnicode(name, &lossless);
    if (!lossless)
        return QStringLiteral("The name \"%1\" holds characters the key store cannot keep.")
            .arg(name);
    if (name.contains(QLatin1Char('\r')) || name.contains(QLatin1Char('\n')) ||
        name.contains(QChar(0)))
        return QStringLiteral("The name \"%1\" holds a line break.").arg(name);
    return {};
}

std::optional<QStringList> splitPath(const QString &path, QString *why)
{
    if (path.isEmpty())
        return QStringList();
    const QStringList parts = path.split(QLatin1Char('\\'));
    for (const QString &part : parts) {
        if (part.isEmpty()) {
            *why = QStringLiteral("The key path \"%1\" has an empty part.").arg(path);
            return std::nullopt;
        }
        *why = unfitName(part);
        if (!why->isEmpty())
            return std::nullopt;
    }
    return parts;
}

void terminate(Line &line)
{
    if (line.end.isEmpty())
        line.end = kCrLf;
}

void insertLines(Document &doc, int after, const std::vector<Line> &added)
{
    terminate(doc.lines[after]);
    doc.lines.insert(doc.lines.begin() + after + 1, added.begin(), added.end());
}

void appendSection(Document &doc, const QByteArray &header)
{
    if (!doc.lines.empty()) {
        terminate(doc.lines.back());
        if (!doc.lines.back().text.trimmed().isEmpty())
            doc.lines.push_back({{}, kCrLf});
    }
    doc.lines.push_back({header, kCrLf});
}

// A missing file is an empty store; anything unreadable is a failure.
std::optional<QByteArray> load(const QString &path, QString *message)
{
    const TextFile::Contents read = TextFile::read(path);
    if (!read.ok) {
        *message = QStringLiteral("Could not read %1: %2").arg(path, read.error);
        return std::nullopt;
    }
    return read.data;
}

// Runs `edit` on a fresh read of the file under the lock and saves the result,
// unless `edit` clears its `changed` flag.
template <typename Edit> Result update(const QString &path, Edit edit)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo(folder).isDir()) {
        // No folder, no file: try the edit on the empty store first, so that a
        // refused write leaves no folder behind.
        Document empty;
        bool changed = true;
        const Result dryRun = edit(empty, changed);
        if (!dryRun.ok || !changed)
            return dryRun;
        if (!QDir().mkpath(folder))
            return {false, QStringLiteral("Could not create the folder %1.").arg(folder)};
    }

    QLockFile lock(path + QLatin1String(".lock"));
    if (!lock.tryLock(kLockTimeoutMs)) {
        const QString why = lock.error() == QLockFile::LockFailedError
                                ? QStringLiteral("another program keeps it locked")
                                : QStringLiteral("the lock file could not be created");
        return {false, QStringLiteral("Could not write %1: %2.").arg(path, why)};
    }

    QString message;
    const std::optional<QByteArray> loaded = load(path, &message);
    if (!loaded)
        return {false, message};
    // Appending our 8-bit lines to a UTF-16 export would ruin it.
    if (loaded->startsWith("\xFF\xFE") || loaded->startsWith("\xFE\xFF"))
        return {false, QStringLiteral("Could not write %1: it is not a REGEDIT4 file.").arg(path)};

    Document doc = parse(*loaded);
    if (doc.lines.empty()) {
        doc.lines.push_back({"REGEDIT4", kCrLf});
        doc.lines.push_back({{}, kCrLf});
    }
    bool changed = true;
    const Result result = edit(doc, changed);
    if (!result.ok || !changed)
        return result;

    const QString why = TextFile::writeAtomically(path, TextFile::joinLines(doc.lines));
    if (!why.isEmpty())
        return {false, QStringLiteral("Could not write %1: %2").arg(path, why)};
    return {true, {}};
}

Result storeValue(const QString &file, Root root, const QString &path, const QString &name,
                  const QByteArray &data)
{
    QString why;
    const auto parts = splitPath(path, &why);
    if (!parts)
        return {false, why};
    why = unfitName(name);
    if (!why.isEmpty())
        return {false, why};

    return update(file, [&](Document &doc, bool &) -> Result {
        if (!keyExistsIn(doc, root, *parts))
            return {false, QStringLiteral("The key %1 does not exist.")
                               .arg(rootName(root) + QLatin1Char('\\') + path)};
        const Entry *found = nullptr;
        const Section *section = nullptr;
        for (const Section &s : doc.sections) {
            if (!isExactly(s, root, *parts))
                continue;
            section = &s;
            for (const Entry &e : s.entries) {
                if (sameName(e.name, name))
                    found = &e;
            }
        }
        if (found) {
            const int first = found->first;
            Line &target = doc.lines[first];
            // The name keeps the case it was created with.
            target.text = valueLine(found->name, data);
            terminate(target);
            doc.lines.erase(doc.lines.begin() + first + 1, doc.lines.begin() + found->last + 1);
        } else if (section) {
            insertLines(doc, section->last, {{valueLine(name, data), kCrLf}});
        } else {
            // The key exists only through a section below it.
            appendSection(doc, headerLine(root, *parts));
            doc.lines.push_back({valueLine(name, data), kCrLf});
        }
        return {true, {}};
    });
}

} // namespace

KeyStore::KeyStore(const QString &filePath) : m_path(filePath) {}

KeyStore KeyStore::userStore()
{
    return KeyStore(AppPaths::keyStoreFile());
}

KeyStore::Result KeyStore::createKey(Root root, const QString &path)
{
    QString why;
    const auto parts = splitPath(path, &why);
    if (!parts)
        return {false, why};
    return update(m_path, [&](Document &doc, bool &changed) -> Result {
        qsizetype missing = parts->size();
        while (missing > 0 && !keyExistsIn(doc, root, parts->mid(0, missing)))
            --missing;
        if (missing == parts->size()) {
            changed = false;
            return {true, {}};
        }
        // A section per created level, as an export of the tree would show it.
        for (qsizetype level = missing + 1; level <= parts->size(); ++level)
            appendSection(doc, headerLine(root, parts->mid(0, level)));
        return {true, {}};
    });
}

bool KeyStore::keyExists(Root root, const QString &path) const
{
    QString why;
    const auto parts = splitPath(path, &why);
    if (!parts)
        return false;
    const TextFile::Contents read = TextFile::read(m_path);
    return read.ok && keyExistsIn(parse(read.data), root, *parts);
}

KeyStore::Result KeyStore::storeString(Root root, const QString &path, const QString &name,
                                       const QByteArray &bytes)
{
    return storeValue(m_path, root, path, name, stringData(bytes));
}

KeyStore::Result KeyStore::storeDword(Root root, const QString &path, const QString &name,
                                      qint32 value)
{
    return storeValue(m_path, root, path, name, dwordData(value));
}

std::optional<KeyStore::Value> KeyStore::readValue(Root root, const QString &path,
                                                   const QString &name) const
{
    QString why;
    const auto parts = splitPath(path, &why);
    if (!parts)
        return std::nullopt;
    const TextFile::Contents read = TextFile::read(m_path);
    if (!read.ok)
        return std::nullopt;
    std::optional<Value> value;
    for (const Section &s : parse(read.data).sections) {
        if (!isExactly(s, root, *parts))
            continue;
        for (const Entry &e : s.entries) {
            if (sameName(e.name, name))
                value = e.value;
        }
    }
    return value;
}
