// SPDX-License-Identifier: GPL-3.0-or-later
#include "gamesearchpath.h"

#include "ziparchive.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace {

// Quake III's path order (FS_PathCmp): letters compared as capitals, '\' and ':' as '/'.
char quake3Char(char c)
{
    if (c >= 'a' && c <= 'z')
        return char(c - 'a' + 'A');
    return c == '\\' || c == ':' ? '/' : c;
}

QByteArray quake3Key(QByteArray name)
{
    for (char &c : name)
        c = quake3Char(c);
    return name;
}

// Whether a member's name is `key` (a quake3Key) as Quake III compares them.
bool sameQuake3Name(const char *name, const QByteArray &key)
{
    qsizetype i = 0;
    for (; name[i] != '\0'; ++i) {
        if (i == key.size() || quake3Char(name[i]) != key[i])
            return false;
    }
    return i == key.size();
}

// The entry of `folder` called `name`, matched exactly or else ignoring case,
// as a player's files copied from Windows may be named; empty if none.
QString entryIn(const QString &folder, const QString &name)
{
    const QString exact = folder + QLatin1Char('/') + name;
    if (QFileInfo::exists(exact))
        return exact;
    const QStringList all = QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    for (const QString &entry : all) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return folder + QLatin1Char('/') + entry;
    }
    return {};
}

} // namespace

struct GameSearchPath::Place
{
    enum Kind { Folder, Pak, Pk3 };
    Kind kind;
    QString path;
    Qt::CaseSensitivity pakNames = Qt::CaseSensitive;
    bool chosen = false; // an archive the player chose: its own failure is the answer

    bool loaded = false;
    GameDataError loadError;
    std::shared_ptr<ByteSource> pak;
    QList<PackFile::Entry> entries;
    std::unique_ptr<ZipArchive> zip;

    void load()
    {
        if (loaded)
            return;
        loaded = true;
        if (kind == Pak) {
            auto file = FileSource::open(path);
            if (!file.ok()) {
                loadError = file.error;
                return;
            }
            pak = file.value;
            auto directory = PackFile::readDirectory(*pak);
            if (!directory.ok()) {
                loadError = directory.error.in(path);
                return;
            }
            entries = std::move(directory.value);
        } else if (kind == Pk3) {
            auto archive = ZipArchive::open(path);
            if (!archive.ok()) {
                loadError = archive.error.in(path);
                return;
            }
            zip = std::move(archive.value);
        }
    }
};

GameSearchPath GameSearchPath::forFolder(const Rules &rules, const QString &folder)
{
    GameSearchPath path;
    const QFileInfo given(folder);
    if (!given.isDir())
        return path;
    const QString start = given.canonicalFilePath();
    const QString parent = QFileInfo(start).path();
    QStringList folders{start};
    const QString name = QFileInfo(start).fileName();
    qsizetype from = 0;
    for (qsizetype i = 0; i < rules.baseFolders.size(); ++i) {
        if (rules.baseFolders[i].compare(name, Qt::CaseInsensitive) == 0)
            from = i + 1;
    }
    for (qsizetype i = from; i < rules.baseFolders.size(); ++i) {
        const QString base = entryIn(parent, rules.baseFolders[i]);
        if (!base.isEmpty() && QFileInfo(base).isDir()) {
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
            QStringList pk3s;
            for (const QString &entry : QDir(dir).entryList(QDir::Files)) {
                if (entry.endsWith(QLatin1String(".pk3"), Qt::CaseInsensitive))
                    pk3s.append(entry);
            }
            std::sort(pk3s.begin(), pk3s.end(), [](const QString &a, const QString &b) {
                return quake3Key(QFile::encodeName(a)) < quake3Key(QFile::encodeName(b));
            });
            // Quake III takes at most 1024 of them.
            pk3s = pk3s.mid(0, 1024);
            for (const QString &entry : pk3s)
                addArchive(Place::Pk3, dir + QLatin1Char('/') + entry);
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

GameDataResult<GameSearchPath::Located> GameSearchPath::find(const QByteArray &name, qint64 cap)
{
    const QByteArray key = quake3Key(name);
    for (const auto &place : m_places) {
        place->load();
        switch (place->kind) {
        case Place::Folder: {
            QString file = place->path;
            for (const QByteArray &part : name.split('/')) {
                file = entryIn(file, QString::fromLatin1(part));
                if (file.isEmpty())
                    break;
            }
            if (file.isEmpty() || !QFileInfo(file).isFile())
                break;
            auto bytes = FileSource::open(file);
            if (!bytes.ok())
                return bytes.error;
            return Located{file, bytes.value};
        }
        case Place::Pak: {
            if (place->loadError.kind != GameDataError::None)
                return place->loadError;
            const qsizetype index = PackFile::find(place->entries, name, place->pakNames);
            if (index < 0)
                break;
            const PackFile::Entry &entry = place->entries[index];
            const QString where =
                place->path + QStringLiteral(": ") + QString::fromLatin1(entry.name);
            auto member = place->pak->slice(entry.offset, entry.size);
            if (!member.ok())
                return GameDataError{GameDataError::Damaged,
                                     QStringLiteral("%1 bytes at %2 run past the end of the "
                                                    "archive (%3 bytes)")
                                         .arg(entry.size)
                                         .arg(entry.offset)
                                         .arg(place->pak->size())}
                    .in(where);
            return Located{where, member.value};
        }
        case Place::Pk3: {
            if (place->loadError.kind != GameDataError::None) {
                if (place->chosen)
                    return place->loadError;
                break;
            }
            // Quake III's lookup meets the last of equal names in an archive first.
            qsizetype index = place->zip->count() - 1;
            while (index >= 0 && !sameQuake3Name(place->zip->name(index), key))
                --index;
            if (index < 0)
                break;
            const QString where =
                place->path + QStringLiteral(": ") + QString::fromLatin1(place->zip->name(index));
            auto bytes = place->zip->read(index, cap);
            if (!bytes.ok())
                return bytes.error.in(where);
            return Located{where, BufferSource::create(bytes.value)};
        }
        }
    }
    return GameDataError{GameDataError::NotFound,
                         QStringLiteral("No %1 in %2").arg(QString::fromLatin1(name), searched())};
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
