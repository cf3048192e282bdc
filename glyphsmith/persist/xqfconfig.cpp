// SPDX-License-Identifier: GPL-3.0-or-later
#include "xqfconfig.h"

#include "atomicfile.h"
#include "gamescript.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using Kind = FileError::Kind;

constexpr int kLockTimeoutMs = 5000;
constexpr qint64 kMaxConfigSize = qint64(16) << 20; // XQF's own stays far below a megabyte
constexpr qsizetype kLineBuffer = 8 * 1024;         // XQF's fgets() buffer

// From XQF's games.xml: id, default_home, main_mod; and the folder each game
// runs the custom config from.
const XqfConfig::GameRow kRows[] = {
    {XqfConfig::Game::Quake, "QS", nullptr, {"id1", nullptr}, "id1"},
    {XqfConfig::Game::QuakeWorld, "QWS", nullptr, {"qw", "id1"}, "qw"},
    {XqfConfig::Game::Quake2, "Q2S", nullptr, {"baseq2", nullptr}, "baseq2"},
    {XqfConfig::Game::Quake3, "Q3S", "~/.q3a", {"demoq3", "baseq3"}, "baseq3"},
    {XqfConfig::Game::OpenArena, "OPENARENAS", "~/.openarena", {"baseq3", nullptr}, "baseoa"},
};

char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

// g_ascii_strcasecmp() == 0
bool sameName(QByteArrayView a, QByteArrayView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (asciiLower(a[i]) != asciiLower(b[i]))
            return false;
    }
    return true;
}

// One fgets() piece of the file, as XQF's parse_line_file() takes it.
struct Piece
{
    enum class Kind { Ignored, Header, Key };
    Kind kind = Kind::Ignored;
    qsizetype start = 0;
    qsizetype next = 0;
    QByteArrayView name;      // the section's or the key's
    qsizetype valueStart = 0; // the raw value's bytes, for a key
    qsizetype valueEnd = 0;
    bool wholeLine = false; // the piece is one line of the file, nothing cut off
};

std::vector<Piece> pieces(QByteArrayView file)
{
    std::vector<Piece> result;
    qsizetype at = 0;
    while (at < file.size()) {
        Piece p;
        p.start = at;
        const qsizetype most = std::min(file.size() - at, kLineBuffer - 1);
        const qsizetype nl = file.sliced(at, most).indexOf('\n');
        p.next = nl >= 0 ? at + nl + 1 : at + most;
        at = p.next;

        QByteArrayView text = file.sliced(p.start, p.next - p.start);
        const qsizetype zero = text.indexOf('\0');
        if (zero >= 0)
            text = text.first(zero); // what strlen() sees
        p.wholeLine = zero < 0 && (p.start == 0 || file[p.start - 1] == '\n') &&
                      (p.next == file.size() || file[p.next - 1] == '\n');
        if (text.size() <= 1) {
            result.push_back(p);
            continue;
        }
        if (text.endsWith('\n'))
            text.chop(1);
        if (text.endsWith('\r'))
            text.chop(1);
        if (text.startsWith('[')) {
            const qsizetype close = text.indexOf(']', 1);
            if (close >= 0) {
                p.kind = Piece::Kind::Header;
                p.name = text.sliced(1, close - 1);
            }
        } else if (const qsizetype eq = text.indexOf('='); eq >= 0) {
            p.kind = Piece::Kind::Key;
            p.name = text.first(eq);
            p.valueStart = p.start + eq + 1;
            p.valueEnd = p.start + text.size();
        }
        result.push_back(p);
    }
    return result;
}

XqfConfig::Settings::Section *findSection(XqfConfig::Settings &settings, QByteArrayView name)
{
    for (auto &section : settings.sections) {
        if (sameName(section.name, name))
            return &section;
    }
    return nullptr;
}

void setRaw(XqfConfig::Settings &settings, QByteArrayView section, QByteArrayView key,
            QByteArrayView raw)
{
    auto *s = findSection(settings, section);
    if (!s) {
        settings.sections.append({section.toByteArray(), {}});
        s = &settings.sections.last();
    }
    for (auto &[name, value] : s->keys) {
        if (sameName(name, key)) {
            value = raw.toByteArray();
            return;
        }
    }
    s->keys.append({key.toByteArray(), raw.toByteArray()});
}

// XQF's file_in_dir(): an empty folder is the working folder.
QString fileInDir(const QString &dir, const QString &file)
{
    if (dir.isEmpty())
        return file;
    return dir.endsWith(QLatin1Char('/')) ? dir + file : dir + QLatin1Char('/') + file;
}

// XQF's expand_tilde(): "~", "~/..." and "~user/..."; anything else as it is.
QString expandTilde(const QString &path, const QString &home)
{
    if (!path.startsWith(QLatin1Char('~')))
        return path;
    if (path.size() == 1)
        return home;
    if (path.at(1) == QLatin1Char('/'))
        return fileInDir(home, path.mid(2));
    const qsizetype slash = path.indexOf(QLatin1Char('/'), 1);
    const QByteArray user = QFile::encodeName(path.mid(1, slash < 0 ? -1 : slash - 1));
    passwd entry = {};
    passwd *found = nullptr;
    char buffer[4096];
    if (::getpwnam_r(user.constData(), &entry, buffer, sizeof buffer, &found) != 0 || !found)
        return path;
    const QString userHome = QFile::decodeName(found->pw_dir);
    return slash < 0 ? userHome : fileInDir(userHome, path.mid(slash + 1));
}

bool isFolder(const QString &path)
{
    return QFileInfo(path).isDir();
}

} // namespace

namespace XqfConfig {

const GameRow &row(Game game)
{
    for (const GameRow &r : kRows) {
        if (r.game == game)
            return r;
    }
    Q_ASSERT(false);
    return kRows[0];
}

QByteArray sectionName(Game game)
{
    return QByteArray("Game: ") + row(game).id;
}

QString configPath(const QString &home, const QString &xdgConfigHome)
{
    const QString configHome =
        xdgConfigHome.isEmpty() ? fileInDir(home, QStringLiteral(".config")) : xdgConfigHome;
    const QString current = fileInDir(configHome, QStringLiteral("xqf"));
    const QString legacy = fileInDir(home, QStringLiteral(".qf"));
    // XQF asks stat() of both, whatever they are.
    struct stat st = {};
    const bool hasLegacy = ::stat(QFile::encodeName(legacy).constData(), &st) == 0;
    const bool hasCurrent = ::stat(QFile::encodeName(current).constData(), &st) == 0;
    return fileInDir(hasLegacy && !hasCurrent ? legacy : current, QLatin1String(kFileName));
}

QString configPath()
{
    return configPath(QDir::homePath(), QFile::decodeName(qgetenv("XDG_CONFIG_HOME")));
}

std::optional<QByteArray> Settings::value(QByteArrayView section, QByteArrayView key) const
{
    for (const Section &s : sections) {
        if (!sameName(s.name, section))
            continue;
        for (const auto &[name, raw] : s.keys) {
            if (sameName(name, key))
                return unescape(raw);
        }
    }
    return std::nullopt;
}

Settings read(QByteArrayView file)
{
    Settings settings;
    std::optional<QByteArrayView> section;
    for (const Piece &p : pieces(file)) {
        if (p.kind == Piece::Kind::Header)
            section = p.name;
        else if (p.kind == Piece::Kind::Key && section)
            setRaw(settings, *section, p.name,
                   file.sliced(p.valueStart, p.valueEnd - p.valueStart));
    }
    return settings;
}

QByteArray escape(QByteArrayView value)
{
    QByteArray out;
    out.reserve(value.size());
    for (const char c : value) {
        if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\\')
            out += "\\\\";
        else
            out += c;
    }
    return out;
}

QByteArray unescape(QByteArrayView raw)
{
    QByteArray out;
    out.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i] != '\\') {
            out += raw[i];
            continue;
        }
        // An unknown escape, or a "\" at the end, stays as it is.
        const char next = i + 1 < raw.size() ? raw[i + 1] : '\0';
        if (next == 'n' || next == 'r' || next == '\\') {
            out += next == 'n' ? '\n' : next == 'r' ? '\r' : '\\';
            ++i;
        } else {
            out += '\\';
        }
    }
    return out;
}

FileError setValue(const QString &path, QByteArrayView file, QByteArrayView section,
                   QByteArrayView key, QByteArrayView value,
                   std::optional<TextFile::Splice> &change)
{
    const QByteArray raw = escape(value);
    const std::vector<Piece> all = pieces(file);

    // The key's last line in the section, and the section's last part.
    const Piece *keyPiece = nullptr;
    qsizetype lastHeader = -1;
    qsizetype partEnd = -1; // end of the last piece in that part that is not an empty line
    bool inSection = false;
    for (qsizetype i = 0; i < qsizetype(all.size()); ++i) {
        const Piece &p = all[size_t(i)];
        if (p.kind == Piece::Kind::Header) {
            inSection = sameName(p.name, section);
            if (inSection) {
                lastHeader = i;
                partEnd = i;
            }
            continue;
        }
        if (!inSection)
            continue;
        if (p.kind == Piece::Kind::Key && sameName(p.name, key))
            keyPiece = &p;
        const QByteArrayView bytes = file.sliced(p.start, p.next - p.start);
        if (bytes != "\n" && bytes != "\r\n")
            partEnd = i;
    }

    TextFile::Splice splice;
    if (keyPiece && keyPiece->wholeLine) {
        const QByteArrayView old =
            file.sliced(keyPiece->valueStart, keyPiece->valueEnd - keyPiece->valueStart);
        if (old == raw) {
            change.reset();
            return {};
        }
        splice = {keyPiece->valueStart, old.size(), raw};
    } else if (lastHeader >= 0) {
        const Piece &after = all[size_t(partEnd)];
        const bool ended = file[after.next - 1] == '\n';
        splice = {after.next, 0, (ended ? "" : "\n") + key.toByteArray() + '=' + raw + '\n'};
    } else {
        const QByteArray separator = file.isEmpty() || file.endsWith("\n\n") ? QByteArray()
                                     : file.endsWith('\n')                   ? QByteArray("\n")
                                                                             : QByteArray("\n\n");
        splice = {file.size(), 0,
                  separator + '[' + section.toByteArray() + "]\n" + key.toByteArray() + '=' + raw +
                      "\n\n"};
    }

    // The change must read back as exactly this one value changed.
    const QByteArray changed = file.first(splice.at).toByteArray() + splice.inserted +
                               file.sliced(splice.at + splice.removed).toByteArray();
    Settings expected = read(file);
    setRaw(expected, section, key, raw);
    if (read(changed) != expected)
        return {
            Kind::Foreign, path,
            QStringLiteral("XQF would read more than the one setting changed in it (a line "
                           "longer than it reads whole, or a zero byte): it is left as it is.")};
    change = std::move(splice);
    return {};
}

QString gameDirectory(const Settings &settings, Game game, const QString &home)
{
    const std::optional<QByteArray> dir = settings.value(sectionName(game), kDirKey);
    return dir ? expandTilde(QFile::decodeName(*dir), home) : QString();
}

QStringList customConfigFolders(const Settings &settings, Game game, const QString &home)
{
    const GameRow &r = row(game);
    QStringList below;
    if (const QString dir = gameDirectory(settings, game, home); !dir.isEmpty())
        below << dir;
    if (r.home)
        below << expandTilde(QLatin1String(r.home), home);
    QStringList folders;
    for (const QString &base : below) {
        for (const char *folder : r.listed) {
            if (folder)
                folders << fileInDir(base, QLatin1String(folder));
        }
    }
    return folders;
}

QString scriptFolder(const Settings &settings, Game game, const QString &home)
{
    const GameRow &r = row(game);
    QStringList candidates;
    if (r.home)
        candidates << fileInDir(expandTilde(QLatin1String(r.home), home),
                                QLatin1String(r.gameFolder));
    if (const QString dir = gameDirectory(settings, game, home); !dir.isEmpty())
        candidates << fileInDir(dir, QLatin1String(r.gameFolder));
    for (const QString &folder : candidates) {
        if (isFolder(folder))
            return folder;
    }
    return {};
}

Saved save(const QString &configPath, Game game, const QString &home, const QByteArray &nameLine)
{
    Saved saved;
    saved.configPath = configPath;
    const TextFile::Contents before = TextFile::read(configPath, kMaxConfigSize);
    if (!before.error.ok()) {
        saved.error = before.error;
        return saved;
    }
    const Settings settings = read(before.data);
    const QString folder = scriptFolder(settings, game, home);
    if (folder.isEmpty()) {
        saved.error = {Kind::NotFound, configPath,
                       QStringLiteral("No folder of the game %1 was found: set its directory in "
                                      "XQF's preferences, or start the game once.")
                           .arg(QLatin1String(row(game).id))};
        return saved;
    }
    saved.scriptPath = QDir(folder).filePath(QLatin1String(GameScript::kScriptName));
    saved.listed = customConfigFolders(settings, game, home).contains(folder);

    std::unique_ptr<AtomicFile> script;
    if (saved.error = GameScript::prepareScript(folder, nameLine, &script); !saved.error.ok())
        return saved;

    // XQF makes its folder with mode 0755 when it first starts; so do we, and
    // take it away again when nothing was saved in it.
    const QString configFolder = QFileInfo(configPath).path();
    QStringList madeFolders;
    for (QString f = configFolder; !QFileInfo::exists(f) && f != QFileInfo(f).path();
         f = QFileInfo(f).path())
        madeFolders.prepend(f);
    for (const QString &f : std::as_const(madeFolders)) {
        if (::mkdir(QFile::encodeName(f).constData(), 0755) != 0) {
            saved.error = FileError::fromErrno(Kind::OpenError, f, errno);
            break;
        }
    }
    const auto removeMadeFolders = [&] {
        for (auto it = madeFolders.crbegin(); it != madeFolders.crend(); ++it)
            ::rmdir(QFile::encodeName(*it).constData());
    };
    if (!saved.error.ok()) {
        removeMadeFolders();
        return saved;
    }

    const QByteArray section = sectionName(game);
    const auto edit = [&](const QByteArray &current, std::optional<TextFile::Splice> &change) {
        return setValue(configPath, current, section, kCustomCfgKey, GameScript::kScriptName,
                        change);
    };
    std::unique_ptr<AtomicFile> config;
    if (saved.error = TextFile::update(configPath, {kMaxConfigSize, kLockTimeoutMs}, edit, &config);
        !saved.error.ok()) {
        removeMadeFolders();
        return saved;
    }
    saved.configCreated = config && !config->existed();

    if (saved.error = script->commit(); !saved.error.ok()) {
        if (config)
            saved.notUndone = config->revert();
        if (saved.notUndone.ok()) {
            saved.configCreated = false;
            removeMadeFolders();
        }
    }
    return saved;
}

} // namespace XqfConfig
