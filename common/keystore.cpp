#include "keystore.h"

#include "apppaths.h"
#include "atomicfile.h"
#include "cp1252.h"
#include "textfile.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <array>

namespace {

using Root = KeyStore::Root;
using Value = KeyStore::Value;
using MissingKey = KeyStore::MissingKey;
using Kind = FileError::Kind;
using Line = TextFile::Lines::Line;

// Generous: the other program holds the lock only for one read and one rename.
constexpr int kLockTimeoutMs = 10000;
const QByteArray kCrLf("\r\n");
const QByteArray kPreamble("REGEDIT4\r\n\r\n");

QByteArrayView rootName(Root root)
{
    return root == Root::CurrentUser ? QByteArrayView("HKEY_CURRENT_USER")
                                     : QByteArrayView("HKEY_LOCAL_MACHINE");
}

// Each Windows-1252 byte's character, case-folded: two names are the same when
// their bytes fold alike, exactly as QString's case-insensitive comparison of the
// decoded names would say, without decoding every line of a large file.
const std::array<char16_t, 256> &foldTable()
{
    static const std::array<char16_t, 256> table = [] {
        std::array<char16_t, 256> t{};
        for (int b = 0; b < 256; ++b)
            t[size_t(b)] = Cp1252::toUnicode(QByteArray(1, char(b))).at(0).toCaseFolded().unicode();
        return t;
    }();
    return table;
}

bool sameName(QByteArrayView a, QByteArrayView b)
{
    if (a.size() != b.size())
        return false;
    const auto &fold = foldTable();
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (fold[quint8(a[i])] != fold[quint8(b[i])])
            return false;
    }
    return true;
}

// The key path of a section header's inner text when it names a key of `root`:
// the parts after the root joined by backslashes, empty for the root itself.
// Nothing for another root, a deletion "[-...]" or a path with an empty part.
std::optional<QByteArrayView> headerPath(QByteArrayView inner, Root root)
{
    const QByteArrayView name = rootName(root);
    if (inner.size() < name.size() || !sameName(inner.first(name.size()), name))
        return std::nullopt;
    QByteArrayView rest = inner.sliced(name.size());
    if (rest.isEmpty())
        return rest;
    if (rest.front() != '\\')
        return std::nullopt;
    rest = rest.sliced(1);
    if (rest.isEmpty() || rest.back() == '\\' || rest.front() == '\\' || rest.contains("\\\\"))
        return std::nullopt;
    return rest;
}

// How many leading parts the two key paths share.
int commonParts(QByteArrayView a, QByteArrayView b)
{
    if (a.isEmpty() || b.isEmpty())
        return 0;
    const auto &fold = foldTable();
    int common = 0;
    for (qsizetype i = 0;; ++i) {
        const bool aEnd = i == a.size() || a[i] == '\\';
        const bool bEnd = i == b.size() || b[i] == '\\';
        if (aEnd != bEnd)
            return common;
        if (aEnd) {
            ++common;
            if (i == a.size() || i == b.size())
                return common;
        } else if (fold[quint8(a[i])] != fold[quint8(b[i])]) {
            return common;
        }
    }
}

// Where the quoted text opening at `text[0]` ends: the index after its closing
// quote, or -1 when it has none. \\ and \" are escapes; any other backslash is
// itself.
qsizetype quotedEnd(QByteArrayView text)
{
    for (qsizetype i = 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"')
            return i + 1;
        if (c == '\\' && i + 1 < text.size() && (text[i + 1] == '\\' || text[i + 1] == '"'))
            ++i;
    }
    return -1;
}

QByteArray unescaped(QByteArrayView quoted)
{
    QByteArray out;
    out.reserve(quoted.size());
    for (qsizetype i = 0; i < quoted.size(); ++i) {
        if (quoted[i] == '\\' && i + 1 < quoted.size() &&
            (quoted[i + 1] == '\\' || quoted[i + 1] == '"'))
            ++i;
        out.append(quoted[i]);
    }
    return out;
}

QByteArray escaped(QByteArrayView bytes)
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

// A value line: "name"=data or @=data, the name still escaped.
struct EntryText
{
    bool isDefault = false;
    QByteArrayView quotedName; // between the quotes, as written
    QByteArrayView data;       // after '=', trimmed
    bool hex = false;          // hex values continue over lines ending in a backslash
};

bool parseEntry(QByteArrayView text, EntryText &entry)
{
    qsizetype pos = 0;
    if (text.startsWith('@')) {
        entry.isDefault = true;
        pos = 1;
    } else if (text.startsWith('"')) {
        pos = quotedEnd(text);
        if (pos <= 2) // no closing quote, or an empty name
            return false;
        entry.quotedName = text.sliced(1, pos - 2);
    } else {
        return false;
    }
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t'))
        ++pos;
    if (pos >= text.size() || text[pos] != '=')
        return false;
    entry.data = text.sliced(pos + 1).trimmed();
    entry.hex = entry.data.size() >= 3 && sameName(entry.data.first(3), "hex");
    return true;
}

// What one pass over the file found out about one key and one of its values.
struct Scan
{
    int deepest = 0; // most leading parts of the key's path that some section of the root has

    bool hasSection = false;      // the key has a section of its own
    Line sectionLast;             // its last such section's header, or its last value's last line
    bool sectionDangling = false; // that line continues a hex value past the end of the file

    bool hasValue = false; // the later of the values of that name
    Line valueFirst;
    Line valueLast;
    QByteArray valueName; // unescaped, as written; empty for the default value
    QByteArray valueData; // after '=', continuation lines joined

    bool hasLines = false;
    Line last; // the file's last line
};

struct Target
{
    Root root = Root::CurrentUser;
    QByteArray path; // Windows-1252, parts joined by backslashes
    int parts = 0;
    std::optional<QByteArray> name; // nothing: no value wanted
};

Scan scan(QByteArrayView data, const Target &target)
{
    Scan s;
    const Root other = target.root == Root::CurrentUser ? Root::LocalMachine : Root::CurrentUser;
    enum class Section { None, Other, Ours } current = Section::None;
    TextFile::Lines lines(data);
    Line line;
    auto textOf = [&](const Line &l) { return data.sliced(l.start, l.end - l.start).trimmed(); };
    while (lines.next(line)) {
        s.hasLines = true;
        s.last = line;
        const QByteArrayView text = textOf(line);
        if (text.startsWith('[') && text.endsWith(']') && text.size() >= 2) {
            const QByteArrayView inner = text.sliced(1, text.size() - 2);
            current = Section::None;
            if (const auto path = headerPath(inner, target.root)) {
                current = Section::Other;
                const int common = commonParts(*path, target.path);
                s.deepest = std::max(s.deepest, common);
                if (path->size() == target.path.size() &&
                    (target.parts == 0 || common == target.parts)) {
                    current = Section::Ours;
                    s.hasSection = true;
                    s.sectionLast = line;
                    s.sectionDangling = false;
                }
            } else if (headerPath(inner, other)) {
                current = Section::Other;
            }
            continue;
        }
        EntryText entry;
        if (current == Section::None || !parseEntry(text, entry))
            continue;

        const bool ours = current == Section::Ours && target.name;
        QByteArray name;
        if (ours && !entry.isDefault)
            name = unescaped(entry.quotedName);
        const bool wanted = ours && sameName(name, *target.name);
        QByteArray joined;
        if (wanted)
            joined = entry.data.toByteArray();
        Line lastLine = line;
        bool dangling = false;
        bool continues = entry.hex && entry.data.endsWith('\\');
        while (continues) {
            Line next;
            if (!lines.next(next)) {
                dangling = true;
                break;
            }
            s.last = lastLine = next;
            const QByteArrayView more = textOf(next);
            // A blank line closes a value left open, which then reads as it would
            // at the end of the file.
            if (more.isEmpty())
                break;
            if (wanted) {
                joined.chop(1);
                joined.append(more);
            }
            continues = more.endsWith('\\');
        }
        if (current == Section::Ours) {
            s.sectionLast = lastLine;
            s.sectionDangling = dangling;
        }
        if (wanted) {
            s.hasValue = true;
            s.valueFirst = line;
            s.valueLast = lastLine;
            s.valueName = name;
            s.valueData = joined;
        }
    }
    return s;
}

std::optional<QByteArray> parseHexBytes(QByteArrayView list)
{
    QByteArray out;
    if (list.trimmed().isEmpty())
        return out;
    for (const QByteArray &item : list.toByteArray().split(',')) {
        const QByteArray digits = item.trimmed();
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
    if (data.startsWith('"')) {
        const qsizetype end = quotedEnd(data);
        if (end > 0 && QByteArrayView(data).sliced(end).trimmed().isEmpty()) {
            value.type = Value::Type::String;
            value.bytes = unescaped(QByteArrayView(data).sliced(1, end - 2));
        }
    } else if (data.size() >= 6 && sameName(QByteArrayView(data).first(6), "dword:")) {
        const QByteArray digits = data.mid(6).trimmed();
        bool ok = false;
        const uint number = digits.toUInt(&ok, 16);
        if (ok && !digits.isEmpty() && digits.size() <= 8) {
            value.type = Value::Type::Dword;
            value.bytes.clear();
            value.dword = qint32(number);
        }
    } else if (data.size() >= 7 && sameName(QByteArrayView(data).first(7), "hex(1):")) {
        if (const auto bytes = parseHexBytes(QByteArrayView(data).sliced(7))) {
            value.type = Value::Type::String;
            value.bytes = *bytes;
        }
    }
    return value;
}

bool plainCarries(const QByteArray &bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u >= 0x20 && u <= 0x7E;
    });
}

QByteArray stringData(const QByteArray &bytes)
{
    if (plainCarries(bytes))
        return '"' + escaped(bytes) + '"';
    QByteArray out("hex(1):");
    out.reserve(7 + 3 * bytes.size());
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

QByteArray valueData(const Value &value)
{
    return value.type == Value::Type::Dword ? dwordData(value.dword) : stringData(value.bytes);
}

QByteArray valueLine(const QByteArray &name, const QByteArray &data)
{
    return (name.isEmpty() ? QByteArray("@") : '"' + escaped(name) + '"') + '=' + data;
}

QByteArray headerLine(Root root, QByteArrayView path)
{
    QByteArray line = '[' + rootName(root).toByteArray();
    if (!path.isEmpty())
        line += '\\' + path.toByteArray();
    return line + ']';
}

QString keyText(Root root, const QString &path)
{
    const QString name = QString::fromLatin1(rootName(root));
    return path.isEmpty() ? name : name + QLatin1Char('\\') + path;
}

// Why a name cannot go into the file, or no error when it can.
FileError unfitName(const QString &name)
{
    bool lossless = false;
    Cp1252::fromUnicode(name, &lossless);
    if (!lossless)
        return {Kind::Refused, QString(),
                QStringLiteral("The name \"%1\" holds characters the key store cannot keep.")
                    .arg(name)};
    if (name.contains(QLatin1Char('\r')) || name.contains(QLatin1Char('\n')) ||
        name.contains(QChar(0)))
        return {Kind::Refused, QString(),
                QStringLiteral("The name \"%1\" holds a line break.").arg(name)};
    return {};
}

FileError makeTarget(Root root, const QString &path, const std::optional<QString> &name,
                     Target &target)
{
    target.root = root;
    if (!path.isEmpty()) {
        const QStringList parts = path.split(QLatin1Char('\\'));
        for (const QString &part : parts) {
            if (part.isEmpty())
                return {Kind::Refused, QString(),
                        QStringLiteral("The key path \"%1\" has an empty part.").arg(path)};
            if (FileError unfit = unfitName(part); !unfit.ok())
                return unfit;
        }
        target.parts = int(parts.size());
        target.path = Cp1252::fromUnicode(path);
    }
    if (name) {
        if (FileError unfit = unfitName(*name); !unfit.ok())
            return unfit;
        target.name = Cp1252::fromUnicode(*name);
    }
    return {};
}

// New sections at the end of the file: each after a blank line, as an export of
// the tree would show them. `levels` counts parts of the path, shallowest first.
QByteArray appendedSections(QByteArrayView data, const Scan &s, const Target &target, int fromLevel)
{
    QByteArray out = data.isEmpty() ? kPreamble : QByteArray();
    bool terminated = true;
    bool blank = true;
    if (s.hasLines) {
        terminated = s.last.terminated();
        blank = data.sliced(s.last.start, s.last.end - s.last.start).trimmed().isEmpty();
    }
    for (int level = fromLevel; level <= target.parts; ++level) {
        if (!terminated)
            out += kCrLf;
        if (!blank)
            out += kCrLf;
        QByteArrayView path = target.path;
        if (level < target.parts) {
            qsizetype cut = -1;
            for (int i = 0; i < level; ++i)
                cut = path.indexOf('\\', cut + 1);
            path = path.first(cut);
        }
        out += headerLine(target.root, path) + kCrLf;
        terminated = true;
        blank = false;
    }
    return out;
}

bool isForeign(const QByteArray &data)
{
    // Appending our 8-bit lines to a UTF-16 export would ruin it.
    return data.startsWith("\xFF\xFE") || data.startsWith("\xFE\xFF");
}

FileError foreign(const QString &file)
{
    return {Kind::Foreign, file, QStringLiteral("It is not a REGEDIT4 file.")};
}

// The one edit of a value store: the splice that puts `line` in place.
FileError storeEdit(const QByteArray &data, const Target &target, const QByteArray &newData,
                    MissingKey missing, const QString &file,
                    std::optional<TextFile::Splice> &change)
{
    if (isForeign(data))
        return foreign(file);
    const Scan s = scan(data, target);
    const bool exists = target.parts == 0 || s.deepest == target.parts;
    if (!exists && missing == MissingKey::Refuse)
        return {Kind::NotFound, QString(),
                QStringLiteral("The key %1 does not exist.")
                    .arg(keyText(target.root, Cp1252::toUnicode(target.path)))};

    if (s.hasValue) {
        // The name keeps the case it was created with; the line its line end.
        const QByteArrayView end =
            QByteArrayView(data).sliced(s.valueFirst.end, s.valueFirst.next - s.valueFirst.end);
        change = TextFile::Splice{s.valueFirst.start, s.valueLast.next - s.valueFirst.start,
                                  valueLine(s.valueName, newData) +
                                      (end.isEmpty() ? kCrLf : end.toByteArray())};
    } else if (s.hasSection) {
        QByteArray inserted;
        if (!s.sectionLast.terminated())
            inserted += kCrLf;
        // A hex value continued past the end of the file would take our line as
        // its continuation; a blank line ends it.
        if (s.sectionDangling)
            inserted += kCrLf;
        inserted += valueLine(*target.name, newData) + kCrLf;
        change = TextFile::Splice{s.sectionLast.next, 0, inserted};
    } else {
        // A key that exists only through a section below it gets a section of its own.
        const int from = exists ? target.parts : s.deepest + 1;
        change = TextFile::Splice{data.size(), 0,
                                  appendedSections(data, s, target, from) +
                                      valueLine(*target.name, newData) + kCrLf};
    }
    return {};
}

FileError createEdit(const QByteArray &data, const Target &target, const QString &file,
                     std::optional<TextFile::Splice> &change)
{
    if (isForeign(data))
        return foreign(file);
    const Scan s = scan(data, target);
    if (target.parts == 0 || s.deepest == target.parts)
        return {};
    change = TextFile::Splice{data.size(), 0, appendedSections(data, s, target, s.deepest + 1)};
    return {};
}

// TextFile::update for the store, which also makes the store's folder: only when
// the edit would write something, so that a refused write leaves no folder behind.
FileError update(const QString &file, const TextFile::Edit &edit,
                 std::unique_ptr<AtomicFile> *kept = nullptr)
{
    const QString folder = QFileInfo(file).absolutePath();
    if (!QFileInfo(folder).isDir()) {
        std::optional<TextFile::Splice> change;
        if (FileError dryRun = edit(QByteArray(), change); !dryRun.ok() || !change)
            return dryRun;
        if (!QDir().mkpath(folder))
            return {Kind::OpenError, folder, QStringLiteral("The folder could not be created.")};
    }
    return TextFile::update(file, {KeyStore::kMaxFileSize, kLockTimeoutMs}, edit, kept);
}

} // namespace

KeyStore::KeyStore(const QString &filePath) : m_path(filePath) {}

KeyStore KeyStore::userStore()
{
    return KeyStore(AppPaths::keyStoreFile());
}

FileError KeyStore::createKey(Root root, const QString &path)
{
    Target target;
    if (FileError unfit = makeTarget(root, path, std::nullopt, target); !unfit.ok())
        return unfit;
    return update(m_path, [&](const QByteArray &data, std::optional<TextFile::Splice> &change) {
        return createEdit(data, target, m_path, change);
    });
}

bool KeyStore::keyExists(Root root, const QString &path) const
{
    Target target;
    if (!makeTarget(root, path, std::nullopt, target).ok())
        return false;
    const TextFile::Contents read = TextFile::read(m_path, kMaxFileSize);
    if (!read.error.ok())
        return false;
    return target.parts == 0 || scan(read.data, target).deepest == target.parts;
}

FileError KeyStore::storeValue(Root root, const QString &path, const QString &name,
                               const QByteArray &data, MissingKey missing,
                               std::unique_ptr<AtomicFile> *kept)
{
    Target target;
    if (FileError unfit = makeTarget(root, path, name, target); !unfit.ok())
        return unfit;
    return update(
        m_path,
        [&](const QByteArray &current, std::optional<TextFile::Splice> &change) {
            return storeEdit(current, target, data, missing, m_path, change);
        },
        kept);
}

FileError KeyStore::storeString(Root root, const QString &path, const QString &name,
                                const QByteArray &bytes, MissingKey missing,
                                std::unique_ptr<AtomicFile> *kept)
{
    return storeValue(root, path, name, stringData(bytes), missing, kept);
}

FileError KeyStore::storeDword(Root root, const QString &path, const QString &name, qint32 value,
                               MissingKey missing)
{
    return storeValue(root, path, name, dwordData(value), missing, nullptr);
}

std::optional<KeyStore::Value> KeyStore::readValue(Root root, const QString &path,
                                                   const QString &name) const
{
    const TextFile::Contents read = TextFile::read(m_path, kMaxFileSize);
    if (!read.error.ok())
        return std::nullopt;
    return valueIn(read.data, root, path, name);
}

FileError KeyStore::storeIn(const QByteArray &data, Root root, const QString &path,
                            const QString &name, const Value &value, MissingKey missing,
                            QByteArray &edited)
{
    if (value.type == Value::Type::Other)
        return {Kind::Refused, QString(), QStringLiteral("Only text and numbers are stored.")};
    Target target;
    if (FileError unfit = makeTarget(root, path, name, target); !unfit.ok())
        return unfit;
    std::optional<TextFile::Splice> change;
    if (FileError error = storeEdit(data, target, valueData(value), missing, QString(), change);
        !error.ok())
        return error;
    edited = data;
    if (change)
        edited.replace(change->at, change->removed, change->inserted);
    return {};
}

std::optional<KeyStore::Value> KeyStore::valueIn(const QByteArray &data, Root root,
                                                 const QString &path, const QString &name)
{
    Target target;
    if (!makeTarget(root, path, name, target).ok())
        return std::nullopt;
    const Scan s = scan(data, target);
    if (!s.hasValue)
        return std::nullopt;
    return parseData(s.valueData);
}
