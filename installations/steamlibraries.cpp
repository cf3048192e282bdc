#include "steamlibraries.h"

#include "installplaces.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace {

// Valve's KeyValues text: "key" "value" or "key" { ... }, quoted or bare tokens,
// \" and \\ escapes inside quotes, // comments, [$PLATFORM] conditions after a value.
class KeyValuesReader
{
public:
    explicit KeyValuesReader(const QByteArray &text) : m_text(text) {}

    enum class Kind { String, Open, Close, End };
    struct Token
    {
        Kind kind = Kind::End;
        QByteArray text;
    };

    Token next()
    {
        for (;;) {
            skipBlanksAndComments();
            if (m_at >= m_text.size())
                return {};
            const char c = m_text[m_at];
            if (c == '{') {
                ++m_at;
                return {Kind::Open, {}};
            }
            if (c == '}') {
                ++m_at;
                return {Kind::Close, {}};
            }
            if (c == '[') {
                skipCondition();
                continue;
            }
            return c == '"' ? quoted() : bare();
        }
    }

private:
    void skipBlanksAndComments()
    {
        while (m_at < m_text.size()) {
            const char c = m_text[m_at];
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\0') {
                ++m_at;
            } else if (c == '/' && m_at + 1 < m_text.size() && m_text[m_at + 1] == '/') {
                const qsizetype end = m_text.indexOf('\n', m_at);
                m_at = end < 0 ? m_text.size() : end + 1;
            } else {
                return;
            }
        }
    }

    void skipCondition()
    {
        const qsizetype end = m_text.indexOf(']', m_at);
        m_at = end < 0 ? m_text.size() : end + 1;
    }

    Token quoted()
    {
        QByteArray value;
        for (qsizetype i = m_at + 1; i < m_text.size(); ++i) {
            const char c = m_text[i];
            if (c == '"') {
                m_at = i + 1;
                return {Kind::String, value};
            }
            if (c == '\\' && i + 1 < m_text.size()) {
                const char e = m_text[++i];
                value += e == 'n' ? '\n' : e == 't' ? '\t' : e;
            } else {
                value += c;
            }
        }
        m_at = m_text.size(); // a quote never closed: cut-off text, nothing more to read
        return {};
    }

    Token bare()
    {
        const qsizetype start = m_at;
        while (m_at < m_text.size()) {
            const char c = m_text[m_at];
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '"' || c == '{' || c == '}')
                break;
            ++m_at;
        }
        return {Kind::String, m_text.mid(start, m_at - start)};
    }

    const QByteArray &m_text;
    qsizetype m_at = 0;
};

bool isNumber(const QByteArray &key)
{
    bool ok = false;
    key.toUInt(&ok);
    return ok;
}

// The libraries listed below "libraryfolders" (older files: "LibraryFolders"):
// since 2021 each numbered block holds a "path"; before, a numbered key's value
// was the path itself.
bool isLibraryPath(const QList<QByteArray> &keys)
{
    if (keys.isEmpty() || keys.first().compare("libraryfolders", Qt::CaseInsensitive) != 0)
        return false;
    if (keys.size() == 2)
        return isNumber(keys[1]);
    return keys.size() == 3 && isNumber(keys[1]) &&
           keys[2].compare("path", Qt::CaseInsensitive) == 0;
}

QByteArray readSmallFile(const QString &path)
{
    // A regular file only: a pipe or a device put there would never end.
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return {};
    return file.read(SteamLibraries::kMaxFileBytes);
}

} // namespace

QStringList SteamLibraries::parseLibraryFolders(const QByteArray &text)
{
    constexpr int kMaxDepth = 32;
    QStringList paths;
    KeyValuesReader reader(text);
    QList<QByteArray> keys; // the open blocks' keys
    for (;;) {
        const KeyValuesReader::Token key = reader.next();
        if (key.kind == KeyValuesReader::Kind::Close && !keys.isEmpty()) {
            keys.removeLast();
            continue;
        }
        if (key.kind != KeyValuesReader::Kind::String)
            break;
        const KeyValuesReader::Token value = reader.next();
        if (value.kind == KeyValuesReader::Kind::Open) {
            if (keys.size() >= kMaxDepth)
                break;
            keys << key.text;
        } else if (value.kind == KeyValuesReader::Kind::String) {
            QList<QByteArray> at = keys;
            at << key.text;
            if (isLibraryPath(at) && !value.text.isEmpty())
                paths << QString::fromUtf8(value.text);
        } else {
            break;
        }
    }
    return paths;
}

QStringList SteamLibraries::find(const InstallPlaces &places)
{
    // Where Steam keeps its root, native and Flatpak; Ironwail looks in the same
    // four (Quake/sys_sdl_unix.c Sys_GetSteamDir). ~/.steam/steam is usually a
    // link to ~/.local/share/Steam: each library is kept once.
    static const char *const kRoots[] = {
        "/.steam/steam",
        "/.local/share/Steam",
        "/.var/app/com.valvesoftware.Steam/.steam/steam",
        "/.var/app/com.valvesoftware.Steam/.local/share/Steam",
    };
    QStringList libraries;
    QSet<QString> seen;
    auto add = [&](const QString &folder) {
        if (!QDir::isAbsolutePath(folder))
            return;
        const QString canonical = QFileInfo(folder).canonicalFilePath();
        if (canonical.isEmpty() || !QFileInfo(canonical).isDir() || seen.contains(canonical))
            return;
        seen.insert(canonical);
        libraries << QDir::cleanPath(folder);
    };
    for (const char *root : kRoots) {
        const QString steam = places.home + QLatin1StringView(root);
        if (!QFileInfo(steam).isDir())
            continue;
        add(steam);
        // Steam writes the list in both places; either may be missing or stale.
        for (const char *list : {"/steamapps/libraryfolders.vdf", "/config/libraryfolders.vdf"}) {
            for (const QString &path :
                 parseLibraryFolders(readSmallFile(steam + QLatin1StringView(list))))
                add(path);
        }
    }
    return libraries;
}
