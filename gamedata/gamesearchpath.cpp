// SPDX-License-Identifier: GPL-3.0-or-later
#include "gamesearchpath.h"

#include "membernames.h"
#include "packfile.h"
#include "ziparchive.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <algorithm>

namespace {

// Quake III's path order (FS_PathCmp): letters compared as capitals, '\' and ':' as '/'.
QByteArray quake3Key(QByteArray name)
{
    for (char &c : name) {
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
        else if (c == '\\' || c == ':')
            c = '/';
    }
    return name;
}

// The entry of `folder` called `name`, matched exactly or else ignoring case,
// as a player's files copied from Windows may be named; empty if none.
QString entryIn(const QString &folder, const QString &name)
{
    const QString exact = folder + QLatin1Char('/') + name;
    if (QFileInfo::exists(exact) || QFileInfo(exact).isSymLink())
        return exact;
    const QStringList all =
        QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &entry : all) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return folder + QLatin1Char('/') + entry;
    }
    return {};
}

// Which of a folder's entries come after `name` among the engine's bases.
qsizetype firstBaseAfter(const QStringList &bases, const QString &name)
{
    qsizetype from = 0;
    for (qsizetype i = 0; i < bases.size(); ++i) {
        if (bases[i].compare(name, Qt::CaseInsensitive) == 0)
            from = i + 1;
    }
    return from;
}

} // namespace

struct GameSearchPath::Place
{
    enum Kind { Folder, Pak, Pk3 };
    Kind kind;
    QString path;
    Qt::CaseSensitivity pakNames = Qt::CaseSensitive;
    bool chosen = false; // an archive the player chose: its own failure is the answer

    // Why the archive cannot be read; its directory is not read again.
    GameDataError loadError;
    // The names its directory was read for, and the entries of those it holds.
    QList<QByteArray> scannedFor;
    QHash<QByteArray, PackFile::Entry> paks;
    QHash<QByteArray, ZipArchive::Entry> zips;

    // Reads the directory for those of `names` not yet looked for, keeping
    // only their entries; the file is closed again.
    void scan(const QList<QByteArray> &names)
    {
        if (!loadError.ok())
            return;
        QList<QByteArray> wanted;
        for (const QByteArray &name : names) {
            if (!scannedFor.contains(name) && !wanted.contains(name))
                wanted.append(name);
        }
        if (wanted.isEmpty())
            return;
        auto file = FileSource::open(path);
        if (!file.ok()) {
            loadError = file.error;
            return;
        }
        if (kind == Pak) {
            const MemberNames members(wanted, pakNames == Qt::CaseSensitive
                                                  ? MemberNames::Compare::Exact
                                                  : MemberNames::Compare::IgnoreCase);
            auto found = PackFile::scanDirectory(*file.value, members);
            if (!found.ok()) {
                loadError = found.error.inArchive(path);
                return;
            }
            for (qsizetype i = 0; i < wanted.size(); ++i) {
                if (found.value[i])
                    paks.insert(wanted[i], *found.value[i]);
            }
        } else {
            const MemberNames members(wanted, MemberNames::Compare::Quake3);
            auto directory = ZipArchive::scanDirectory(*file.value, members);
            if (!directory.ok()) {
                loadError = directory.error.inArchive(path);
                return;
            }
            for (qsizetype i = 0; i < wanted.size(); ++i) {
                if (directory.value.found[i])
                    zips.insert(wanted[i], *directory.value.found[i]);
            }
        }
        scannedFor.append(wanted);
    }
};

GameSearchPath GameSearchPath::forFolder(const Rules &rules, const QString &folder)
{
    return forFolders(rules, {folder});
}

GameSearchPath GameSearchPath::forFolders(const Rules &rules, const QStringList &given)
{
    GameSearchPath path;
    QStringList folders;
    QList<qsizetype> basesFrom;
    for (const QString &folder : given) {
        const QFileInfo info(folder);
        if (folder.isEmpty() || !info.isDir())
            continue;
        const QString canonical = info.canonicalFilePath();
        if (folders.contains(canonical))
            continue;
        folders.append(canonical);
        basesFrom.append(firstBaseAfter(rules.baseFolders, QFileInfo(canonical).fileName()));
    }
    const qsizetype givenCount = folders.size();
    for (qsizetype b = 0; b < rules.baseFolders.size(); ++b) {
        for (qsizetype f = 0; f < givenCount; ++f) {
            if (b < basesFrom[f])
                continue;
            const QString base = entryIn(QFileInfo(folders[f]).path(), rules.baseFolders[b]);
            if (base.isEmpty() || !QFileInfo(base).isDir())
                continue;
            const QString canonical = QFileInfo(base).canonicalFilePath();
            if (!folders.contains(canonical))
                folders.append(canonical);
        }
    }

    for (const QString &dir : folders) {
        QList<std::shared_ptr<Place>> archives;
        auto addArchive = [&](Place::Kind kind, const QString &file) {
            auto place = std::make_shared<Place>();
            place->kind = kind;
            place->path = file;
            place->pakNames = rules.pakNames;
            // Each archive added goes on top of those before it.
            archives.prepend(place);
        };
        if (rules.archives == Archives::SortedPk3) {
            // Links, pipes and folders named *.pk3 too: each is passed over with
            // its reason when the search reaches it.
            QStringList pk3s;
            const auto entries =
                QDir(dir).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
            for (const QString &entry : entries) {
                if (entry.endsWith(QLatin1String(".pk3"), Qt::CaseInsensitive))
                    pk3s.append(entry);
            }
            QList<QPair<QByteArray, QString>> keyed;
            keyed.reserve(pk3s.size());
            for (const QString &entry : pk3s)
                keyed.append({quake3Key(QFile::encodeName(entry)), entry});
            std::sort(keyed.begin(), keyed.end(),
                      [](const auto &a, const auto &b) { return a.first < b.first; });
            // Quake III takes at most 1024 of them.
            keyed = keyed.mid(0, 1024);
            for (const auto &entry : keyed)
                addArchive(Place::Pk3, dir + QLatin1Char('/') + entry.second);
        } else {
            // Quake itself sets no limit; a folder never holds ten thousand paks.
            const int last = rules.archives == Archives::Paks0To9 ? 9 : 9999;
            for (int i = 0; i <= last; ++i) {
                const QString pak = entryIn(dir, QStringLiteral("pak%1.pak").arg(i));
                if (!pak.isEmpty())
                    addArchive(Place::Pak, pak);
                else if (rules.archives == Archives::PaksUntilGap)
                    break;
            }
        }
        auto loose = std::make_shared<Place>();
        loose->kind = Place::Folder;
        loose->path = dir;
        if (rules.folderAboveArchives)
            path.m_places.append(loose);
        path.m_places.append(archives);
        if (!rules.folderAboveArchives)
            path.m_places.append(loose);
    }
    path.m_folders = folders;
    path.m_labels = folders;
    return path;
}

GameSearchPath GameSearchPath::forArchive(const QString &file, Qt::CaseSensitivity pakNames)
{
    GameSearchPath path;
    auto place = std::make_shared<Place>();
    const bool zip = file.endsWith(QLatin1String(".pk3"), Qt::CaseInsensitive) ||
                     file.endsWith(QLatin1String(".zip"), Qt::CaseInsensitive);
    place->kind = zip ? Place::Pk3 : Place::Pak;
    place->path = file;
    place->pakNames = pakNames;
    place->chosen = true;
    path.m_places.append(place);
    path.m_labels.append(file);
    return path;
}

void GameSearchPath::append(const GameSearchPath &other)
{
    for (const auto &place : other.m_places) {
        const bool known = std::any_of(m_places.cbegin(), m_places.cend(), [&](const auto &p) {
            return p->kind == place->kind && p->path == place->path;
        });
        if (!known)
            m_places.append(place);
    }
    for (const QString &folder : other.m_folders) {
        if (!m_folders.contains(folder))
            m_folders.append(folder);
    }
    for (const QString &label : other.m_labels) {
        if (!m_labels.contains(label))
            m_labels.append(label);
    }
}

void GameSearchPath::lookFor(const QList<QByteArray> &names)
{
    for (const QByteArray &name : names) {
        if (!m_lookFor.contains(name))
            m_lookFor.append(name);
    }
}

GameDataResult<GameSearchPath::Located> GameSearchPath::find(const QByteArray &name, qint64 cap)
{
    QList<QByteArray> names{name};
    for (const QByteArray &other : std::as_const(m_lookFor)) {
        if (other != name)
            names.append(other);
    }
    auto passOver = [&](const GameDataError &why) {
        const bool known =
            std::any_of(m_passedOver.cbegin(), m_passedOver.cend(),
                        [&](const GameDataError &e) { return e.detail == why.detail; });
        if (!known)
            m_passedOver.append(why);
    };
    for (const auto &place : std::as_const(m_places)) {
        switch (place->kind) {
        case Place::Folder: {
            QString file = place->path;
            for (const QByteArray &part : name.split('/')) {
                file = entryIn(file, QString::fromLatin1(part));
                if (file.isEmpty())
                    break;
            }
            if (file.isEmpty())
                break;
            auto bytes = FileSource::open(file);
            if (bytes.ok())
                return Located{file, bytes.value};
            if (bytes.error.kind != GameDataError::NotFound)
                passOver(bytes.error);
            break;
        }
        case Place::Pak: {
            place->scan(names);
            if (!place->loadError.ok())
                return place->loadError;
            const auto entry = place->paks.constFind(name);
            if (entry == place->paks.cend())
                break;
            const QString where =
                place->path + QStringLiteral(": ") + QString::fromLatin1(entry->name);
            auto file = FileSource::open(place->path);
            if (!file.ok())
                return file.error;
            auto member = file.value->slice(entry->offset, entry->size);
            if (!member.ok())
                return GameDataError{GameDataError::Damaged,
                                     QStringLiteral("%1 bytes at %2 run past the end of the "
                                                    "archive (%3 bytes)")
                                         .arg(entry->size)
                                         .arg(entry->offset)
                                         .arg(file.value->size())}
                    .in(where);
            return Located{where, member.value};
        }
        case Place::Pk3: {
            place->scan(names);
            if (!place->loadError.ok()) {
                if (place->chosen)
                    return place->loadError;
                passOver(place->loadError);
                break;
            }
            const auto entry = place->zips.constFind(name);
            if (entry == place->zips.cend())
                break;
            const QString where =
                place->path + QStringLiteral(": ") + QString::fromLatin1(entry->name);
            auto file = FileSource::open(place->path);
            if (!file.ok())
                return file.error.in(where);
            auto bytes = ZipArchive::read(*file.value, *entry, cap);
            if (!bytes.ok())
                return bytes.error.in(where);
            return Located{where, BufferSource::create(bytes.value)};
        }
        }
    }
    return GameDataError{GameDataError::NotFound, missing(name)};
}

QString GameSearchPath::missing(const QByteArray &name) const
{
    if (m_passedOver.isEmpty())
        return QStringLiteral("No %1 in %2").arg(QString::fromLatin1(name), searched());
    QStringList reasons;
    for (const GameDataError &error : m_passedOver)
        reasons.append(error.detail);
    return QStringLiteral("%1; no other place in %2 holds %3")
        .arg(reasons.join(QStringLiteral("; ")), searched(), QString::fromLatin1(name));
}

QString GameSearchPath::searched() const
{
    int archives = 0;
    for (const auto &place : m_places) {
        if (place->kind != Place::Folder)
            ++archives;
    }
    QString text = m_labels.join(QStringLiteral(" or "));
    if (m_labels.isEmpty())
        return QStringLiteral("no folder");
    if (m_folders.isEmpty())
        return text;
    if (archives == 0)
        return text + QStringLiteral(" (no archive there)");
    return text + (archives == 1 ? QStringLiteral(" (1 archive)")
                                 : QStringLiteral(" (%1 archives)").arg(archives));
}
